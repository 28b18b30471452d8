#include "card/RecordingLibrary.h"

#include "base/Trace.h"
#include "card/DriveProvider.h"
#include "card/IRecordingListView.h"

#include <QFile>
#include "base/LogCategories.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>


namespace {

constexpr qint64 kMinimumRecordingSize = 1025;

struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

struct FdCloser {
    int fd;
    ~FdCloser()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

DirHandle openFolder(const QString& folder)
{
    return DirHandle(::opendir(QFile::encodeName(folder).constData()));
}

// The entry's kind from the listing when it says, else from stat (following a
// link; a loop or dangling link is "neither").
enum class EntryKind { Directory, Other, Unknown };
EntryKind entryKind(DIR* dir, const dirent* e)
{
    if (e->d_type == DT_DIR)
        return EntryKind::Directory;
    if (e->d_type != DT_LNK && e->d_type != DT_UNKNOWN)
        return EntryKind::Other;
    struct stat st;
    if (::fstatat(dirfd(dir), e->d_name, &st, 0) != 0)
        return EntryKind::Unknown;
    return S_ISDIR(st.st_mode) ? EntryKind::Directory : EntryKind::Other;
}

QString printableBytes(const char* bytes)
{
    QString out;
    for (const char* p = bytes; *p; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c >= 0x20 && c < 0x7f)
            out += QLatin1Char(char(c));
        else
            out += QStringLiteral("\\x%1").arg(c, 2, 16, QLatin1Char('0'));
    }
    return out;
}

// The file name as text, or nullopt when the text would not lead back to the
// same file (the name is not valid UTF-8): such a file could be listed but
// never opened again by its listed path.
std::optional<QString> decodeName(const char* bytes, const QString& folder)
{
    const QByteArray raw(bytes);
    QString name = QFile::decodeName(raw);
    if (QFile::encodeName(name) == raw)
        return name;
    TraceLine("ScanCard: skipped \"%s%s\", name is not UTF-8 \r\n", folder.toUtf8().constData(),
              printableBytes(bytes).toUtf8().constData());
    return std::nullopt;
}

bool endsWithMp4(const char* name)
{
    const size_t n = std::strlen(name);
    return n >= 4 && name[n - 4] == '.' && (name[n - 3] | 0x20) == 'm' && (name[n - 2] | 0x20) == 'p'
        && name[n - 1] == '4';
}

CalendarTime localCalendarTime(std::int64_t seconds, std::uint32_t nanoseconds)
{
    CalendarTime t;
    const time_t s = time_t(seconds);
    struct tm tm;
    if (!::localtime_r(&s, &tm))
        return t;
    t.year = std::uint16_t(tm.tm_year + 1900);
    t.month = std::uint16_t(tm.tm_mon + 1);
    t.dayOfWeek = std::uint16_t(tm.tm_wday);
    t.day = std::uint16_t(tm.tm_mday);
    t.hour = std::uint16_t(tm.tm_hour);
    t.minute = std::uint16_t(tm.tm_min);
    t.second = std::uint16_t(std::min(tm.tm_sec, 59));
    t.milliseconds = std::uint16_t(nanoseconds / 1000000u);
    return t;
}

// Names compare by UTF-16 code unit, case-sensitively, whatever the locale.
bool nameLess(const QString& a, const QString& b)
{
    return QStringView(a).compare(QStringView(b), Qt::CaseSensitive) < 0;
}

} // namespace

RecordingLibrary::RecordingLibrary(QObject* parent) : QObject(parent) {}
RecordingLibrary::~RecordingLibrary() = default;

void RecordingLibrary::FindCard()
{
    if (!m_drives)
        return;
    QString fallback;
    for (const DriveInfo& drive : m_drives->Drives()) {
        if (!drive.removable || drive.floppy || drive.root.isEmpty())
            continue;
        if (IsCardRoot(drive.root)) {
            m_cardRoot = drive.root;
            ScanCard(drive.root);
            return;
        }
        fallback = drive.root;
    }
    // A removable drive without the folders still becomes the card in use, so
    // that a card inserted later is not taken until that drive goes away.
    if (!fallback.isEmpty())
        m_cardRoot = fallback;
}

bool RecordingLibrary::IsCardRoot(const QString& root)
{
    // The trailing "/" makes stat fail for anything but a folder.
    struct stat st;
    if (::stat(QFile::encodeName(root + QLatin1String("INFINITE/")).constData(), &st) != 0)
        return false;
    return ::stat(QFile::encodeName(root + QLatin1String("EVENT/")).constData(), &st) == 0;
}

