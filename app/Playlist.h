#pragma once
// What plays next, beside the player: over the library's category lists it
// keeps which category plays and which of its rows is current, answers
// previous / next / the automatic advance at the end of a recording, keeps the
// played marks and the recordings that failed, and shows the category the
// recording list holds (each category's selected row and scroll position kept
// across switches). It never plays anything itself: each step returns the
// path the playback controller is to play. No widgets; UI thread only.
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

class IRecordingListView;
class RecordingLibrary;

class Playlist : public QObject {
    Q_OBJECT
public:
    // The library belongs to the caller and outlives the playlist.
    explicit Playlist(RecordingLibrary& library, QObject* parent = nullptr);

    RecordingLibrary& library() const { return m_library; }
    int playingCategory() const;
    int shownCategory() const;

    // The play command: the list's selected row of the shown category becomes
    // current (the shown category plays from now on); nothing without one.
    std::optional<QString> PickSelected();
    // A double-clicked row of the shown category: current, marks cleared.
    std::optional<QString> Activate(int row);
    // The row before / after the current one in the playing category; the ends do not wrap.
    std::optional<QString> Previous();
    std::optional<QString> Next();

    // The end of a recording: the next entry of the playing category without
    // the played mark, passing by failed ones; from the start with every mark
    // cleared when none is left. A category of one entry replays it.
    struct Advance {
        enum Kind { Nothing, Play, Stop } kind = Nothing;
        QString path;
    };
    Advance NextUnplayed();

    // A recording started: entries of the playing category with this path are marked played.
    void MarkPlayed(const QString& path);

    // A recording that would not open or run, or broke while playing, is
    // failed until it plays: the automatic advance passes it by, a recording
    // the user picks is always tried.
    bool IsFailed(const QString& path) const;
    void SetFailed(const QString& path, bool failed);

    // The recording list shows category c (its stored row and scroll position).
    void SelectCategory(int category);
    // Files chosen by hand go into ALL and their own category. keepShown: the
    // list keeps its category (a recording plays); else ALL is shown with row 0.
    void AddFiles(const QStringList& paths, bool keepShown);
    // Files named when the program starts or recovered: added as above, then
    // the first of them is activated in the ALL list (ALL is ordered by name,
    // so it need not be the first row).
    std::optional<QString> AddAndActivate(const QStringList& paths, bool keepShown);

signals:
    // The category tabs: all five show category (−1: none), or only tab
    // category is pressed and the others keep their look.
    void categoryTabsShow(int category);
    void categoryTabPressed(int category);

private slots:
    void onLibraryReset();

private:
    IRecordingListView* list() const;
    std::optional<QString> pathAt(int category, int row) const;
    void clearMarks(int category);
    bool entryFailed(int category, int row) const;
    // Makes row current in category and selects it in the list when it is shown.
    void makeCurrent(int category, int row);

    RecordingLibrary& m_library;
    // Case-folded paths.
    QSet<QString> m_failed;
};
