#pragma once
// The recording list at the lower right of the main window: one row per
// recording with a check box, date and time, file name and type. It knows
// nothing of the card; the main window fills it row by row.
#include "base/ControlIds.h"
#include "listctrl/HTMLLIST_ITEM.h"
#include "listctrl/HTMLLIST_NOTIFY.h"

#include <QFont>
#include <QPixmap>
#include <QWidget>

#include <memory>
#include <vector>

class QScrollBar;

class CHTMLListCtrl : public QWidget {
    Q_OBJECT
public:
    static constexpr int kControlId = IdOf(ControlId::RecordingList);
    static constexpr int kCheckBoxWidth = 32;
    static constexpr int kStripeHeight = 20;
    static constexpr int kWheelStep = 20;   // pixels per wheel notch
    static constexpr int kScrollStep = 50;  // pixels per scroll-bar line or page
    // Style bit 0: check-box column. The main window sets style 3; bit 1 has no effect.
    static constexpr int HTMLLIST_STYLE_CHECKBOX = 1;

    explicit CHTMLListCtrl(QWidget* parent = nullptr);
    ~CHTMLListCtrl() override;

    // Places the list in its parent at rect (size included) and shows it.
    bool Create(QWidget* parent, const QRect& rect);

    // Appends a row and returns its number.
    int InsertRow(int kind, const QString& text, const QString& path, const QString& typeText,
                  int userData, int height, const HTMLLIST_TIME& time);
    // Removes every row; scroll position 0. The selection is left as it is.
    void DeleteAllRows();
    // Removes row n and renumbers the rest; false when there is no such row.
    bool DeleteRow(int row);
    void SelectRow(int row);
    void EnsureRowVisible(int row);
    HTMLLIST_ITEM* FindRow(int row);
    const HTMLLIST_ITEM* FindRow(int row) const;
    int GetRowTicked(int row) const;
    void SetRowTicked(int row, int ticked);
    void RecalcRows();

    int GetSelection() const { return m_selection; }
    // Sets the selection without scrolling (-1 for none) and repaints.
    void SetSelection(int row);
    int GetRowCount() const { return m_rowCount; }
    int GetTotalHeight() const { return m_totalHeight; }
    int GetStyle() const { return m_style; }
    void SetStyle(int style);

    // Vertical scroll position in pixels, 0..GetMaxScrollPos().
    int GetScrollPos() const;
    void SetScrollPos(int pos);
    int GetMaxScrollPos() const;
    // Scroll range 0..total height with the client height as page.
    void UpdateScrollRange();

    int clientWidth() const { return m_clientWidth; }
    int clientHeight() const { return m_clientHeight; }
    QScrollBar* verticalScrollBar() const { return m_vbar; }

    // Replaces the check-box strip (128 x 20) and the row strip (383 x 40).
    void SetSkinImages(const QPixmap& checkStrip, const QPixmap& rowStrip);

    // "2012.03.15. 14:25:01"
    static QString FormatRowTime(const HTMLLIST_TIME& t);

signals:
    // Sent synchronously; handlers may change the rows.
    void notify(const HTMLLIST_NOTIFY& nm);

protected:
    virtual void DrawRow(QPainter& dc, const QRect& rc, const HTMLLIST_ITEM& item, bool selected,
                         int row);

    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    bool hasCheckColumn() const { return (m_style & HTMLLIST_STYLE_CHECKBOX) != 0; }
    QRect rowRect(int row) const;
    int rowAt(const QPoint& pt) const;
    bool inCheckBox(int row, const QPoint& pt) const;
    void invalidateRow(int row);
    void sendNotify(int code, int row);
    void onScrollAction(int action);
    void updateClientSize();

    // Owned rows in row order; a row's number is its place here.
    std::vector<std::unique_ptr<HTMLLIST_ITEM>> m_rows;
    int m_rowCount = 0;
    int m_totalHeight = 0;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
    int m_selection = -1;
    int m_style = 0;
    int m_wheelRemainder = 0;
    bool m_barShown = false;
    QRect m_clipBox; // bounding box of the area being painted
    QFont m_font;
    QPixmap m_checkStrip;
    QPixmap m_rowStrip;
    QScrollBar* m_vbar = nullptr;
};
