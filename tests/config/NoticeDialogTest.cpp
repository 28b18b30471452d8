// The self-closing notice: its look, closing by itself after three seconds,
// and closing at once on OK, Enter or Escape.
#include "config/CVxMsgDlg.h"
#include "config/SettingsPage.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {
const QString kText = QStringLiteral("시간이 저장되었습니다.\n저장된 시간은 제품에 설정할 시간과 차이가 있을 수 있습니다.");
}

class NoticeDialogTest : public QObject {
    Q_OBJECT
private slots:
    void showsTheMessageCentredOnTwoLines()
    {
        CVxMsgDlg dlg;
        dlg.SetMessage(kText);
        dlg.show();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Notify"));
        QVERIFY(!(dlg.windowFlags() & Qt::WindowSystemMenuHint));
        QVERIFY(!(dlg.windowFlags() & Qt::WindowCloseButtonHint));
        auto* text = qobject_cast<QLabel*>(FindControl(&dlg, 417));
        QCOMPARE(text->text(), kText);
        QVERIFY(text->alignment() & Qt::AlignHCenter);
        // Both lines fit the control side by side with nothing cut off.
        const QFontMetrics fm(text->font());
        for (const QString& line : kText.split(QLatin1Char('\n')))
            QVERIFY2(fm.horizontalAdvance(line) <= text->width(), qPrintable(line));
        QVERIFY(2 * fm.lineSpacing() <= text->height() + fm.leading() + 2);
        auto* ok = qobject_cast<QPushButton*>(FindControl(&dlg, 1075));
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QVERIFY(ok->isDefault());
    }

    void closesItselfAfterThreeSeconds()
    {
        CVxMsgDlg dlg;
        dlg.SetMessage(kText);
        QSignalSpy finished(&dlg, &QDialog::finished);
        QElapsedTimer clock;
        clock.start();
        dlg.show();
        QVERIFY(finished.wait(CVxMsgDlg::kCloseAfterMs + 3000));
        QVERIFY2(clock.elapsed() >= CVxMsgDlg::kCloseAfterMs * 9 / 10, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(finished.first().first().toInt(), int(QDialog::Accepted));
        QVERIFY(!dlg.isVisible());
    }

    void closesAtOnceOnOkEnterEscape_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("OK") << 0;
        QTest::newRow("Enter") << 1;
        QTest::newRow("Escape") << 2;
    }

    void closesAtOnceOnOkEnterEscape()
    {
        QFETCH(int, how);
        CVxMsgDlg dlg;
        dlg.SetMessage(kText);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QSignalSpy finished(&dlg, &QDialog::finished);
        if (how == 0)
            QTest::mouseClick(qobject_cast<QPushButton*>(FindControl(&dlg, 1075)), Qt::LeftButton);
        else
            QTest::keyClick(&dlg, how == 1 ? Qt::Key_Return : Qt::Key_Escape);
        QCOMPARE(finished.size(), 1);
        QVERIFY(!dlg.isVisible());
    }
};

QTEST_MAIN(NoticeDialogTest)
#include "NoticeDialogTest.moc"
