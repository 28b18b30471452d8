#pragma once
// A small notice with one message and an OK button that closes itself three
// seconds after it appears. OK, Enter and Escape close it at once.
#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

class CVxMsgDlg : public QDialog {
    Q_OBJECT
public:
    explicit CVxMsgDlg(QWidget* parent = nullptr);

    // Line breaks in the text break the line.
    void SetMessage(const QString& text);
    QString Message() const { return m_message; }

    static constexpr int kCloseAfterMs = 3000;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString m_message;
    QLabel* m_text = nullptr;       // 417
    QPushButton* m_ok = nullptr;    // 1075
    QTimer* m_closeTimer = nullptr;
};
