#pragma once
// The recordings of the card in use: five name-ordered lists (ALL and the four
// categories), the view record of each, the category shown and the one
// playing, and the card's root. The main window owns the one instance and
// calls everything on the UI thread.
#include "card/BBOX_ITEM.h"
#include "card/CategoryView.h"
#include "card/RecordingCategory.h"

#include <QObject>
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <vector>

class DriveProvider;
class IRecordingListView;

class RecordingLibrary : public QObject {
    Q_OBJECT
public:
    explicit RecordingLibrary(QObject* parent = nullptr);
    ~RecordingLibrary() override;

    void SetDriveProvider(DriveProvider* provider) { m_drives = provider; }
    void SetListView(IRecordingListView* view) { m_list = view; }
    IRecordingListView* ListView() const { return m_list; }

    // Root of the card in use with its trailing "/", empty while there is none.
    const QString& cardRoot() const { return m_cardRoot; }
    void SetCardRoot(const QString& root) { m_cardRoot = root; }
    // Each list's view record: entry count, selected row, scroll position.
    const CategoryView& view(int category) const { return m_views.at(std::size_t(category)); }
    void SetSelectedRow(int category, int row) { m_views.at(std::size_t(category)).selected = row; }
    void SetScrollPos(int category, int pos) { m_views.at(std::size_t(category)).scrollPos = pos; }
    // The category the recording list shows and the one that plays; -1: none.
    int shownCategory() const { return m_shownCategory; }
    void SetShownCategory(int category) { m_shownCategory = category; }
    int playingCategory() const { return m_playingCategory; }
    void SetPlayingCategory(int category) { m_playingCategory = category; }

    // Picks the card among the removable drives (the first with both category
    // folders, in mount-point order), sets the card root and scans it. Without
    // a card, the last removable drive seen becomes the card root unscanned.
    void FindCard();
    static bool IsCardRoot(const QString& root);
    // Rebuilds the lists from the card and shows ALL.
    void ScanCard(const QString& root);
    // folder: the category folder with a trailing "/".
    void ScanCategoryFolder(int categoryIndex, const QString& folder);
    // folder: one subfolder of a category folder with a trailing "/".
    void ScanRecordingFolder(int categoryIndex, const QString& folder);
    // Adds one entry after any entry of the same name; nothing when the file
    // cannot be opened or holds 1024 bytes or less. Returns whether it was added.
    bool AddRecording(int typeCategory, int listIndex, const QString& path, const QString& name);
    // Category of a file opened by hand: 0, 1, 2 or 4.
    static int ClassifyRecordingName(const QString& name);
    // One row per entry of that list into the list control, in list order.
    void FillRecordingList(int category);
    // Empties the five lists; the view records stay.
    void ClearLibrary();
    // Everything back to "no card": lists, view records, shown and playing category, list rows.
    void ResetLibrary();
    // Removes the first entry whose path equals path ignoring case.
    bool RemoveRecording(int listIndex, const QString& path);
    // The entry at a 0-based position, or nullptr. Entries stay at their address until removed.
    BBOX_ITEM* GetRecording(int listIndex, int position) const;
    int RecordingCount(int listIndex) const;

    // The parts of a file AddRecording needs, or nullopt when it cannot be opened.
    struct FileFacts {
        CalendarTime time;
        qint64 size = 0;
    };
    static std::optional<FileFacts> ReadFileFacts(const QString& path);

signals:
    // ScanCard shows ALL (0); ResetLibrary shows none (-1). The main window
    // presses or releases its category buttons to match.
    void categoryShown(int category);
    // ResetLibrary ran: the main window resets its position controls.
    void libraryReset();

private:
    static std::optional<FileFacts> readFactsAt(int folderFd, const char* name);
    void insertEntry(int listIndex, std::unique_ptr<BBOX_ITEM> entry);
    bool validList(int listIndex) const { return listIndex >= 0 && listIndex < kCategoryCount; }

    std::array<std::vector<std::unique_ptr<BBOX_ITEM>>, kCategoryCount> m_lists;
    QString m_cardRoot;
    std::array<CategoryView, kCategoryCount> m_views{};
    int m_shownCategory = -1;
    int m_playingCategory = -1;
    DriveProvider* m_drives = nullptr;
    IRecordingListView* m_list = nullptr;
    bool m_appendOnly = false; // during ScanCard, sorted once at its end
};