void RecordingLibrary::ScanCard(const QString& root)
{
    if (m_list)
        m_list->DeleteAllRows();
    ClearLibrary();
    // The lists start empty, so appending in discovery order and sorting once
    // with a stable sort gives exactly the order of inserting each entry after
    // its equal names, without moving entries around for every file.
    m_appendOnly = true;
    for (int k = 0; k < kCategoryFolderCount; ++k)
        ScanCategoryFolder(k, root + QLatin1String(kRecordingCategories[k + 1].folder) + QLatin1Char('/'));
    m_appendOnly = false;
    for (auto& list : m_lists)
        std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) { return nameLess(a->name, b->name); });
    m_shownCategory = CategoryAll;
    emit categoryShown(CategoryAll);
    FillRecordingList(CategoryAll);
    if (m_list && !m_lists[CategoryAll].empty() && m_list->GetRowCount() > 0)
        m_list->SelectRow(0);
}

void RecordingLibrary::ScanCategoryFolder(int categoryIndex, const QString& folder)
{
    if (categoryIndex < 0 || categoryIndex >= kCategoryFolderCount)
        return;
    DirHandle dir = openFolder(folder);
    if (!dir)
        return;
    while (const dirent* e = ::readdir(dir.get())) {
        if (e->d_name[0] == '.')
            continue;
        if (entryKind(dir.get(), e) != EntryKind::Directory)
            continue;
        const auto name = decodeName(e->d_name, folder);
        if (!name)
            continue;
        // Only one level down: a link back up the tree cannot lead the walk any further.
        ScanRecordingFolder(categoryIndex, folder + *name + QLatin1Char('/'));
    }
}

void RecordingLibrary::ScanRecordingFolder(int categoryIndex, const QString& folder)
{
    if (categoryIndex < 0 || categoryIndex >= kCategoryFolderCount)
        return;
    const int category = categoryIndex + 1;
    const RecordingCategoryInfo& info = kRecordingCategories[category];
    const QString typeText = QLatin1String(info.typeText);
    const QLatin1String prefix(info.prefix);
    DirHandle dir = openFolder(folder);
    if (!dir)
        return;
    while (const dirent* e = ::readdir(dir.get())) {
        if (e->d_name[0] == '.' || !endsWithMp4(e->d_name))
            continue;
        if (entryKind(dir.get(), e) == EntryKind::Directory)
            continue;
        const auto name = decodeName(e->d_name, folder);
        if (!name)
            continue;
        // The camera marks its own recordings at M1; in its folder, a file with
        // the folder's prefix but without the marker is one of its work files.
        const bool marked = name->size() >= 7 && name->at(name->size() - 7) == QLatin1Char(info.marker);
        if (!marked && name->startsWith(prefix, Qt::CaseSensitive))
            continue;
        const QString path = folder + *name;
        // Opened relative to the folder: no walk down the whole path for every file.
        const auto facts = readFactsAt(dirfd(dir.get()), e->d_name);
        if (!facts || facts->size < kMinimumRecordingSize)
            continue;
        // One read of the file serves both entries (its list and ALL).
        insertEntry(category, std::make_unique<BBOX_ITEM>(BBOX_ITEM{*name, path, typeText, facts->time, 0}));
        insertEntry(CategoryAll, std::make_unique<BBOX_ITEM>(BBOX_ITEM{*name, path, typeText, facts->time, 0}));
    }
}

std::optional<RecordingLibrary::FileFacts> RecordingLibrary::ReadFileFacts(const QString& path)
{
    return readFactsAt(AT_FDCWD, QFile::encodeName(path).constData());
}

std::optional<RecordingLibrary::FileFacts> RecordingLibrary::readFactsAt(int folderFd, const char* name)
{
    // Non-blocking, so that a FIFO on a broken card cannot stall the scan.
    const int fd = ::openat(folderFd, name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    FdCloser closer{fd};
    FileFacts facts;
    struct statx sx;
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_TYPE | STATX_SIZE | STATX_MTIME | STATX_BTIME, &sx) == 0) {
        if (!S_ISREG(sx.stx_mode))
            return std::nullopt;
        facts.size = qint64(sx.stx_size);
        const statx_timestamp ts = (sx.stx_mask & STATX_BTIME) ? sx.stx_btime : sx.stx_mtime;
        if ((sx.stx_mask & (STATX_BTIME | STATX_MTIME)) != 0)
            facts.time = localCalendarTime(ts.tv_sec, ts.tv_nsec);
        return facts;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return facts; // opened, but nothing known: time zero, size 0
    if (!S_ISREG(st.st_mode))
        return std::nullopt;
    facts.size = qint64(st.st_size);
    facts.time = localCalendarTime(st.st_mtim.tv_sec, std::uint32_t(st.st_mtim.tv_nsec));
    return facts;
}

