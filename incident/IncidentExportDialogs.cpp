#include "incident/IncidentExportDialogs.h"

#include "card/IFileDialogs.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

// The button of the lossless cut in the layout group, beside the layouts' ids.
constexpr int kCopyId = 100;

QString text(const char* korean)
{
    return QCoreApplication::translate("IncidentExportDialogs", korean);
}

QDoubleSpinBox* secondsBox(QDialog* dialog, const char* name, std::uint32_t ms, std::uint32_t durationMs)
{
    auto* box = new QDoubleSpinBox(dialog);
    box->setObjectName(QLatin1String(name));
    box->setDecimals(1);
    box->setSingleStep(1.0);
    box->setRange(0.0, durationMs / 1000.0);
    box->setSuffix(QCoreApplication::translate("IncidentExportDialogs", " 초"));
    box->setValue(ms / 1000.0);
    return box;
}

// Lays out a sentence with two fields, "%1" and "%2", in the order the
// translation puts them: the words around the fields differ by language.
void addSentence(QHBoxLayout* row, QDialog* dialog, const QString& sentence, QWidget* first, QWidget* second)
{
    bool placedFirst = false, placedSecond = false;
    qsizetype at = 0;
    while (at < sentence.size()) {
        const qsizetype i1 = sentence.indexOf(QLatin1String("%1"), at);
        const qsizetype i2 = sentence.indexOf(QLatin1String("%2"), at);
        const qsizetype next = i1 < 0 ? i2 : i2 < 0 ? i1 : qMin(i1, i2);
        const QString words = sentence.mid(at, next < 0 ? -1 : next - at).trimmed();
        if (!words.isEmpty())
            row->addWidget(new QLabel(words, dialog));
        if (next < 0)
            break;
        row->addWidget(next == i1 ? first : second);
        (next == i1 ? placedFirst : placedSecond) = true;
        at = next + 2;
    }
    // A sentence that lost a field still shows both, in order.
    if (!placedFirst)
        row->insertWidget(0, first);
    if (!placedSecond)
        row->addWidget(second);
}

std::uint32_t msOf(const QDoubleSpinBox* box)
{
    return box ? std::uint32_t(std::llround(box->value() * 1000.0)) : 0;
}

} // namespace

IncidentExportDialogs::IncidentExportDialogs(QWidget* owner, IFileDialogs& files, std::function<void()> cancel)
    : m_owner(owner), m_files(files), m_cancel(std::move(cancel))
{
}

IncidentExportDialogs::~IncidentExportDialogs()
{
    delete m_progress.data();
}

