#include "config/CPage3.h"

#include "base/Messages.h"
#include "config/DeviceSettings.h"
#include "config/PartitionShareTable.h"
#include "skin/CMemoryDC.h"
#include "skin/CVxProgress.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cmath>

namespace {

// Stands in when the window has no way to format (no UDisks2).
class UnavailableFormatter : public CardFormatter {
public:
    std::optional<FormatTarget> Identify(const QString&, QString* why) override
    {
        *why = QCoreApplication::translate("CPage3", "이 컴퓨터에서는 SD 카드를 포맷할 수 없습니다 (디스크 관리 서비스 없음).");
        return std::nullopt;
    }
    Result Format(const FormatTarget&) override { return {Outcome::Failed, {}}; }
    QString WaitForMount(const FormatTarget&, int, QString*) override { return {}; }
};

// The legend lies inside the "메모리 관리" group box, whose frame the style may
// tint: the legend is painted on a layer above the box and below the bar, so
// its colours reach the screen exactly.
class LegendLayer : public QWidget {
public:
    explicit LegendLayer(CPage3* page) : QWidget(page), m_page(page)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.translate(-pos());
        m_page->PaintLegend(p);
    }

private:
    CPage3* m_page;
};

template <typename W>
W* control(W* w, int id, const QRect& geometry)
{
    w->setProperty("controlId", id);
    w->setGeometry(geometry);
    return w;
}

} // namespace

CPage3::CPage3(SettingsSheetContext& context, QWidget* parent) : SettingsPage(context, parent)
{
    setObjectName(QStringLiteral("CPage3"));
    setWindowTitle(Title());

    auto* memoryGroup = new QGroupBox(QCoreApplication::translate("CPage3", "메모리 관리"), this);
    // Laid out for 590 pixels; the groups, the bar and the buttons follow a wider page.
    const int extra = std::max(0, width() - 590);
    memoryGroup->setGeometry(10, 8, 570 + extra, 250);
    auto* formatGroup = new QGroupBox(QCoreApplication::translate("CPage3", "파일 포맷"), this);
    formatGroup->setGeometry(10, 272, 570 + extra, 150);

    m_legend = new LegendLayer(this);
    m_bar = control(new CVxProgress(this), IDC_BAR, QRect(40, 45, 510 + extra, 24));
    m_legend->setGeometry(LegendArea());
    m_bar->setAccessibleName(QCoreApplication::translate("CPage3", "메모리"));

    m_radios = new QButtonGroup(this);
    const int radioIds[3] = {IDC_MODE1, IDC_MODE2, IDC_MODE3};
    for (int i = 0; i < 3; ++i) {
        auto* r = control(new QRadioButton(PartitionShareTable::ModeText(i + 1), this), radioIds[i],
                          QRect(60 + (160 + extra / 3) * i, 140, 140, 24));
        m_radios->addButton(r, i);
    }
    connect(m_radios, &QButtonGroup::idClicked, this, &CPage3::OnRadio);

    m_apply = control(new QPushButton(QCoreApplication::translate("CPage3", "적용"), this), IDC_APPLY, QRect(450 + extra, 205, 100, 30));
    connect(m_apply, &QPushButton::clicked, this, &CPage3::OnApply);

    auto* explanation =
        new QLabel(QCoreApplication::translate("CPage3", "SD 카드의 모든 데이터를 지우고 포맷합니다. SD 카드를 포맷하시겠습니까?"), this);
    explanation->setWordWrap(true);
    explanation->setGeometry(40, 305, 500 + extra, 40);
    m_format = control(new QPushButton(QCoreApplication::translate("CPage3", "포맷"), this), IDC_FORMAT, QRect(450 + extra, 370, 100, 30));
    connect(m_format, &QPushButton::clicked, this, &CPage3::OnFormatCommand);

    CardFormatter* formatter = m_context.cardFormatter;
    if (!formatter) {
        m_noFormatter = std::make_unique<UnavailableFormatter>();
        formatter = m_noFormatter.get();
    }
    CardFormatSequence::Hooks hooks;
    hooks.askYesNo = [this](const QString& c, const QString& t) { return ask(c, t); };
    hooks.tell = [this](const QString& c, const QString& t) { tell(c, t); };
    hooks.stopPlayback = m_context.releaseMedia;
    hooks.holdCardMonitor = m_context.holdCardMonitor;
    hooks.releaseCardMonitor = m_context.releaseCardMonitor;
    m_sequence = std::make_unique<CardFormatSequence>(*formatter, hooks);
    connect(m_sequence.get(), &CardFormatSequence::progress, this, &CPage3::onFormatProgress);
    connect(m_sequence.get(), &CardFormatSequence::finished, this, &CPage3::onFormatFinished);
}

