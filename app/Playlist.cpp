#include "app/Playlist.h"

#include "card/IRecordingListView.h"
#include "card/RecordingLibrary.h"

#include <QFileInfo>

Playlist::Playlist(RecordingLibrary& library, QObject* parent) : QObject(parent), m_library(library)
{
    connect(&m_library, &RecordingLibrary::libraryReset, this, &Playlist::onLibraryReset);
}

int Playlist::playingCategory() const
{
    return m_library.playingCategory();
}

int Playlist::shownCategory() const
{
    return m_library.shownCategory();
}

IRecordingListView* Playlist::list() const
{
    return m_library.ListView();
}

std::optional<QString> Playlist::pathAt(int category, int row) const
{
    // A copy: playing it may reach code that changes the lists.
    if (const BBOX_ITEM* item = m_library.GetRecording(category, row))
        return QString(item->path);
    return std::nullopt;
}

void Playlist::clearMarks(int category)
{
    for (int i = 0; i < m_library.RecordingCount(category); ++i) {
        if (BBOX_ITEM* item = m_library.GetRecording(category, i))
            item->played = 0;
    }
}

void Playlist::makeCurrent(int category, int row)
{
    m_library.SetSelectedRow(category, row);
    if (m_library.shownCategory() == category && list())
        list()->SelectRow(row);
}

std::optional<QString> Playlist::PickSelected()
{
    const int shown = m_library.shownCategory();
    const int row = list() ? list()->GetSelection() : -1;
    if (shown < 0 || m_library.RecordingCount(shown) == 0 || row < 0)
        return std::nullopt;
    const std::optional<QString> path = pathAt(shown, row);
    if (!path)
        return std::nullopt;
    m_library.SetPlayingCategory(shown);
    // Previous, next and the automatic advance count from the row that plays.
    m_library.SetSelectedRow(shown, row);
    return path;
}

std::optional<QString> Playlist::Activate(int row)
{
    const int shown = m_library.shownCategory();
    if (row < 0 || shown < 0)
        return std::nullopt;
    const std::optional<QString> path = pathAt(shown, row);
    if (!path)
        return std::nullopt;
    m_library.SetPlayingCategory(shown);
    m_library.SetSelectedRow(shown, row);
    clearMarks(shown);
    return path;
}

std::optional<QString> Playlist::Previous()
{
    const int p = m_library.playingCategory();
    if (p < 0 || m_library.shownCategory() < 0 || m_library.RecordingCount(p) <= 1)
        return std::nullopt;
    const int i = m_library.view(p).selected;
    if (i <= 0)
        return std::nullopt;
    makeCurrent(p, i - 1);
    // Going back starts the category's round again.
    clearMarks(p);
    return pathAt(p, i - 1);
}

std::optional<QString> Playlist::Next()
{
    const int p = m_library.playingCategory();
    const int n = p >= 0 ? m_library.RecordingCount(p) : 0;
    if (p < 0 || m_library.shownCategory() < 0 || n <= 1)
        return std::nullopt;
    const int i = m_library.view(p).selected;
    if (i >= n - 1)
        return std::nullopt;
    makeCurrent(p, i + 1);
    return pathAt(p, i + 1);
}

Playlist::Advance Playlist::NextUnplayed()
{
    const int p = m_library.playingCategory();
    if (p < 0 || m_library.shownCategory() < 0)
        return {};
    const int n = m_library.RecordingCount(p);
    const int i = m_library.view(p).selected;
    if (n < 2) {
        BBOX_ITEM* item = m_library.GetRecording(p, i);
        if (!item)
            return {Advance::Stop, {}};
        if (IsFailed(item->path))
            return {}; // one message for it was enough
        item->played = 0;
        makeCurrent(p, i);
        return {Advance::Play, item->path};
    }
    for (int j = i + 1; j < n; ++j) {
        const BBOX_ITEM* item = m_library.GetRecording(p, j);
        if (item && !item->played && !IsFailed(item->path)) {
            makeCurrent(p, j);
            return {Advance::Play, item->path};
        }
    }
    // From the start again, passing by the recordings that failed; when every
    // one failed, playback rests.
    int first = 0;
    while (first < n && entryFailed(p, first))
        ++first;
    if (first == n)
        return {};
    clearMarks(p);
    m_library.SetSelectedRow(p, first);
    if (m_library.shownCategory() == p && list()) {
        list()->SetSelection(first);
        list()->SelectRow(first);
        list()->Repaint();
    }
    return {Advance::Play, m_library.GetRecording(p, first)->path};
}

void Playlist::MarkPlayed(const QString& path)
{
    const int playing = m_library.playingCategory();
    for (int i = 0; i < m_library.RecordingCount(playing); ++i) {
        BBOX_ITEM* item = m_library.GetRecording(playing, i);
        if (item && item->path.compare(path, Qt::CaseInsensitive) == 0)
            item->played = 1;
    }
}

bool Playlist::IsFailed(const QString& path) const
{
    return m_failed.contains(path.toCaseFolded());
}

bool Playlist::entryFailed(int category, int row) const
{
    const BBOX_ITEM* item = m_library.GetRecording(category, row);
    return !item || IsFailed(item->path);
}

void Playlist::SetFailed(const QString& path, bool failed)
{
    if (failed)
        m_failed.insert(path.toCaseFolded());
    else
        m_failed.remove(path.toCaseFolded());
}

void Playlist::onLibraryReset()
{
    // Another card, or none: what failed on the last one means nothing now.
    m_failed.clear();
}

void Playlist::SelectCategory(int category)
{
    IRecordingListView* view = list();
    const int old = m_library.shownCategory();
    if (view && old >= 0 && old < kCategoryCount) {
        m_library.SetSelectedRow(old, view->GetSelection());
        m_library.SetScrollPos(old, view->GetScrollPos());
    }
    m_library.SetShownCategory(category);
    emit categoryTabsShow(category);
    if (!view)
        return;
    view->DeleteAllRows();
    view->Repaint();
    if (m_library.RecordingCount(category) == 0)
        return;
    m_library.FillRecordingList(category);
    view->SelectRow(m_library.view(category).selected);
    view->SetScrollPos(m_library.view(category).scrollPos);
    view->Repaint();
}

void Playlist::AddFiles(const QStringList& paths, bool keepShown)
{
    if (paths.isEmpty())
        return;
    for (const QString& path : paths) {
        const QString name = QFileInfo(path).fileName();
        const int c = RecordingLibrary::ClassifyRecordingName(name);
        m_library.AddRecording(c, 0, path, name);
        if (c != 0)
            m_library.AddRecording(c, c, path, name);
    }
    if (!keepShown) {
        m_library.SetShownCategory(0);
        emit categoryTabPressed(0);
    }
    if (m_library.shownCategory() == 0 && list()) {
        list()->DeleteAllRows();
        m_library.FillRecordingList(0);
        if (!keepShown)
            list()->SelectRow(0);
        list()->Repaint();
    }
}

std::optional<QString> Playlist::AddAndActivate(const QStringList& paths, bool keepShown)
{
    if (paths.isEmpty())
        return std::nullopt;
    AddFiles(paths, keepShown);
    if (m_library.shownCategory() != 0)
        SelectCategory(0);
    for (int row = 0; row < m_library.RecordingCount(0); ++row) {
        if (m_library.GetRecording(0, row)->path == paths.first()) {
            if (list())
                list()->SelectRow(row);
            return Activate(row);
        }
    }
    return std::nullopt;
}
