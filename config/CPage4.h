#pragma once
// The settings sheet's "정보" page: the card's capacity, free space and the
// space each category folder takes, and the viewer's date and version. The
// folder sums walk the whole card, so they run off the UI thread and the
// numbers appear when they are ready.
#include "config/CardUsage.h"
#include "config/SettingsPage.h"

#include <QFutureWatcher>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <QCoreApplication>

class QLabel;

class CPage4 : public SettingsPage {
    Q_OBJECT
public:
    enum ControlId {
        IDC_TOTAL = 1023, IDC_FREE = 1024, IDC_DATE = 1025, IDC_VERSION = 1026,
        IDC_INFINITE = 1027, IDC_EVENT = 1028, IDC_MANUAL = 1029, IDC_MOTION = 1030,
    };

    // The context's cardSpace unset asks the file system (statvfs).
    CPage4(SettingsSheetContext& context, QWidget* parent = nullptr);
    ~CPage4() override;

    static QString Title() { return QCoreApplication::translate("CPage4", "정보"); }

    // First show: starts measuring the card. Runs once.
    void OnInitDialog();
    QString Text(int controlId) const;

signals:
    // The measured numbers are on the page.
    void usageShown();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showReport(const CardUsage::Report& report);

    std::unique_ptr<CardSpaceQuery> m_ownSpace;
    const CardSpaceQuery* m_space;
    std::map<int, QLabel*> m_labels;
    QFutureWatcher<CardUsage::Report> m_watcher;
    bool m_initialised = false;
};
