// The settings sheet as a user drives it: pages, defaults, OK and Cancel, the
// clock's apply button, and the card going away under it. Prompts and the
// notice are answered through the context's hooks, so nothing blocks.
#include "config/CPage1.h"
#include "config/CPage2.h"
#include "config/CPlayerSetting.h"
#include "config/SafeFileWrite.h"
#include "config/TimeZoneTable.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <time.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

// A record unlike the defaults everywhere, with bytes the viewer does not
// interpret set and the three sensitivity copies disagreeing.
QByteArray cardRecord()
{
    DeviceSettings s;
    for (int i = 0; i < 16; ++i)
        s.reserved0[std::size_t(i)] = std::uint8_t(0xA0 + i);
    s.sensitivity = {7, 2, 3};
    s.quality = 1;
    s.drivingMode = 2;
    s.parkingMode = 3;
    s.motionSensitivity = 1;
    s.reserved26 = 0x26;
    s.timeZoneIndex = 5;
    s.daylightSaving = 1;
    s.speedUnit = 3;
    s.reserved30 = 0x30;
    s.memoryMode = 1;
    s.reserved32 = 0x32;
    s.reserved33 = 0x33;
    return s.ToBytes();
}

QByteArray timeRecord(int y, int mo, int d, int h, int mi, int s)
{
    CalendarTime t;
    t.year = std::uint16_t(y);
    t.month = std::uint16_t(mo);
    t.day = std::uint16_t(d);
    t.hour = std::uint16_t(h);
    t.minute = std::uint16_t(mi);
    t.second = std::uint16_t(s);
    return DeviceTimeRecordBytes(t);
}

QAbstractButton* button(QWidget* root, int id) { return qobject_cast<QAbstractButton*>(FindControl(root, id)); }

// Radios and check boxes take clicks on their mark and text only: click there.
void click(QWidget* root, int id)
{
    QAbstractButton* b = button(root, id);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

// One card, one config and one sheet, opened the way the settings command
// opens it: the file is read, the live record copied into the working copy.
struct SheetRun {
    QTemporaryDir dir;
    QString root;
    DeviceConfig config;
    SettingsSheetContext context;
    std::unique_ptr<CPlayerSetting> sheet;
    QStringList questions, messages, notices;
    bool answerYes = true;

    explicit SheetRun(const QByteArray& record = cardRecord())
    {
        root = dir.path() + QLatin1Char('/');
        if (!record.isNull())
            writeAll(settingsPath(), record);
        config.ReadDeviceSettings(settingsPath());
        config.CopyLiveToWorking();
        context.config = &config;
        context.cardRoot = [this] { return root; };
        context.askYesNo = [this](const QString& caption, const QString& text) {
            questions << caption + QLatin1Char('|') + text;
            return answerYes;
        };
        context.showMessage = [this](const QString& caption, const QString& text) {
            messages << caption + QLatin1Char('|') + text;
        };
        context.showNotice = [this](const QString& text) { notices << text; };
        sheet = std::make_unique<CPlayerSetting>(context);
        sheet->show();
    }

    QString settingsPath() const { return dir.path() + QLatin1String("/__system_ini.cfg"); }
    QString timePath() const { return dir.path() + QLatin1String("/__time_ini.cfg"); }

    QWidget* page(int index)
    {
        sheet->Tabs()->setCurrentIndex(index);
        return sheet->Page(index);
    }

    // OK, then the command's commit.
    CardWrite ok()
    {
        QTest::mouseClick(sheet->OkButton(), Qt::LeftButton);
        return sheet->result() == QDialog::Accepted ? config.CommitWorking(context.CardRootNow()) : CardWrite::Failed;
    }
};

} // namespace

class SettingsSheetTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        const QDateTime gap(QDate(2026, 3, 29), QTime(2, 30));
        QVERIFY2(!gap.isValid() || gap.time() != QTime(2, 30), "the zone's spring-forward gap is not seen");
    }

    void sheetHasItsTabsButtonsAndCaption()
    {
        SheetRun run;
        CPlayerSetting& sheet = *run.sheet;
        QCOMPARE(sheet.windowTitle(), QStringLiteral("설정"));
        QVERIFY(!sheet.windowIcon().isNull());
        const QStringList titles{u"환경설정"_qs, u"시간 및 단위"_qs, u"메모리 관리"_qs, u"정보"_qs};
        QCOMPARE(sheet.Tabs()->count(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(sheet.Tabs()->tabText(i), titles[i]);
        // Pages are built when their tab is first shown.
        QVERIFY(sheet.Page(0));
        QVERIFY(!sheet.Page(1) && !sheet.Page(2) && !sheet.Page(3));
        QCOMPARE(run.context.pageInitialised, SettingsSheetContext::kRecordingPage);
        QVERIFY(run.page(3));
        QVERIFY(!sheet.Page(1));

        QPushButton* defaults = sheet.DefaultsButton();
        QCOMPARE(defaults->text(), QStringLiteral("기본값으로"));
        QCOMPARE(defaults->property("controlId").toInt(), 1095);
        QCOMPARE(defaults->geometry(), QRect(QPoint(6, sheet.height() - 30), QPoint(99, sheet.height() - 7)));
        QVERIFY(defaults->isVisible());
    }

    void recordingPageShowsTheRecord()
    {
        SheetRun run;
        QWidget* p = run.sheet->Page(0);
        for (int id : {1006, 1017, 1020, 1021})
            QVERIFY2(button(p, id)->isChecked(), qPrintable(QString::number(id)));
        for (int id : {1007, 1008, 1016, 1018, 1019, 1022, 1023})
            QVERIFY2(!button(p, id)->isChecked(), qPrintable(QString::number(id)));
        QCOMPARE(button(p, 1016)->text(), QStringLiteral("상시녹화 + 충격녹화"));
        auto* slider = qobject_cast<QSlider*>(FindControl(p, 1010));
        QCOMPARE(slider->minimum(), 0);
        QCOMPARE(slider->maximum(), 9);
        QCOMPARE(slider->value(), 7);
        QCOMPARE(slider->tickPosition(), QSlider::TicksBothSides);
        QCOMPARE(slider->toolTip(), QStringLiteral("7"));
    }

    // What OK writes, for a set of things a user does before it.
    void okWritesWhatThePagesHold_data()
    {
        QTest::addColumn<std::function<void(SheetRun&)>>("edit");
        QTest::addColumn<std::function<void(DeviceSettings&)>>("expect");

        // Everything comes back as read; only the sensitivity copies are made one.
        QTest::newRow("at once") << std::function<void(SheetRun&)>([](SheetRun&) {})
                                 << std::function<void(DeviceSettings&)>([](DeviceSettings& s) { s.sensitivity = {7, 7, 7}; });
        QTest::newRow("recording page edits")
            << std::function<void(SheetRun&)>([](SheetRun& r) {
                   QWidget* p = r.page(0);
                   click(p, 1008);
                   click(p, 1016);
                   click(p, 1019);
                   click(p, 1023);
                   qobject_cast<QSlider*>(FindControl(p, 1010))->setValue(0);
               })
            << std::function<void(DeviceSettings&)>([](DeviceSettings& s) {
                   s.quality = 3;
                   s.drivingMode = 1;
                   s.parkingMode = 2;
                   s.motionSensitivity = 3;
                   s.sensitivity = {0, 0, 0};
               });
        QTest::newRow("mph, row 0, no daylight saving")
            << std::function<void(SheetRun&)>([](SheetRun& r) {
                   QWidget* p = r.page(1);
                   click(p, 1014);
                   qobject_cast<QComboBox*>(FindControl(p, 1051))->setCurrentIndex(0);
                   click(p, 1052);
               })
            << std::function<void(DeviceSettings&)>([](DeviceSettings& s) {
                   s.sensitivity = {7, 7, 7};
                   s.speedUnit = 2;
                   s.timeZoneIndex = 0;
                   s.daylightSaving = 0;
               });
        QTest::newRow("row 24")
            << std::function<void(SheetRun&)>([](SheetRun& r) {
                   qobject_cast<QComboBox*>(FindControl(r.page(1), 1051))->setCurrentIndex(24);
               })
            << std::function<void(DeviceSettings&)>([](DeviceSettings& s) {
                   s.sensitivity = {7, 7, 7};
                   s.timeZoneIndex = 24;
               });
        QTest::newRow("defaults, nothing else")
            << std::function<void(SheetRun&)>([](SheetRun& r) { QTest::mouseClick(r.sheet->DefaultsButton(), Qt::LeftButton); })
            << std::function<void(DeviceSettings&)>([](DeviceSettings& s) { s = DeviceSettings::Default(); });
        QTest::newRow("defaults answered No")
            << std::function<void(SheetRun&)>([](SheetRun& r) {
                   r.answerYes = false;
                   QTest::mouseClick(r.sheet->DefaultsButton(), Qt::LeftButton);
               })
            << std::function<void(DeviceSettings&)>([](DeviceSettings& s) { s.sensitivity = {7, 7, 7}; });
        // Defaults twice with edits between: both presses reload the shown pages.
        QTest::newRow("defaults twice")
            << std::function<void(SheetRun&)>([](SheetRun& r) {
                   QWidget* p1 = r.page(0);
                   QWidget* p2 = r.page(1);
                   for (int round = 0; round < 2; ++round) {
                       click(p1, 1007);
                       click(p2, 1015);
                       qobject_cast<QComboBox*>(FindControl(p2, 1051))->setCurrentIndex(3);
                       QTest::mouseClick(r.sheet->DefaultsButton(), Qt::LeftButton);
                       QVERIFY(button(p1, 1008)->isChecked());
                       QVERIFY(button(p2, 1013)->isChecked());
                       QCOMPARE(qobject_cast<QComboBox*>(FindControl(p2, 1051))->currentIndex(), 21);
                   }
                   QCOMPARE(r.questions.size(), 2);
               })
            << std::function<void(DeviceSettings&)>([](DeviceSettings& s) { s = DeviceSettings::Default(); });
        // A time-zone number that is no row shows no row and is kept on OK.
        QTest::newRow("zone 30 kept")
            << std::function<void(SheetRun&)>([](SheetRun& r) {
                   r.config.working.timeZoneIndex = 30;
                   QCOMPARE(qobject_cast<QComboBox*>(FindControl(r.page(1), 1051))->currentIndex(), -1);
               })
            << std::function<void(DeviceSettings&)>([](DeviceSettings& s) {
                   s.sensitivity = {7, 7, 7};
                   s.timeZoneIndex = 30;
               });
        // Codes outside a group's range check no button and come back as 0.
        QTest::newRow("codes out of range")
            << std::function<void(SheetRun&)>([](SheetRun& r) {
                   r.config.working.speedUnit = 9;
                   r.page(1);
               })
            << std::function<void(DeviceSettings&)>([](DeviceSettings& s) {
                   s.sensitivity = {7, 7, 7};
                   s.speedUnit = 0;
               });
    }

    void okWritesWhatThePagesHold()
    {
        QFETCH(std::function<void(SheetRun&)>, edit);
        QFETCH(std::function<void(DeviceSettings&)>, expect);
        SheetRun run;
        edit(run);
        if (QTest::currentTestFailed())
            return;
        DeviceSettings expected = DeviceSettings::FromBytes(cardRecord());
        expect(expected);
        QCOMPARE(run.ok(), CardWrite::Written);
        QCOMPARE(readAll(run.settingsPath()).toHex(' '), expected.ToBytes().toHex(' '));
        QCOMPARE(run.config.live, expected);
        QVERIFY(run.messages.isEmpty());
    }

    void defaultsAskFirst()
    {
        SheetRun run;
        run.answerYes = false;
        QTest::mouseClick(run.sheet->DefaultsButton(), Qt::LeftButton);
        QCOMPARE(run.questions, QStringList{u"설정초기화|모든 설정 내용을 기본값으로 변경하시겠습니까?"_qs});
        QVERIFY(button(run.sheet->Page(0), 1006)->isChecked());
    }

    // Cancel, Escape and the close box leave card and live record alone, even
    // after the defaults button changed the working copy.
    void cancelLeavesCardAndLiveRecord_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Cancel") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("close box") << 2;
    }

    void cancelLeavesCardAndLiveRecord()
    {
        QFETCH(int, how);
        SheetRun run;
        const DeviceSettings before = run.config.live;
        run.page(1);
        QTest::mouseClick(run.sheet->DefaultsButton(), Qt::LeftButton);
        QCOMPARE(run.config.working, DeviceSettings::Default());
        if (how == 0)
            QTest::mouseClick(run.sheet->CancelButton(), Qt::LeftButton);
        else if (how == 1)
            QTest::keyClick(run.sheet.get(), Qt::Key_Escape);
        else
            run.sheet->close();
        QCOMPARE(run.sheet->result(), int(QDialog::Rejected));
        QVERIFY(!run.sheet->isVisible());
        QCOMPARE(run.config.live, before);
        QCOMPARE(readAll(run.settingsPath()), cardRecord());
    }

    void unitsPageShowsTheRecordAndTheClock()
    {
        SheetRun run;
        writeAll(run.timePath(), timeRecord(2021, 3, 4, 5, 6, 7));
        QWidget* p = run.page(1);
        QVERIFY(button(p, 1015)->isChecked());
        auto* zone = qobject_cast<QComboBox*>(FindControl(p, 1051));
        QCOMPARE(zone->count(), 25);
        QCOMPARE(zone->itemText(21), QStringLiteral("(GMT+09:00) Seoul, Tokyo, Yakutsk"));
        QCOMPARE(zone->currentIndex(), 5);
        QVERIFY(qobject_cast<QCheckBox*>(FindControl(p, 1052))->isChecked());
        auto* picker = qobject_cast<QDateTimeEdit*>(FindControl(p, 1030));
        QCOMPARE(picker->displayFormat(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        QCOMPARE(picker->text(), QStringLiteral("2021-03-04 05:06:07"));
        QCOMPARE(run.context.pageInitialised, SettingsSheetContext::kRecordingPage | SettingsSheetContext::kUnitsTimePage);
    }

    // A clock file no clock can show, or none at all, shows the PC's time.
    void clockFallsBackToThePcTime_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("month 13") << timeRecord(2021, 13, 4, 5, 6, 7);
        QTest::newRow("hour 25") << timeRecord(2021, 3, 4, 25, 6, 7);
        QTest::newRow("15 bytes") << QByteArray(15, '\0');
        QTest::newRow("absent") << QByteArray();
    }

    void clockFallsBackToThePcTime()
    {
        QFETCH(QByteArray, file);
        SheetRun run;
        if (!file.isNull())
            writeAll(run.timePath(), file);
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        auto* picker = qobject_cast<QDateTimeEdit*>(FindControl(run.page(1), 1030));
        const QDateTime after = QDateTime::currentDateTime().addSecs(1);
        // The PC's wall-clock time, in the picker's plain fields.
        const QDateTime shown(picker->date(), picker->time());
        QVERIFY2(shown >= before && shown <= after, qPrintable(picker->text()));
    }

    // Apply writes the clock at once, whatever the sheet's outcome, and only
    // then confirms it.
    void applyWritesTheClockFile()
    {
        SheetRun run;
        QWidget* p = run.page(1);
        auto* picker = qobject_cast<QDateTimeEdit*>(FindControl(p, 1030));
        picker->setDate(QDate(2024, 2, 29));
        picker->setTime(QTime(23, 59, 58));
        click(p, 1005);
        QCOMPARE(readAll(run.timePath()).toHex(' '), timeRecord(2024, 2, 29, 23, 59, 58).toHex(' '));
        QCOMPARE(run.notices, QStringList{CPage2::SavedNoticeText()});
        QVERIFY(run.notices.first().contains(QLatin1Char('\n')));
        QTest::mouseClick(run.sheet->CancelButton(), Qt::LeftButton);
        QCOMPARE(readAll(run.settingsPath()), cardRecord());
        QVERIFY(QFile::exists(run.timePath()));
    }

    // The clock file carries no zone: a camera time that the PC's zone skips
    // or repeats shows and is written back as it was.
    void clockValuesRoundTripWhateverThePcZone_data()
    {
        QTest::addColumn<QDateTime>("clock"); // fields only
        QTest::newRow("spring-forward gap") << QDateTime(QDate(2026, 3, 29), QTime(2, 30, 0), Qt::UTC);
        QTest::newRow("repeated autumn hour") << QDateTime(QDate(2026, 10, 25), QTime(2, 30, 15), Qt::UTC);
    }
    void clockValuesRoundTripWhateverThePcZone()
    {
        QFETCH(QDateTime, clock);
        const QDate d = clock.date();
        const QTime t = clock.time();
        SheetRun run;
        writeAll(run.timePath(), timeRecord(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()));
        QWidget* p = run.page(1);
        auto* picker = qobject_cast<QDateTimeEdit*>(FindControl(p, 1030));
        QCOMPARE(picker->text(), clock.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        click(p, 1005);
        QCOMPARE(readAll(run.timePath()).toHex(' '),
                 timeRecord(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()).toHex(' '));

        // A value typed within that hour is written as typed.
        picker->setTime(QTime(2, 45, 0));
        click(p, 1005);
        QCOMPARE(readAll(run.timePath()).toHex(' '), timeRecord(d.year(), d.month(), d.day(), 2, 45, 0).toHex(' '));
    }

    // The card pulled while the sheet is open: nothing is written anywhere
    // (least of all a relative file in the working folder) and the user is told.
    void cardGoneWritesNothing()
    {
        QTemporaryDir cwd;
        const QString oldCwd = QDir::currentPath();
        QDir::setCurrent(cwd.path());
        SheetRun run;
        QWidget* p = run.page(1);
        run.root.clear();
        click(p, 1005);
        click(p, 1014);
        const DeviceSettings before = run.config.live;
        QCOMPARE(run.ok(), CardWrite::NoCard);
        QDir::setCurrent(oldCwd);
        QCOMPARE(QDir(cwd.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
        QVERIFY(!QFile::exists(run.timePath()));
        QCOMPARE(readAll(run.settingsPath()), cardRecord());
        QCOMPARE(run.config.live, before);
        QVERIFY(run.notices.isEmpty());
        QCOMPARE(run.messages.size(), 1);
        QVERIFY(run.messages.first().startsWith(TimeWriteCaption()));
        QVERIFY(!SettingsWriteFailureText(CardWrite::NoCard).isEmpty());
    }

    // A write that fails keeps the card's old file and the live record as it was.
    void failedWriteChangesNothing()
    {
        SheetRun run;
        const DeviceSettings before = run.config.live;
        QTest::mouseClick(button(run.page(1), 1014), Qt::LeftButton);
        SetWriteFaultHook([](const QString&) { return true; });
        const CardWrite outcome = run.ok();
        QTest::mouseClick(button(run.page(1), 1005), Qt::LeftButton);
        SetWriteFaultHook({});
        QCOMPARE(outcome, CardWrite::Failed);
        QCOMPARE(run.config.live, before);
        QCOMPARE(readAll(run.settingsPath()), cardRecord());
        QVERIFY(!QFile::exists(run.timePath()));
        QVERIFY(run.notices.isEmpty());
        QCOMPARE(run.messages.size(), 1);
        QVERIFY(SettingsWriteFailureText(CardWrite::Failed).contains(QStringLiteral("이전 설정")));
    }

    void timeZoneTableDrivesTheLocalOffset_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("dst");
        QTest::addColumn<int>("offset");
        QTest::newRow("row 0") << 0 << false << -12;
        QTest::newRow("row 12") << 12 << false << 0;
        QTest::newRow("row 21 dst") << 21 << true << 10;
        QTest::newRow("row 24 dst") << 24 << true << 13;
        QTest::newRow("no row") << 30 << false << 0;
    }

    void timeZoneTableDrivesTheLocalOffset()
    {
        QFETCH(int, row);
        QFETCH(bool, dst);
        QFETCH(int, offset);
        DeviceSettings s;
        s.timeZoneIndex = std::uint8_t(row);
        s.daylightSaving = dst ? 1 : 0;
        QCOMPARE(s.LocalOffsetHours(), offset);
        QCOMPARE(TimeZoneTable::Text(row).isEmpty(), row > 24);
        if (row <= 24)
            QCOMPARE(TimeZoneTable::Text(row).left(4), QStringLiteral("(GMT"));
    }
};

int main(int argc, char** argv)
{
    // The PC runs in a zone with daylight saving, set before anything reads
    // the zone, so that the clock's values in its spring-forward gap show
    // whether the picker shifts them.
    qputenv("TZ", "Europe/Berlin");
    tzset();
    QApplication app(argc, argv);
    SettingsSheetTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "SettingsSheetTest.moc"
