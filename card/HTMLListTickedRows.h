#pragma once
// The recording list control seen as the rows the copy and delete commands
// work on.
#include "card/ITickedRows.h"

class CHTMLListCtrl;

class HTMLListTickedRows : public ITickedRows {
public:
    explicit HTMLListTickedRows(CHTMLListCtrl& list);

    int RowCount() const override;
    bool IsTicked(int row) const override;
    QString RowFileName(int row) const override;
    QString RowPath(int row) const override;
    bool DeleteRow(int row) override;
    void SetRowTicked(int row, bool ticked) override;
    void RepaintList() override;

private:
    CHTMLListCtrl& m_list;
};
