#include "card/HTMLListTickedRows.h"

#include "listctrl/CHTMLListCtrl.h"

HTMLListTickedRows::HTMLListTickedRows(CHTMLListCtrl& list)
    : m_list(list)
{
}

int HTMLListTickedRows::RowCount() const { return m_list.GetRowCount(); }

bool HTMLListTickedRows::IsTicked(int row) const { return m_list.GetRowTicked(row) == 1; }

QString HTMLListTickedRows::RowFileName(int row) const
{
    const HTMLLIST_ITEM* item = m_list.FindRow(row);
    return item ? item->text : QString();
}

QString HTMLListTickedRows::RowPath(int row) const
{
    const HTMLLIST_ITEM* item = m_list.FindRow(row);
    return item ? item->path : QString();
}

bool HTMLListTickedRows::DeleteRow(int row) { return m_list.DeleteRow(row); }

void HTMLListTickedRows::SetRowTicked(int row, bool ticked) { m_list.SetRowTicked(row, ticked ? 1 : 0); }

void HTMLListTickedRows::RepaintList() { m_list.update(); }