QDialog* IncidentExportDialogs::MakeChoiceDialog(QWidget* owner, IFileDialogs& files,
                                                 const IncidentExportChoice& proposal, std::uint32_t durationMs)
{
    auto* dialog = new QDialog(owner);
    dialog->setWindowTitle(IncidentExportFlow::Caption());
    auto* form = new QFormLayout;

    auto* range = new QHBoxLayout;
    QDoubleSpinBox* from = secondsBox(dialog, "from", proposal.fromMs, durationMs);
    QDoubleSpinBox* to = secondsBox(dialog, "to", proposal.toMs, durationMs);
    //: %1 and %2 are the start and the end of the range, in seconds
    addSentence(range, dialog, QCoreApplication::translate("IncidentExportDialogs", "%1 부터 %2 까지"), from, to);
    range->addStretch();
    form->addRow(QCoreApplication::translate("IncidentExportDialogs", "구간"), range);

    auto* layouts = new QVBoxLayout;
    auto* group = new QButtonGroup(dialog);
    group->setObjectName(QStringLiteral("layout"));
    const std::pair<ClipLayout, const char*> options[] = {
        {ClipLayout::SideBySide, QT_TRANSLATE_NOOP("IncidentExportDialogs", "나란히 (전방 왼쪽, 후방 오른쪽)")},
        {ClipLayout::PictureInPicture, QT_TRANSLATE_NOOP("IncidentExportDialogs", "화면 속 화면 (후방을 오른쪽 위 구석에)")},
        {ClipLayout::FrontOnly, QT_TRANSLATE_NOOP("IncidentExportDialogs", "전방만")},
    };
    for (const auto& [layout, label] : options) {
        auto* button = new QRadioButton(text(label), dialog);
        group->addButton(button, int(layout));
        button->setChecked(!proposal.copy && layout == proposal.layout);
        layouts->addWidget(button);
    }
    auto* copy = new QRadioButton(
        QCoreApplication::translate("IncidentExportDialogs", "원본 그대로 (다시 압축하지 않고 잘라내기, 모든 카메라와 소리)"), dialog);
    group->addButton(copy, kCopyId);
    copy->setChecked(proposal.copy);
    layouts->addWidget(copy);
    form->addRow(QCoreApplication::translate("IncidentExportDialogs", "화면 배치"), layouts);

    auto* where = new QHBoxLayout;
    auto* output = new QLineEdit(proposal.output, dialog);
    output->setObjectName(QStringLiteral("output"));
    output->setMinimumWidth(420);
    auto* browse = new QPushButton(QCoreApplication::translate("IncidentExportDialogs", "찾아보기…"), dialog);
    QObject::connect(browse, &QPushButton::clicked, dialog, [&files, output] {
        // Replacing a file is asked once, after the dialog.
        const QString chosen =
            files.SaveFileName(output->text(), QStringLiteral("mp4"), QStringLiteral("MP4 (*.mp4)"), false);
        if (!chosen.isEmpty())
            output->setText(chosen);
    });
    where->addWidget(output);
    where->addWidget(browse);
    form->addRow(QCoreApplication::translate("IncidentExportDialogs", "저장할 파일"), where);
    form->addRow(QString(), new QLabel(QCoreApplication::translate("IncidentExportDialogs", "GPS 기록은 같은 이름의 .gpx 파일로, 해시 기록은 .json 파일로 옆에 저장합니다."), dialog));

    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(QCoreApplication::translate("IncidentExportDialogs", "내보내기"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QCoreApplication::translate("IncidentExportDialogs", "취소"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);

    auto* top = new QVBoxLayout(dialog);
    top->addLayout(form);
    top->addWidget(buttons);
    return dialog;
}

IncidentExportChoice IncidentExportDialogs::ChoiceOf(const QDialog& dialog)
{
    IncidentExportChoice choice;
    choice.fromMs = msOf(dialog.findChild<QDoubleSpinBox*>(QStringLiteral("from")));
    choice.toMs = msOf(dialog.findChild<QDoubleSpinBox*>(QStringLiteral("to")));
    if (const auto* group = dialog.findChild<QButtonGroup*>(QStringLiteral("layout"))) {
        choice.copy = group->checkedId() == kCopyId;
        if (!choice.copy)
            choice.layout = ClipLayout(group->checkedId());
    }
    if (const auto* output = dialog.findChild<QLineEdit*>(QStringLiteral("output")))
        choice.output = output->text().trimmed();
    return choice;
}

std::optional<IncidentExportChoice> IncidentExportDialogs::AskChoice(const IncidentExportChoice& proposal,
                                                                      std::uint32_t durationMs)
{
    std::unique_ptr<QDialog> dialog(MakeChoiceDialog(m_owner, m_files, proposal, durationMs));
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return ChoiceOf(*dialog);
}

void IncidentExportDialogs::ShowProgress(int percent)
{
    if (!m_progress) {
        m_progress = new QProgressDialog(m_owner);
        m_progress->setWindowTitle(IncidentExportFlow::Caption());
        m_progress->setLabelText(QCoreApplication::translate("IncidentExportDialogs", "영상을 내보내는 중입니다…"));
        m_progress->setCancelButtonText(QCoreApplication::translate("IncidentExportDialogs", "취소"));
        m_progress->setWindowModality(Qt::NonModal);
        m_progress->setRange(0, 100);
        m_progress->setAutoReset(false);
        m_progress->setAutoClose(false);
        m_progress->setMinimumDuration(0);
        QObject::connect(m_progress.data(), &QProgressDialog::canceled, m_progress.data(), [this] {
            // Stays up until the export has let go of its files.
            m_progress->setLabelText(QCoreApplication::translate("IncidentExportDialogs", "취소하는 중입니다…"));
            m_progress->show();
            if (m_cancel)
                m_cancel();
        });
    }
    m_progress->setValue(qBound(0, percent, 100));
    m_progress->show();
    m_progress->raise();
}

void IncidentExportDialogs::CloseProgress()
{
    // The next export starts with a fresh window (a cancelled one keeps its mark).
    QProgressDialog* progress = m_progress;
    m_progress = nullptr;
    if (progress) {
        progress->hide();
        progress->deleteLater();
    }
}

QProgressDialog* IncidentExportDialogs::progress() const
{
    return m_progress;
}
