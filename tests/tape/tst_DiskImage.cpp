// TR-DOS disks and SCL archives read into their directories: files, kinds, starts and LINEs,
// lengths, deleted files, the label and free space, images cut short, and the SCL checksum;
// then every TRD and SCL of the shared collection.
#include "ArchiveMaker.h"
#include "DiskMaker.h"
#include "TestSupport.h"

#include "tape/DiskImage.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace testsupport;

namespace {

// "name kind start length sectors" per file, "deleted" and "no data" when so.
QStringList described(const DiskListing &listing, const QByteArray &image)
{
    QStringList lines;
    for (const DiskFile &file : listing.files) {
        QString line = QStringLiteral("%1 %2 %3 %4 %5")
                           .arg(file.name, file.kind)
                           .arg(file.start)
                           .arg(file.length)
                           .arg(file.sectors);
        if (file.deleted)
            line += QStringLiteral(" deleted");
        if (diskFileBytes(image, file).isEmpty())
            line += QStringLiteral(" no data");
        lines.append(line);
    }
    return lines;
}

const QByteArray kScreen(6912, '\x38');

QList<TrDosFileSpec> someFiles()
{
    const QByteArray program = basicWithLine(QByteArray(40, 'p'), 10);
    return {
        {"boot", 'B', 40, 40, program},
        {"SCREEN", 'C', 16384, 6912, kScreen},
        {"\x01old", 'C', 32768, 300, QByteArray(300, 'o')},
        {"tune", '#', 0, 1000, QByteArray(1000, 't')},
    };
}

} // namespace

Q_DECLARE_METATYPE(DiskFormat)

