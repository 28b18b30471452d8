#include "CardFixture.h"
#include "config/CPage3.h"
#include "config/CPage4.h"
#include "config/DeviceConfig.h"
#include "config/DeviceSettings.h"
#include "skin/CVxProgress.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

namespace {
template <typename T>
T* byId(QWidget* page, int id)
{
    for (T* w : page->findChildren<T*>()) {
        if (w->property("controlId").toInt() == id)
            return w;
    }
    return nullptr;
}

class FakeSpace : public CardSpaceQuery {
public:
    std::optional<CardSpace> space;
    std::optional<CardSpace> Query(const QString&) const override { return space; }
};

struct MemoryPage {
    CardFolder card;
    FakeCardFormatter formatter;
    DeviceConfig config;
    DeviceSettings& working = config.working;
    SettingsSheetContext context;
    QList<QPair<QString, QString>> asked;
    std::unique_ptr<CPage3> page;

    explicit MemoryPage(int storedMode)
    {
        card.make();
        formatter.cardRoot = card.root();
        formatter.mountAt = card.root();
        working.memoryMode = std::uint8_t(storedMode);
        context.config = &config;
        context.cardRoot = [this] { return card.root(); };
        context.cardFormatter = &formatter;
        context.askYesNo = [this](const QString& caption, const QString& text) {
            asked << qMakePair(caption, text);
            return true;
        };
        context.showMessage = [](const QString&, const QString& text) { qWarning("told: %s", qPrintable(text)); };
        page = std::make_unique<CPage3>(context);
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
        QCoreApplication::processEvents(); // MSG_MEMORY_BAR
    }
    QImage image() const { return page->grab().toImage(); }
    QRadioButton* radio(int id) const { return byId<QRadioButton>(page.get(), id); }
    int checkedRadio() const
    {
        for (int id : {1092, 1093, 1094}) {
            if (radio(id)->isChecked())
                return id;
        }
        return 0;
    }
};
} // namespace

class MemoryPagesTest : public QObject {
    Q_OBJECT
private slots:
    void legendShowsTheStoredMode()
    {
        MemoryPage m(1);
        QCOMPARE(m.checkedRadio(), 1092);
        QCOMPARE(m.page->LegendTexts(), (QStringList{"상시녹화:75%", "충격녹화:10%", "수동녹화:5%", "모션녹화:10%"}));

        const QRect bar = m.page->Bar()->geometry();
        const int h = bar.height(), w = bar.width() / 4, y = bar.top() + h + 10;
        const QImage img = m.image();
        const QColor colours[4] = {QColor(64, 64, 255), QColor(200, 0, 200), QColor(0, 210, 0), QColor(255, 192, 0)};
        for (int i = 0; i < 4; ++i) {
            const int x = bar.left() + i * w;
            QCOMPARE(img.pixelColor(x, y), colours[i]);
            QCOMPARE(img.pixelColor(x + h - 1, y + h - 1), colours[i]);
            QCOMPARE(img.pixelColor(x + h + 1, y + 1), QColor(230, 230, 230)); // text starts 3 px on
        }
        QCOMPARE(img.pixelColor(bar.left() - 10, bar.top() - 10), QColor(230, 230, 230));
        // The bar itself: 75 % blue, then 10 % magenta.
        QCOMPARE(img.pixelColor(bar.left() + bar.width() * 70 / 100, bar.center().y()), colours[0]);
        QCOMPARE(img.pixelColor(bar.left() + bar.width() * 80 / 100, bar.center().y()), colours[1]);
    }

    void choosingAModeTouchesOnlyTheWorkingCopy()
    {
        MemoryPage m(1);
        m.radio(1094)->click();
        QCOMPARE(m.page->CurrentMode(), 2);
        QCOMPARE(m.page->LegendTexts(), (QStringList{"상시녹화:35%", "충격녹화:20%", "수동녹화:5%", "모션녹화:40%"}));
        const QRect bar = m.page->Bar()->geometry();
        QCOMPARE(m.image().pixelColor(bar.left() + bar.width() * 50 / 100, bar.center().y()), QColor(200, 0, 200));
        QCOMPARE(int(m.working.memoryMode), 1);
        QCOMPARE(filesBelow(m.card.root()).size(), 4);
        QCOMPARE(readFile(m.card.root() + "__system_ini.cfg"), settingsBytes());
        QVERIFY(m.asked.isEmpty());
        m.page->StoreInto(m.working);
        QCOMPARE(int(m.working.memoryMode), 3);
        QCOMPARE(m.formatter.formats, 0);
    }

