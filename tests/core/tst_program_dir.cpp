// Where the program looks for kivo.ini and lang.ini, portable and installed into a prefix.
#include "core/ProgramDir.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

using namespace testsupport;

class tst_ProgramDir : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dataDirIsBesideBin()
    {
        const ProgramDir dir =
            ProgramDir::forProgramIn(QStringLiteral("/opt/kivo/bin"), QStringLiteral("/c"));
        QCOMPARE(dir.dataDir, QStringLiteral("/opt/kivo/share/kivo"));
        QCOMPARE(dir.configDir, QStringLiteral("/c"));
    }

    // Which kivo.ini a run reads and writes. A wrong answer either scatters a user's settings
    // into /usr/bin (as root, which may write there) or loses a portable copy's own file.
    void settingsFile_data()
    {
        QTest::addColumn<QStringList>("files"); // created under the temporary root
        QTest::addColumn<QString>("expected");  // relative to that root
        QTest::newRow("build folder: beside the program")
            << QStringList() << QStringLiteral("prefix/bin/kivo.ini");
        QTest::newRow("installed: the configuration folder")
            << QStringList{QStringLiteral("prefix/share/kivo/demo/demo.dat")}
            << QStringLiteral("config/kivo.ini");
        QTest::newRow("installed with a kivo.ini beside: that one")
            << QStringList{QStringLiteral("prefix/share/kivo/demo/demo.dat"),
                           QStringLiteral("prefix/bin/kivo.ini")}
            << QStringLiteral("prefix/bin/kivo.ini");
    }
    void settingsFile()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, expected);
        QTemporaryDir root;
        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("prefix/bin"))));
        for (const QString &file : files)
            touch(root.filePath(file));
        const ProgramDir dir = ProgramDir::forProgramIn(root.filePath(QStringLiteral("prefix/bin")),
                                                        root.filePath(QStringLiteral("config")));
        QCOMPARE(dir.settingsFile(), root.filePath(expected));
    }

    // lang.ini: beside the program, then the configuration folder, then the installed data.
    void languageFile_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("expected");
        const QString data = QStringLiteral("prefix/share/kivo/lang.ini");
        const QString config = QStringLiteral("config/lang.ini");
        const QString beside = QStringLiteral("prefix/bin/lang.ini");
        QTest::newRow("none: beside, to be missed quietly") << QStringList() << beside;
        QTest::newRow("installed data only") << QStringList{data} << data;
        QTest::newRow("configuration over data") << QStringList{data, config} << config;
        QTest::newRow("beside over both") << QStringList{data, config, beside} << beside;
    }
    void languageFile()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, expected);
        QTemporaryDir root;
        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("prefix/bin"))));
        for (const QString &file : files)
            touch(root.filePath(file));
        const ProgramDir dir = ProgramDir::forProgramIn(root.filePath(QStringLiteral("prefix/bin")),
                                                        root.filePath(QStringLiteral("config")));
        QCOMPARE(dir.languageFile(), root.filePath(expected));
    }

    // Tests hand one directory for all three; it keeps its kivo.ini there.
    void oneDirectoryForAll()
    {
        QTemporaryDir root;
        const ProgramDir dir = ProgramDir::inDirectory(root.path());
        QCOMPARE(dir.settingsFile(), root.filePath(QStringLiteral("kivo.ini")));
    }
};

QTEST_GUILESS_MAIN(tst_ProgramDir)
#include "tst_program_dir.moc"
