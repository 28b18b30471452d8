#pragma once
// Stand-ins for the recording list, the message boxes and the file dialogs.
#include "card/IFileDialogs.h"
#include "card/IPrompt.h"
#include "card/ITickedRows.h"

#include <QStringList>
#include <vector>

struct FakeRow {
    QString name;
    QString path;
    bool ticked = false;
};

class FakeRows : public ITickedRows {
public:
    std::vector<FakeRow> rows;
    int repaints = 0;

    int RowCount() const override { return int(rows.size()); }
    bool IsTicked(int row) const override { return rows.at(row).ticked; }
    QString RowFileName(int row) const override { return rows.at(row).name; }
    QString RowPath(int row) const override { return rows.at(row).path; }
    bool DeleteRow(int row) override
    {
        if (row < 0 || row >= RowCount())
            return false;
        rows.erase(rows.begin() + row);
        return true;
    }
    void SetRowTicked(int row, bool ticked) override { rows.at(row).ticked = ticked; }
    void RepaintList() override { ++repaints; }

    QStringList names() const
    {
        QStringList n;
        for (const FakeRow& r : rows)
            n << r.name;
        return n;
    }
    int tickedCount() const
    {
        int n = 0;
        for (const FakeRow& r : rows)
            n += r.ticked ? 1 : 0;
        return n;
    }
};

class ScriptedPrompt : public IPrompt {
public:
    bool answer = true;
    QStringList questions; // "caption|text"
    QStringList messages;  // "caption|text"
    QStringList informations; // "caption|text"

    bool AskYesNo(const QString& caption, const QString& text) override
    {
        questions << caption + QLatin1Char('|') + text;
        return answer;
    }
    void ShowMessage(const QString& caption, const QString& text) override
    {
        messages << caption + QLatin1Char('|') + text;
    }
    void ShowInformation(const QString& caption, const QString& text) override
    {
        informations << caption + QLatin1Char('|') + text;
    }
};

class ScriptedDialogs : public IFileDialogs {
public:
    QString saveAnswer;
    QString folderAnswer;
    QStringList calls;

    QString SaveFileName(const QString& initialName, const QString& defaultSuffix, const QString& filter,
                         bool confirmOverwrite) override
    {
        calls << QStringLiteral("save|%1|%2|%3|%4")
                     .arg(initialName, defaultSuffix, filter, confirmOverwrite ? QStringLiteral("confirm")
                                                                               : QStringLiteral("no-confirm"));
        return saveAnswer;
    }
    QString PickFolder(const QString& title) override
    {
        calls << QStringLiteral("folder|") + title;
        return folderAnswer;
    }
    QStringList OpenFileNames(const QString&, const QString&) override { return {}; }
};