CPage3::~CPage3() = default;

void CPage3::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    OnInitDialog();
}

void CPage3::OnInitDialog()
{
    if (m_initialised)
        return;
    m_initialised = true;
    MarkInitialised(SettingsSheetContext::kMemoryPage);
    // "Arial", 9 points at the screen's resolution, rounded as the platform's multiply-divide.
    m_font = QFont(QStringLiteral("Arial"));
    m_font.setPixelSize(int(std::lround(9.0 * logicalDpiY() / 72.0)));
    m_font.setWeight(QFont::Normal);
    m_font.setStyleStrategy(QFont::PreferAntialias);
    Reload();
}

void CPage3::Reload()
{
    const int mode = int(Working().memoryMode) - 1;
    m_currentMode = PartitionShareTable::ForMode(mode + 1) ? mode : -1;
    barRefresh(m_context.CardRootNow());
    radiosFromIndex(m_currentMode);
    m_legend->update();
}

void CPage3::StoreInto(DeviceSettings& working)
{
    const int index = radioIndex();
    // With no mode checked the camera's own value stays as it was.
    if (index >= 0)
        working.memoryMode = std::uint8_t(index + 1);
}

void CPage3::OnRadio(int mode)
{
    m_currentMode = mode;
    loadBar();
    m_legend->update();
}

void CPage3::OnApply()
{
    if (m_currentMode < 0 || m_sequence->IsRunning())
        return;
    if (!ask(QCoreApplication::translate("CPage3", "메모리관리"),
             QCoreApplication::translate("CPage3", "메모리관리 모드를 변경 후 적용시\n저장된 모든 데이터가 삭제되고 SD Card가 포맷됩니다.\n"
                            "적용하시겠습니까?")))
        return;
    Working().memoryMode = std::uint8_t(m_currentMode + 1);
    FormatCard();
}

void CPage3::OnFormatCommand()
{
    if (m_sequence->IsRunning())
        return;
    if (!ask(QCoreApplication::translate("CPage3", "메모리포맷"),
             QCoreApplication::translate("CPage3", "메모리포맷 실행시 저장된 모든 데이터가 삭제되고\n SD Card가 포맷됩니다. 적용하시겠습니까?")))
        return;
    FormatCard();
}

void CPage3::FormatCard()
{
    const QString root = m_context.CardRootNow();
    if (root.isEmpty()) {
        tell(QCoreApplication::translate("CPage3", "메모리포맷"), QCoreApplication::translate("CPage3", "SD 카드가 없습니다."));
        return;
    }
    m_apply->setEnabled(false);
    m_format->setEnabled(false);
    m_sequence->Start(root);
}

void CPage3::onFormatProgress(const QString& text)
{
    if (text.isEmpty()) {
        if (m_progress)
            m_progress->hide();
        return;
    }
    if (!m_progress) {
        m_progress = new QProgressDialog(this);
        m_progress->setWindowTitle(QCoreApplication::translate("CPage3", "메모리포맷"));
        m_progress->setWindowModality(Qt::WindowModal);
        m_progress->setCancelButton(nullptr);
        m_progress->setRange(0, 0);
        m_progress->setMinimumDuration(0);
        m_progress->setAutoClose(false);
        m_progress->setAutoReset(false);
    }
    m_progress->setLabelText(text);
    m_progress->show();
}

