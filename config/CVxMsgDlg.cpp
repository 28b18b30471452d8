#include "config/CVxMsgDlg.h"

#include "config/DialogUnits.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

CVxMsgDlg::CVxMsgDlg(QWidget* parent) : QDialog(parent)
{
    // A caption but no system menu and no close box: the notice goes by itself.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QStringLiteral("Notify"));
    setObjectName(QStringLiteral("CVxMsgDlg"));
    const QFont font = DialogUnits::NoticeFont();
    setFont(font);
    const DialogUnits du(font);
    setFixedSize(du.Size(260, 75));

    m_text = new QLabel(QStringLiteral("Static"), this);
    m_text->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_text->setGeometry(du.Rect(7, 10, 246, 27));
    m_text->setProperty("controlId", 417);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setGeometry(du.Rect(105, 52, 50, 14));
    m_ok->setProperty("controlId", 1075);
    m_ok->setDefault(true);
    m_ok->setFocus();
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    m_closeTimer = new QTimer(this);
    m_closeTimer->setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the notice stays its whole time.
    m_closeTimer->setTimerType(Qt::PreciseTimer);
    m_closeTimer->setInterval(kCloseAfterMs);
    connect(m_closeTimer, &QTimer::timeout, this, &QDialog::accept);
}

void CVxMsgDlg::SetMessage(const QString& text)
{
    m_message = text;
    m_text->setText(text);
}

void CVxMsgDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_closeTimer->start();
}
