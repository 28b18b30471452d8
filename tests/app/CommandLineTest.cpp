// Both programs' command lines, run as a user or a script would: help and
// version without a display, usage errors with status 2.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void answers_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("display");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QString cli = QStringLiteral("tools/halcyon-deck-cli");
        const QString viewer = QStringLiteral("app/halcyon-deck");
        const QString version = QStringLiteral(HALCYON_VERSION);

        QTest::newRow("cli --help") << cli << QStringList{"--help"} << false << 0 << "usage: halcyon-deck-cli" << "";
        QTest::newRow("cli --version") << cli << QStringList{"--version"} << false << 0
                                       << "halcyon-deck-cli " + version + "\n" << "";
        QTest::newRow("cli command --help") << cli << QStringList{"export", "--help"} << false << 0
                                            << "usage: halcyon-deck-cli export FILE" << "";
        QTest::newRow("cli unknown option") << cli << QStringList{"--bogus"} << false << 2 << ""
                                            << "halcyon-deck-cli: Unknown option 'bogus'";
        QTest::newRow("cli no command") << cli << QStringList{} << false << 2 << "" << "usage: halcyon-deck-cli";
        QTest::newRow("cli unknown command") << cli << QStringList{"frobnicate"} << false << 2 << ""
                                             << "unknown command 'frobnicate'";
        QTest::newRow("cli command's unknown option")
            << cli << QStringList{"telemetry", "x.mp4", "--format", "csv", "--bogus"} << false << 2 << ""
            << "halcyon-deck-cli telemetry: Unknown option 'bogus'";
        QTest::newRow("cli missing value") << cli << QStringList{"export", "x.mp4", "-o", "y.mp4", "--from"} << false
                                           << 2 << "" << "Missing value after '--from'";
        QTest::newRow("cli extra argument") << cli << QStringList{"scan", "/a", "/b"} << false << 2 << ""
                                            << "usage: halcyon-deck-cli scan ROOT";

        QTest::newRow("viewer --help") << viewer << QStringList{"--help"} << false << 0 << "usage: halcyon-deck" << "";
        QTest::newRow("viewer -h") << viewer << QStringList{"-h"} << false << 0 << "usage: halcyon-deck" << "";
        QTest::newRow("viewer --version") << viewer << QStringList{"--version"} << false << 0
                                          << "halcyon-deck " + version + "\n" << "";
        QTest::newRow("viewer unknown option") << viewer << QStringList{"--no-such-option"} << true << 2 << ""
                                               << "halcyon-deck: Unknown option 'no-such-option'";
        // Qt's own options go to Qt, whatever their letters; a wrong one of ours still ends the start.
        QTest::newRow("viewer Qt option, then a wrong one")
            << viewer << QStringList{"-platform", "offscreen", "-reverse", "-x"} << false << 2 << ""
            << "Unknown option 'x'";
    }
    void answers()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, args);
        QFETCH(bool, display);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        if (display)
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("HALCYON_BUILD_DIR") + QLatin1Char('/') + program, args);
        QVERIFY(p.waitForFinished(60000));
        const QString stdOut = QString::fromLocal8Bit(p.readAllStandardOutput());
        const QString stdErr = QString::fromLocal8Bit(p.readAllStandardError());
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QVERIFY2(p.exitCode() == status, qPrintable(stdErr));
        if (out.isEmpty())
            QCOMPARE(stdOut, QString());
        else
            QVERIFY2(stdOut.startsWith(out), qPrintable(stdOut));
        QVERIFY2(stdErr.contains(err), qPrintable(stdErr));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
