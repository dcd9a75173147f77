#include "SpectrumFiles.h"
#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

class tst_CliCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void command_data();
    void command();
};

// Over a plain default emulator (0) and a Fuse one for .tzx (1): catches the wrong emulator,
// machine or file named, and a message Run would show passed over.
void tst_CliCommand::command_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expected"); // "EMULATOR MACHINE: PROGRAM | ARGUMENT ...", or stderr
    const QString tape = QStringLiteral("@/jet pac.tzx");
    QTest::newRow("Run") << QStringList{tape} << 0
                         << "1 48K: @/fuse | --machine | 48 | @/jet pac.tzx";
    QTest::newRow("Run As") << QStringList{"--machine", "128k", tape} << 0
                            << "1 128K: @/fuse | --machine | 128 | @/jet pac.tzx";
    QTest::newRow("Run With") << QStringList{tape, "--emulator", "0"} << 0
                              << "0 48K: @/plain | @/jet pac.tzx";
    QTest::newRow("no rom") << QStringList{"@/gone.tap"} << 1
                            << "Can't Run: Unable to find selected rom\n";
    QTest::newRow("unknown machine") << QStringList{"--machine", "C64", tape} << 2
                                     << "kivo-cli: unknown machine 'C64'\nTry 'kivo-cli --help'.\n";
}

void tst_CliCommand::command()
{
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString ini = QStringLiteral("[kivo]\nDefaultemu=0\n[emulators]\nnum=2\nemu00=Plain\n"
                                       "file00=@/plain\nemu01=Fuse\nfile01=@/fuse\n"
                                       "args01={machine} {file}\ndefaultfor01=tzx\n"
                                       "machine01.48=--machine 48\nmachine01.128=--machine 128\n");
    testsupport::writeFile(dir.filePath("kivo.ini"),
                           QString(ini).replace("@", dir.path()).toUtf8());
    for (const char *file : {"plain", "fuse", "jet pac.tzx"})
        testsupport::touch(dir.filePath(file), testsupport::spectrumFileBytes(file));
    const auto run = testsupport::runCli(QStringList{"command", "--ini", dir.filePath("kivo.ini")} +
                                         options.replaceInStrings("@", dir.path()));
    QCOMPARE(run.exitCode, exitCode);
    const QJsonObject out = QJsonDocument::fromJson(run.out).object();
    QString got = QString::fromUtf8(run.err);
    if (exitCode == 0) {
        QStringList command{out.value("program").toString()};
        for (const QJsonValue &argument : out.value("arguments").toArray())
            command.append(argument.toString());
        got = QStringLiteral("%1 %2: ")
                  .arg(out.value("emulator").toInt())
                  .arg(out.value("machine").toString()) +
              command.join(" | ").replace(dir.path(), "@");
        QCOMPARE(out.value("workingDirectory").toString(), QDir::currentPath());
    }
    QCOMPARE(got, expected);
}

QTEST_GUILESS_MAIN(tst_CliCommand)
#include "tst_cli_command.moc"
