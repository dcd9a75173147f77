#include "SpectrumFiles.h"
#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

// kivo-cli command over a kivo.ini with a plain default emulator and a Fuse one for .tzx.
class tst_CliCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void command_data();
    void command();

private:
    QTemporaryDir m_dir;
};

void tst_CliCommand::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString at = m_dir.path();
    testsupport::writeFile(at + "/kivo.ini",
                           QStringLiteral("[kivo]\r\nDefaultemu=0\r\n[emulators]\r\nnum=2\r\n"
                                          "emu00=Plain\r\nfile00=%1/bin/plain\r\n"
                                          "emu01=Fuse\r\nfile01=%1/bin/fuse\r\n"
                                          "args01={machine} {file}\r\ndefaultfor01=tzx\r\n"
                                          "machine01.48=--machine 48\r\n"
                                          "machine01.128=--machine 128\r\n")
                               .arg(at)
                               .toUtf8());
    testsupport::touch(at + "/bin/plain");
    testsupport::touch(at + "/bin/fuse");
    testsupport::touch(at + "/roms/jet pac.tzx", testsupport::spectrumFileBytes("x.tzx"));
}

// Catches the wrong emulator, machine or file named, and a message Run would show passed over.
void tst_CliCommand::command_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("rom");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expected"); // "emulator machine: program | arguments", or stderr
    QTest::newRow("Run") << QStringList() << "jet pac.tzx" << 0
                         << "1 48K: @/bin/fuse | --machine | 48 | @/roms/jet pac.tzx";
    QTest::newRow("Run As") << QStringList{"--machine", "128k"} << "jet pac.tzx" << 0
                            << "1 128K: @/bin/fuse | --machine | 128 | @/roms/jet pac.tzx";
    QTest::newRow("Run With") << QStringList{"--emulator", "0"} << "jet pac.tzx" << 0
                              << "0 48K: @/bin/plain | @/roms/jet pac.tzx";
    QTest::newRow("no rom") << QStringList() << "gone.tap" << 1
                            << "Can't Run: Unable to find selected rom\n";
    QTest::newRow("no emulator") << QStringList{"--emulator", "5"} << "jet pac.tzx" << 1
                                 << "Can't Run: Unable to find emulator\n\n";
    QTest::newRow("unknown machine") << QStringList{"--machine", "C64"} << "jet pac.tzx" << 2
                                     << "kivo-cli: unknown machine 'C64'\nTry 'kivo-cli --help'.\n";
}

void tst_CliCommand::command()
{
    QFETCH(QStringList, options);
    QFETCH(QString, rom);
    QFETCH(int, exitCode);
    QFETCH(QString, expected);
    const QString at = m_dir.path();
    const auto run = testsupport::runCli(QStringList{"command", "--ini", at + "/kivo.ini"} +
                                         options + QStringList{at + "/roms/" + rom});
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode != 0) {
        QCOMPARE(QString::fromUtf8(run.err), expected);
        return;
    }
    const QJsonObject out = QJsonDocument::fromJson(run.out).object();
    QStringList command{out.value("program").toString()};
    for (const QJsonValue &argument : out.value("arguments").toArray())
        command.append(argument.toString());
    QCOMPARE(QStringLiteral("%1 %2: ")
                     .arg(out.value("emulator").toInt())
                     .arg(out.value("machine").toString()) +
                 command.join(" | ").replace(at, "@"),
             expected);
    QCOMPARE(out.value("workingDirectory").toString(), QDir::currentPath());
}

QTEST_GUILESS_MAIN(tst_CliCommand)
#include "tst_cli_command.moc"
