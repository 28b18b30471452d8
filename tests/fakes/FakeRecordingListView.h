#pragma once
// The recording list control as the library fills it, kept as plain rows.
#include "card/IRecordingListView.h"

#include <QList>
#include <QStringList>

class FakeRecordingListView : public IRecordingListView {
public:
    struct Row {
        int kind;
        QString text, path, typeText;
        int userData, height;
        HTMLLIST_TIME time;
    };
    QList<Row> rows;
    int selection = -1;
    int scrollPos = 0;
    int selectRowCalls = 0;
    int repaints = 0;

    void DeleteAllRows() override
    {
        rows.clear();
        scrollPos = 0;
    }
    int InsertRow(int kind, const QString& text, const QString& path, const QString& typeText, int userData,
                  int height, const HTMLLIST_TIME& time) override
    {
        rows.append(Row{kind, text, path, typeText, userData, height, time});
        return int(rows.size()) - 1;
    }
    int GetRowCount() const override { return int(rows.size()); }
    void SelectRow(int row) override
    {
        selection = row;
        ++selectRowCalls;
    }
    void SetSelection(int row) override { selection = row; }
    void SetScrollPos(int pos) override { scrollPos = pos; }
    int GetSelection() const override { return selection; }
    int GetScrollPos() const override { return scrollPos; }
    void Repaint() override { ++repaints; }

    QStringList paths() const
    {
        QStringList p;
        for (const Row& r : rows)
            p << r.path;
        return p;
    }
};
