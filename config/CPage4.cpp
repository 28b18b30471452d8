#include "config/CPage4.h"

#include "config/StatvfsCardSpaceQuery.h"

#include <QGroupBox>
#include <QLabel>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <QCoreApplication>

CPage4::CPage4(SettingsSheetContext& context, QWidget* parent) : SettingsPage(context, parent), m_space(context.cardSpace)
{
    if (!m_space) {
        m_ownSpace = std::make_unique<StatvfsCardSpaceQuery>();
        m_space = m_ownSpace.get();
    }
    setObjectName(QStringLiteral("CPage4"));
    setWindowTitle(Title());

    auto* memoryGroup = new QGroupBox(QCoreApplication::translate("CPage4", "메모리 정보"), this);
    // Laid out for 590 pixels; the groups and lines follow a wider page.
    const int extra = std::max(0, width() - 590);
    memoryGroup->setGeometry(10, 8, 570 + extra, 240);
    auto* viewerGroup = new QGroupBox(QCoreApplication::translate("CPage4", "뷰어 정보"), this);
    viewerGroup->setGeometry(10, 262, 570 + extra, 110);

    const struct {
        int id;
        const char* text;
        int y;
    } rows[] = {
        {IDC_TOTAL, QT_TRANSLATE_NOOP("CPage4", "전체용량 : "), 45},        {IDC_FREE, QT_TRANSLATE_NOOP("CPage4", "사용 가능한 용량 : "), 75},
        {IDC_INFINITE, QT_TRANSLATE_NOOP("CPage4", "상시녹화 : "), 115},    {IDC_EVENT, QT_TRANSLATE_NOOP("CPage4", "충격녹화 : "), 145},
        {IDC_MANUAL, QT_TRANSLATE_NOOP("CPage4", "수동녹화 : "), 175},      {IDC_MOTION, QT_TRANSLATE_NOOP("CPage4", "모션녹화 : "), 205},
        {IDC_DATE, QT_TRANSLATE_NOOP("CPage4", "날짜 : 2015년 04월 21일"), 297}, {IDC_VERSION, QT_TRANSLATE_NOOP("CPage4", "버전 : 1.1.0"), 327},
    };
    for (const auto& row : rows) {
        auto* label = new QLabel(QCoreApplication::translate("CPage4", row.text), this);
        label->setProperty("controlId", row.id);
        label->setGeometry(40, row.y, 500 + extra, 22);
        m_labels[row.id] = label;
    }
    connect(&m_watcher, &QFutureWatcher<CardUsage::Report>::finished, this,
            [this] { showReport(m_watcher.result()); });
}

CPage4::~CPage4()
{
    m_watcher.waitForFinished();
}

void CPage4::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    OnInitDialog();
}

void CPage4::OnInitDialog()
{
    if (m_initialised)
        return;
    m_initialised = true;
    const QString root = m_context.CardRootNow();
    const CardSpaceQuery* space = m_space;
    m_watcher.setFuture(QtConcurrent::run([root, space] { return CardUsage::Measure(root, *space); }));
}

QString CPage4::Text(int controlId) const
{
    const auto it = m_labels.find(controlId);
    return it == m_labels.end() ? QString() : it->second->text();
}

void CPage4::showReport(const CardUsage::Report& report)
{
    const CardUsage::Texts texts = CardUsage::MakeTexts(report);
    if (texts.total)
        m_labels[IDC_TOTAL]->setText(*texts.total);
    if (texts.free)
        m_labels[IDC_FREE]->setText(*texts.free);
    const int ids[] = {IDC_INFINITE, IDC_EVENT, IDC_MANUAL, IDC_MOTION};
    for (int i = 0; i < PartitionShareTable::kCategories; ++i)
        m_labels[ids[i]]->setText(texts.categories[std::size_t(i)]);
    emit usageShown();
}
