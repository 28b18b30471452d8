#include "config/CPlayerSetting.h"

#include "config/CPage1.h"
#include "config/CPage2.h"
#include "config/CPage3.h"
#include "config/CPage4.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QCoreApplication>

namespace {
QString DefaultsCaption() { return QCoreApplication::translate("CPlayerSetting", "설정초기화"); }
QString DefaultsQuestion() { return QCoreApplication::translate("CPlayerSetting", "모든 설정 내용을 기본값으로 변경하시겠습니까?"); }
} // namespace

CPlayerSetting::CPlayerSetting(SettingsSheetContext& context, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("CPlayerSetting"));
    setWindowTitle(QCoreApplication::translate("CPlayerSetting", "설정"));
    setWindowIcon(QIcon(QStringLiteral(":/bitmaps/128.png")));
    setFont(DialogUnits::PageFont());

    m_tabs = new QTabWidget(this);
    const QString titles[kPageCount] = {CPage1::Title(), CPage2::Title(), CPage3::Title(), CPage4::Title()};
    for (int i = 0; i < kPageCount; ++i) {
        // Each tab holds an empty page-sized frame until it is first shown.
        auto* holder = new QWidget;
        holder->setFixedSize(SettingsPage::PageSize());
        m_holders[std::size_t(i)] = holder;
        m_tabs->addTab(holder, titles[i]);
    }

    m_defaults = new QPushButton(QCoreApplication::translate("CPlayerSetting", "기본값으로"), this);
    m_defaults->setProperty("controlId", kDefaultsButtonId);
    m_defaults->setAutoDefault(false);
    m_defaults->setFixedSize(94, 24);
    m_ok = new QPushButton(QCoreApplication::translate("CPlayerSetting", "확인"), this);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QCoreApplication::translate("CPlayerSetting", "취소"), this);
    m_cancel->setAutoDefault(false);
    for (QPushButton* b : {m_ok, m_cancel})
        b->setFixedSize(88, 24);

    // The defaults button sits 6 px from the left and bottom edges, 94 x 24.
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(m_defaults);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(8);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_ok, &QPushButton::clicked, this, &CPlayerSetting::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CPlayerSetting::reject);
    connect(m_defaults, &QPushButton::clicked, this, &CPlayerSetting::RestoreDefaults);
    connect(m_tabs, &QTabWidget::currentChanged, this, &CPlayerSetting::EnsurePage);
    EnsurePage(0);
}

void CPlayerSetting::EnsurePage(int index)
{
    if (index < 0 || index >= kPageCount || m_pages[std::size_t(index)])
        return;
    QWidget* holder = m_holders[std::size_t(index)];
    SettingsPage* page = nullptr;
    switch (index) {
    case 0: page = new CPage1(m_context, holder); break;
    case 1: page = new CPage2(m_context, holder); break;
    case 2: page = new CPage3(m_context, holder); break;
    default: page = new CPage4(m_context, holder); break;
    }
    page->move(0, 0);
    page->show();
    m_pages[std::size_t(index)] = page;
}

void CPlayerSetting::RestoreDefaults()
{
    const bool yes = m_context.askYesNo
        ? m_context.askYesNo(DefaultsCaption(), DefaultsQuestion())
        : QMessageBox::question(this, DefaultsCaption(), DefaultsQuestion(), QMessageBox::Yes | QMessageBox::No)
            == QMessageBox::Yes;
    if (!yes)
        return;
    m_context.config->working = DeviceSettings::Default();
    const unsigned bits[kPageCount] = {SettingsSheetContext::kRecordingPage, SettingsSheetContext::kUnitsTimePage,
                                       SettingsSheetContext::kMemoryPage, 0};
    for (int i = 0; i < kPageCount; ++i) {
        SettingsPage* page = m_pages[std::size_t(i)];
        if (page && (m_context.pageInitialised & bits[i]))
            page->Reload();
    }
}

void CPlayerSetting::accept()
{
    // Pages never shown leave their fields as the working copy holds them.
    for (SettingsPage* page : m_pages) {
        if (page)
            page->StoreInto(m_context.config->working);
    }
    QDialog::accept();
}