    void unknownStoredModeShowsNoShares()
    {
        MemoryPage m(7);
        QCOMPARE(m.checkedRadio(), 0);
        QCOMPARE(m.page->LegendTexts(), (QStringList{"상시녹화", "충격녹화", "수동녹화", "모션녹화"}));
        const QRect bar = m.page->Bar()->geometry();
        QVERIFY(m.image().pixelColor(bar.left() + 20, bar.center().y()) != QColor(64, 64, 255));
        m.page->StoreInto(m.working);
        QCOMPARE(int(m.working.memoryMode), 7);
        // Apply has no mode to apply.
        byId<QPushButton>(m.page.get(), 1029)->click();
        QVERIFY(m.asked.isEmpty());
    }

    void defaultsReloadThePage()
    {
        MemoryPage m(1);
        m.radio(1094)->click();
        m.working = DeviceSettings::Default();
        m.page->Reload();
        QCOMPARE(m.checkedRadio(), 1093);
        QCOMPARE(m.page->LegendTexts().first(), QStringLiteral("상시녹화:55%"));
    }

    void applyFormatsAndKeepsTheSettingsFiles()
    {
        MemoryPage m(1);
        m.radio(1094)->click();
        QSignalSpy done(&m.page->FormatSequence(), &CardFormatSequence::finished);
        byId<QPushButton>(m.page.get(), 1029)->click();
        QVERIFY(done.wait(5000));
        QCOMPARE(m.asked.size(), 2);
        QCOMPARE(m.asked[0].first, QStringLiteral("메모리관리"));
        QCOMPARE(m.asked[0].second, QStringLiteral("메모리관리 모드를 변경 후 적용시\n저장된 모든 데이터가 삭제되고 "
                                                   "SD Card가 포맷됩니다.\n적용하시겠습니까?"));
        QCOMPARE(m.asked[1].first, QStringLiteral("메모리포맷"));
        QVERIFY(m.asked[1].second.contains("/dev/sdb1"));
        // The sheet is then cancelled: only the working copy knows the new mode.
        QCOMPARE(int(m.working.memoryMode), 3);
        QVERIFY(m.context.cardFormatted);
        QCOMPARE(filesBelow(m.card.root()), (QStringList{"__system_ini.cfg", "__time_ini.cfg"}));
        QCOMPARE(readFile(m.card.root() + "__system_ini.cfg"), settingsBytes());
        QCOMPARE(readFile(m.card.root() + "__time_ini.cfg"), timeBytes());
    }

    void formatCommandAsksFirst()
    {
        MemoryPage m(2);
        bool yes = false;
        SettingsSheetContext context = m.context;
        context.askYesNo = [&](const QString& caption, const QString& text) {
            m.asked << qMakePair(caption, text);
            return yes;
        };
        CPage3 page(context);
        page.show();
        byId<QPushButton>(&page, 1028)->click();
        QCOMPARE(m.asked.size(), 1);
        QCOMPARE(m.asked[0].first, QStringLiteral("메모리포맷"));
        QCOMPARE(m.asked[0].second,
                 QStringLiteral("메모리포맷 실행시 저장된 모든 데이터가 삭제되고\n SD Card가 포맷됩니다. 적용하시겠습니까?"));
        QVERIFY(!page.FormatSequence().IsRunning());
        QCOMPARE(filesBelow(m.card.root()).size(), 4);
    }

    void informationPageShowsTheCard()
    {
        CardFolder card;
        card.make();
        writeFile(card.root() + "MOTION/0101/m.mp4", QByteArray(3 << 20, 'm'));
        FakeSpace space;
        space.space = CardSpace{8000000000ull, 524288000ull};
        DeviceConfig config;
        SettingsSheetContext context;
        context.config = &config;
        context.cardRoot = [&] { return card.root(); };
        context.cardSpace = &space;
        CPage4 page(context);
        QCOMPARE(page.Text(1023), QStringLiteral("전체용량 : "));
        QSignalSpy shown(&page, &CPage4::usageShown);
        page.show();
        QVERIFY(shown.wait(5000));
        QCOMPARE(page.Text(1023), QStringLiteral("전체 용량 : 7629MB"));
        QCOMPARE(page.Text(1024), QStringLiteral("사용 가능한 용량 : 0500MB"));
        QCOMPARE(page.Text(1027), QStringLiteral("상시녹화 : 0 MB"));
        QCOMPARE(page.Text(1030), QStringLiteral("모션녹화 : 3 MB"));
        QCOMPARE(page.Text(1025), QStringLiteral("날짜 : 2015년 04월 21일"));
        QCOMPARE(page.Text(1026), QStringLiteral("버전 : 1.1.0"));
    }
};

QTEST_MAIN(MemoryPagesTest)
#include "MemoryPagesTest.moc"
