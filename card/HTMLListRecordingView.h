#pragma once
// The recording list control as the library fills it (FillRecordingList,
// ScanCard, ResetLibrary).
#include "card/IRecordingListView.h"

class CHTMLListCtrl;

class HTMLListRecordingView : public IRecordingListView {
public:
    explicit HTMLListRecordingView(CHTMLListCtrl& list) : m_list(list) {}

    void DeleteAllRows() override;
    int InsertRow(int kind, const QString& text, const QString& path, const QString& typeText, int userData,
                  int height, const HTMLLIST_TIME& time) override;
    int GetRowCount() const override;
    void SelectRow(int row) override;
    void SetSelection(int row) override;
    void SetScrollPos(int pos) override;
    int GetSelection() const override;
    int GetScrollPos() const override;
    void Repaint() override;

private:
    CHTMLListCtrl& m_list;
};