void CPage3::onFormatFinished(CardFormatSequence::Outcome outcome)
{
    if (m_progress)
        m_progress->hide();
    m_apply->setEnabled(true);
    m_format->setEnabled(true);
    const bool formatted =
        outcome == CardFormatSequence::Outcome::Formatted || outcome == CardFormatSequence::Outcome::RestoreFailed;
    if (!formatted)
        return;
    m_context.cardFormatted = true;
    barRefresh(m_sequence->MountedRoot());
}

void CPage3::loadBar()
{
    const auto shares = PartitionShareTable::ForMode(m_currentMode + 1);
    if (shares)
        m_bar->SetSegments(std::uint32_t((*shares)[0]), std::uint32_t((*shares)[1]), std::uint32_t((*shares)[2]),
                           std::uint32_t((*shares)[3]), 100);
    else
        m_bar->SetSegments(0, 0, 0, 0, 100);
    m_bar->update();
}

void CPage3::barRefresh(const QString& root)
{
    if (!root.isEmpty() && QFileInfo::exists(root))
        QCoreApplication::postEvent(this, new QEvent(QEvent::Type(MSG_MEMORY_BAR)));
}

bool CPage3::event(QEvent* e)
{
    if (int(e->type()) == MSG_MEMORY_BAR) {
        loadBar();
        return true;
    }
    return QWidget::event(e);
}

void CPage3::radiosFromIndex(int index)
{
    // An exclusive group cannot show no button checked.
    m_radios->setExclusive(false);
    for (QAbstractButton* b : m_radios->buttons())
        b->setChecked(m_radios->id(b) == index);
    m_radios->setExclusive(true);
}

int CPage3::radioIndex() const
{
    return m_radios->checkedId();
}

QStringList CPage3::LegendTexts() const
{
    const auto shares = PartitionShareTable::ForMode(m_currentMode + 1);
    QStringList texts;
    for (int i = 0; i < PartitionShareTable::kCategories; ++i) {
        const QString label = PartitionShareTable::Label(i);
        texts << (shares ? QString::asprintf("%s:%d%%", qUtf8Printable(label), (*shares)[std::size_t(i)]) : label);
    }
    return texts;
}

QRect CPage3::LegendArea() const
{
    // Edges as the legend is measured: right and bottom exclusive.
    const QRect bar = m_bar->geometry();
    const int l = bar.left(), t = bar.top(), r = bar.left() + bar.width(), b = bar.top() + bar.height();
    const int h = b - t;
    return QRect(QPoint(l - 10, t - 10), QPoint(r + 10 - 1, b + h + 20 - 1));
}

void CPage3::PaintLegend(QPainter& target)
{
    const QRect bar = m_bar->geometry();
    const int l = bar.left(), t = bar.top(), r = bar.left() + bar.width(), b = bar.top() + bar.height();
    const int h = b - t;
    const int w = (r - l) / 4;

    CMemoryDC dc(target, LegendArea(), QColor(230, 230, 230));
    QPainter& p = dc.painter();
    p.setFont(m_font);
    p.setPen(Qt::black);
    const QStringList texts = LegendTexts();
    const int y = b + 10;
    for (int i = 0; i < PartitionShareTable::kCategories; ++i) {
        const int x = l + i * w;
        p.fillRect(QRect(x, y, h, h), PartitionShareTable::Colour(i));
        p.drawText(QRect(QPoint(x + h + 3, y), QPoint(x + w - 1, y + h - 1)),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, texts[i]);
    }
}

bool CPage3::ask(const QString& caption, const QString& text)
{
    if (m_context.askYesNo)
        return m_context.askYesNo(caption, text);
    return QMessageBox::question(this, caption, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void CPage3::tell(const QString& caption, const QString& text)
{
    if (m_context.showMessage)
        m_context.showMessage(caption, text);
    else
        QMessageBox::information(this, caption, text);
}
