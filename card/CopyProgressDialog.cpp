#include "card/CopyProgressDialog.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {
constexpr int kSteps = 1000;
}

CopyProgressDialog::CopyProgressDialog(QWidget* owner)
    : m_owner(owner)
{
}

CopyProgressDialog::~CopyProgressDialog() = default;

RecordingFileOps::CopyProgress CopyProgressDialog::Callback()
{
    return [this](const QString& fileName, qint64 copied, qint64 total) {
        // Made at the first chunk, not before: a dialog waiting in the
        // background would pop up over the file dialog.
        if (!m_dialog) {
            m_dialog = std::make_unique<QProgressDialog>(m_owner);
            m_dialog->setWindowModality(Qt::WindowModal);
            m_dialog->setMinimumDuration(500);
            m_dialog->setRange(0, kSteps);
            m_dialog->setAutoReset(false);
            m_dialog->setAutoClose(false);
            m_dialog->setCancelButtonText(QCoreApplication::translate("CopyProgressDialog", "취소"));
            m_dialog->setValue(0);
        }
        m_dialog->setLabelText(fileName);
        m_dialog->setValue(total > 0 ? int(copied * kSteps / total) : kSteps);
        QCoreApplication::processEvents();
        return !m_dialog->wasCanceled();
    };
}
