#include "card/HTMLListRecordingView.h"

#include "listctrl/CHTMLListCtrl.h"

void HTMLListRecordingView::DeleteAllRows() { m_list.DeleteAllRows(); }

int HTMLListRecordingView::InsertRow(int kind, const QString& text, const QString& path, const QString& typeText,
                                     int userData, int height, const HTMLLIST_TIME& time)
{
    return m_list.InsertRow(kind, text, path, typeText, userData, height, time);
}

int HTMLListRecordingView::GetRowCount() const { return m_list.GetRowCount(); }
void HTMLListRecordingView::SelectRow(int row) { m_list.SelectRow(row); }
void HTMLListRecordingView::SetSelection(int row) { m_list.SetSelection(row); }
void HTMLListRecordingView::SetScrollPos(int pos) { m_list.SetScrollPos(pos); }
int HTMLListRecordingView::GetSelection() const { return m_list.GetSelection(); }
int HTMLListRecordingView::GetScrollPos() const { return m_list.GetScrollPos(); }
void HTMLListRecordingView::Repaint() { m_list.repaint(); }
