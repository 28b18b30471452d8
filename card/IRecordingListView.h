#pragma once
// The recording list control as the library sees it: HTMLListRecordingView
// puts it over CHTMLListCtrl; tests use a recording fake. UI thread only.
#include "listctrl/HTMLLIST_ITEM.h"

#include <QString>

class IRecordingListView {
public:
    static constexpr int kRecordingRowKind = 3;
    static constexpr int kRecordingRowHeight = 20;

    virtual ~IRecordingListView() = default;
    // Removes every row, scroll position 0; the selection is left to the caller.
    virtual void DeleteAllRows() = 0;
    // Appends a row; returns its number. The library passes kind 3, height 20, userData 0.
    virtual int InsertRow(int kind, const QString& text, const QString& path, const QString& typeText,
                          int userData, int height, const HTMLLIST_TIME& time) = 0;
    virtual int GetRowCount() const = 0;
    // Selection = row, scroll it into view, repaint.
    virtual void SelectRow(int row) = 0;
    // Selection only (-1 = none), no scrolling.
    virtual void SetSelection(int row) = 0;
    virtual void SetScrollPos(int pos) = 0;
    // The selected row (-1 = none) and the vertical scroll position.
    virtual int GetSelection() const = 0;
    virtual int GetScrollPos() const = 0;
    virtual void Repaint() = 0;
};