bool RecordingLibrary::AddRecording(int typeCategory, int listIndex, const QString& path, const QString& name)
{
    if (!validList(listIndex))
        return false;
    const auto facts = ReadFileFacts(path);
    if (!facts || facts->size < kMinimumRecordingSize)
        return false;
    insertEntry(listIndex,
                std::make_unique<BBOX_ITEM>(BBOX_ITEM{name, path, CategoryTypeText(typeCategory), facts->time, 0}));
    return true;
}

void RecordingLibrary::insertEntry(int listIndex, std::unique_ptr<BBOX_ITEM> entry)
{
    auto& list = m_lists[listIndex];
    if (m_appendOnly) {
        list.push_back(std::move(entry));
    } else {
        // After every entry of the same name: equal names keep the order they came in.
        auto at = std::upper_bound(list.begin(), list.end(), entry->name,
                                   [](const QString& name, const std::unique_ptr<BBOX_ITEM>& e) {
                                       return nameLess(name, e->name);
                                   });
        list.insert(at, std::move(entry));
    }
    m_views[listIndex].count = int(list.size());
}

int RecordingLibrary::ClassifyRecordingName(const QString& name)
{
    const qsizetype n = name.size();
    if (n != 27 && n != 25 && n != 23)
        return 0;
    auto digits = [&](int from, int to) {
        for (int i = from; i <= to; ++i) {
            const char16_t c = name.at(i).unicode();
            if (c < u'0' || c > u'9')
                return false;
        }
        return true;
    };
    if (!digits(0, 7) || name.at(8) != QLatin1Char('_') || !digits(9, 14) || name.at(15) != QLatin1Char('_'))
        return 0;
    const QChar m1 = name.at(n - 7);
    const QChar m2 = name.at(n - 5);
    auto either = [&](char c) { return m1 == QLatin1Char(c) || m2 == QLatin1Char(c); };
    if (either('I'))
        return CategoryNormal;
    if (either('E') || either('B'))
        return CategoryEvent;
    if (either('P'))
        return CategoryMotion;
    return 0;
}

void RecordingLibrary::FillRecordingList(int category)
{
    if (!m_list || !validList(category))
        return;
    for (const auto& e : m_lists[category])
        m_list->InsertRow(IRecordingListView::kRecordingRowKind, e->name, e->path, e->type, 0,
                          IRecordingListView::kRecordingRowHeight, e->time);
}

void RecordingLibrary::ClearLibrary()
{
    for (int l = 0; l < kCategoryCount; ++l) {
        m_lists[l].clear();
        // The count always tells the list's real size; callers index by it.
        m_views[l].count = 0;
    }
}

void RecordingLibrary::ResetLibrary()
{
    if (m_list) {
        m_list->DeleteAllRows();
        m_list->SetScrollPos(0);
        m_list->Repaint();
        m_list->SetSelection(-1);
    }
    ClearLibrary();
    m_views.fill(CategoryView{});
    m_shownCategory = -1;
    m_playingCategory = -1;
    emit categoryShown(-1);
    emit libraryReset();
}

bool RecordingLibrary::RemoveRecording(int listIndex, const QString& path)
{
    if (!validList(listIndex))
        return false;
    auto& list = m_lists[listIndex];
    auto it = std::find_if(list.begin(), list.end(),
                           [&](const auto& e) { return e->path.compare(path, Qt::CaseInsensitive) == 0; });
    if (it == list.end())
        return false;
    list.erase(it);
    m_views[listIndex].count = int(list.size());
    return true;
}

BBOX_ITEM* RecordingLibrary::GetRecording(int listIndex, int position) const
{
    if (!validList(listIndex) || position < 0 || size_t(position) >= m_lists[listIndex].size())
        return nullptr;
    return m_lists[listIndex][size_t(position)].get();
}

int RecordingLibrary::RecordingCount(int listIndex) const
{
    return validList(listIndex) ? int(m_lists[listIndex].size()) : 0;
}