class TestDiskImage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Catches a field read from the wrong byte, a deleted file shown as live, a LINE taken from
    // bytes that are not the autostart mark, data looked for past the image, and a listing that
    // runs past the catalogue's 128 entries.
    void lists_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<DiskFormat>("format");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("warned");
        const QStringList some = {"boot B 10 40 1", "SCREEN C 16384 6912 27",
                                  "old C 32768 300 2 deleted", "tune # -1 1000 4"};
        QTest::newRow("trd") << makeTrd(someFiles()) << DiskFormat::TrDos << some << "MYDISK"
                             << false;
        QTest::newRow("scl") << makeScl(someFiles()) << DiskFormat::Scl << some << "" << false;
        QTest::newRow("scl, wrong checksum")
            << makeScl(someFiles(), 1) << DiskFormat::Scl << some << "" << true;
        QByteArray cut = makeScl(someFiles());
        cut.chop(4 * 256 + 4); // the tune's sectors and the checksum
        QTest::newRow("scl cut short")
            << cut << DiskFormat::Scl << some.first(3) + QStringList{"tune # -1 1000 4 no data"}
            << "" << true;
        // The screen starts on track 1 sector 1; the image ends in the middle of it.
        QTest::newRow("trd cut short")
            << makeTrd(someFiles(), "CUT", 17 * 256 + 100) << DiskFormat::TrDos
            << QStringList{"boot B 10 40 1", "SCREEN C 16384 6912 27",
                           "old C 32768 300 2 deleted no data", "tune # -1 1000 4 no data"}
            << "CUT" << false;
        QList<TrDosFileSpec> noLine = {{"prog", 'B', 40, 40, QByteArray(48, 'p')}};
        QTest::newRow("basic without autostart")
            << makeTrd(noLine) << DiskFormat::TrDos << QStringList{"prog B -1 40 1"} << "MYDISK"
            << false;
        QList<TrDosFileSpec> full;
        for (int i = 0; i < 128; ++i)
            full.append({QByteArray::number(i), 'C', 0, 1, "x"});
        QByteArray fullDisk = makeTrd(full);
        fullDisk[8 * 256] = 'Z'; // the disk-information sector right after the 128th entry
        QStringList fullNames;
        for (int i = 0; i < 128; ++i)
            fullNames.append(QStringLiteral("%1 C 0 1 1").arg(i));
        QTest::newRow("full catalogue")
            << fullDisk << DiskFormat::TrDos << fullNames << "MYDISK" << false;
    }
    void lists()
    {
        QFETCH(QByteArray, image);
        QFETCH(DiskFormat, format);
        const std::optional<DiskListing> listing =
            format == DiskFormat::Scl ? readSclImage(image) : readTrdImage(image);
        QVERIFY(listing);
        QCOMPARE(listing->format, format);
        QTEST(described(*listing, image), "files");
        QTEST(listing->label, "label");
        QTEST(!listing->warning.isEmpty(), "warned");
    }

    // Catches a file's bytes taken from the wrong place or beyond its length.
    void fileBytes()
    {
        for (const QByteArray &image : {makeTrd(someFiles()), makeScl(someFiles())}) {
            const std::optional<DiskListing> listing =
                image.startsWith("SINCLAIR") ? readSclImage(image) : readTrdImage(image);
            QVERIFY(listing);
            QCOMPARE(diskFileBytes(image, listing->files.at(1)), kScreen);
            QCOMPARE(diskFileBytes(image, listing->files.at(3)), QByteArray(1000, 't'));
        }
        QCOMPARE(makeTrd({}).size(), 655360);
        QCOMPARE(readTrdImage(makeTrd({}))->freeBytes, (160 * 16 - 16) * 256);
    }

    // Catches an image that is no disk read as one, or a count that runs past the image.
    void refuses_data()
    {
        QTest::addColumn<QByteArray>("image");
        QByteArray notTrDos = makeTrd(someFiles());
        notTrDos[8 * 256 + 0xE7] = 0;
        QTest::newRow("trd without its id") << notTrDos;
        QTest::newRow("trd shorter than its catalogue") << makeTrd(someFiles(), "", 8 * 256 + 200);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("scl signature only") << QByteArray("SINCLAIR");
        QTest::newRow("scl count past the end")
            << QByteArray("SINCLAIR\xFF") + QByteArray(100, 'x');
    }
    void refuses()
    {
        QFETCH(QByteArray, image);
        QVERIFY(!(image.startsWith("SINCLAIR") ? readSclImage(image) : readTrdImage(image)));
    }

    // Catches kivo-cli disk refusing a zipped disk, or printing a disk it cannot read.
    void commandLine_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("printed");
        const QByteArray listed = R"({"format":"TR-DOS","label":"MYDISK","free":644352,"files":[)"
                                  R"({"name":"SCREEN","kind":"C","start":16384,"length":6912,)"
                                  R"("sectors":27,"deleted":false}]})";
        const QList<TrDosFileSpec> screen = {someFiles().at(1)};
        QTest::newRow("trd") << "game.trd" << makeTrd(screen) << 0 << listed;
        QTest::newRow("zipped trd")
            << "game.zip" << makeZip("GAME.TRD", makeTrd(screen)) << 0 << listed;
        QTest::newRow("scl with a wrong checksum")
            << "game.scl" << makeScl(screen, 5) << 0 << QByteArray("The checksum is");
        QTest::newRow("no disk") << "game.trd" << QByteArray(100, 'x') << 1
                                 << QByteArray("game.trd is not a disk image (TRD or SCL)");
    }
    void commandLine()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, printed);
        QTemporaryDir dir;
        touch(dir.filePath(name), bytes);
        const CliRun run = runCli({"disk", dir.filePath(name)});
        QTEST(run.exitCode, "exitCode");
        if (printed.startsWith('{'))
            QCOMPARE(QJsonDocument::fromJson(run.out), QJsonDocument::fromJson(printed));
        else
            QVERIFY2((run.out + run.err).contains(printed), (run.out + run.err).constData());
    }

    // The collection's disks: each listed, with as many files as its own catalogue counts.
    void readsTheCollection()
    {
        const QString root = QStringLiteral(KIVO_CORPUS "/collection");
        if (!QFileInfo(root).isDir())
            QSKIP("the shared collection is not here");
        int seen = 0;
        QDirIterator it(root, {"*.trd", "*.TRD", "*.scl", "*.SCL"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QByteArray image = readFile(path);
            const bool scl = path.endsWith(QStringLiteral(".scl"), Qt::CaseInsensitive);
            const std::optional<DiskListing> listing =
                scl ? readSclImage(image) : readTrdImage(image);
            QVERIFY2(listing, qPrintable(path));
            QVERIFY2(listing->warning.isEmpty(), qPrintable(path + ": " + listing->warning));
            const int counted = quint8(scl ? image.at(8) : image.at(8 * 256 + 0xE4));
            QCOMPARE(listing->files.size(), counted);
            ++seen;
        }
        QVERIFY(seen > 0);
    }
};

QTEST_MAIN(TestDiskImage)
#include "tst_DiskImage.moc"
