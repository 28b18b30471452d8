#include "app/MediaComponentReport.h"

#include "card/IPrompt.h"

#include <QCoreApplication>

QString MediaComponentMessage(int checkResult)
{
    switch (checkResult) {
    case -1: return QCoreApplication::translate("MediaComponentReport", "Source Filter가 등록되지 않았습니다.");
    case -2: return QCoreApplication::translate("MediaComponentReport", "Video Filter(ffdshow)가 등록되지 않았습니다.");
    default: return {};
    }
}

void ReportMediaComponents(int checkResult, IPrompt& prompt)
{
    const QString text = MediaComponentMessage(checkResult);
    if (!text.isEmpty())
        prompt.ShowMessage(QStringLiteral("Halcyon Deck"), text);
}
