#include "archive/Archive.h"
#include "archive/RomFile.h"

#include "ArchiveMaker.h"
#include "TestSupport.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace testsupport;

class tst_Archive : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void names_data();
    void names();
    void baseName_data();
    void baseName();
    void spectrumMember_data();
    void spectrumMember();
    void listing();
    void refused_data();
    void refused();
    void gzipMember_data();
    void gzipMember();
    void memberHead_data();
    void memberHead();
    void romFile_data();
    void romFile();
    void fifoNotWaitedOn();

private:
    QString file(const QString &name, const QByteArray &bytes) const
    {
        const QString path = m_dir.filePath(name);
        writeFile(path, bytes);
        return path;
    }

    QTemporaryDir m_dir;
};

constexpr qsizetype kEndRecord = 22;

// Bytes that do not compress, so a member's ratio stays near 1.
QByteArray noise(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(7);
    for (char &c : bytes)
        c = char(generator.bounded(256));
    return bytes;
}

quint32 crcOf(const QByteArray &bytes)
{
    return quint32(crc32_z(0, reinterpret_cast<const Bytef *>(bytes.constData()), bytes.size()));
}

// Catches an ending matched with its case, or without its dot, or a wrong list of kinds.
void tst_Archive::names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("archive");
    QTest::addColumn<bool>("spectrum");
    QTest::newRow("zip") << "jsw.zip" << true << false;
    QTest::newRow("ZIP upper") << "/a/JSW.ZIP" << true << false;
    QTest::newRow("gz mixed") << "jsw.tzx.Gz" << true << false;
    QTest::newRow("tgz is no gz") << "jsw.tgz" << false << false;
    QTest::newRow("zip inside a name") << "jsw.zip.txt" << false << false;
    QTest::newRow("no dot") << "backzip" << false << false;
    for (const char *ending : {"tap", "TZX", "z80", "Sna", "szx", "dsk", "TRD", "scl"})
        QTest::newRow(ending) << QStringLiteral("game.") + QLatin1String(ending) << false << true;
    QTest::newRow("scr is no rom") << "game.scr" << false << false;
    QTest::newRow("no dot before tap") << "gametap" << false << false;
}

void tst_Archive::names()
{
    QFETCH(QString, name);
    QFETCH(bool, archive);
    QFETCH(bool, spectrum);
    QCOMPARE(Archive::isArchiveName(name), archive);
    QCOMPARE(Archive::isSpectrumName(name), spectrum);
}

// Catches a member name that could place a file outside the directory it is written to.
void tst_Archive::baseName_data()
{
    QTest::addColumn<QString>("member");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "jsw.tap"
                           << "jsw.tap";
    QTest::newRow("nested") << "games/m/jsw.tap"
                            << "jsw.tap";
    QTest::newRow("climbing") << "../../../etc/jsw.tap"
                              << "jsw.tap";
    QTest::newRow("absolute") << "/tmp/jsw.tap"
                              << "jsw.tap";
    QTest::newRow("backslashes") << "..\\..\\jsw.tap"
                                 << "jsw.tap";
    QTest::newRow("dot dot alone") << "a/.."
                                   << "";
    QTest::newRow("directory") << "games/"
                               << "";
}

void tst_Archive::baseName()
{
    QFETCH(QString, member);
    QFETCH(QString, expected);
    QCOMPARE(Archive::baseName(member), expected);
}

// Catches the archive's order taken for name order, a case-sensitive ending or order, a
// directory or a non-Spectrum file chosen.
void tst_Archive::spectrumMember_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one") << QStringList{"jsw.tzx"} << "jsw.tzx";
    QTest::newRow("name order, not archive order")
        << QStringList{"readme.txt", "side b.tap", "Side A.TAP"} << "Side A.TAP";
    QTest::newRow("case ignored in order") << QStringList{"b.z80", "A.sna", "c.tap"} << "A.sna";
    QTest::newRow("same but case") << QStringList{"game.tap", "GAME.TAP"} << "GAME.TAP";
    QTest::newRow("nested") << QStringList{"docs/", "games/x/jsw.TZX", "z.txt"}
                            << "games/x/jsw.TZX";
    QTest::newRow("none") << QStringList{"readme.txt", "cover.jpg", "tap/"} << "";
    QTest::newRow("empty archive") << QStringList{} << "";
    QTest::newRow("climbing name kept as stored")
        << QStringList{"../../evil.tap"} << "../../evil.tap";
}

void tst_Archive::spectrumMember()
{
    QFETCH(QStringList, names);
    QFETCH(QString, expected);
    QList<ArchiveMember> members;
    for (const QString &name : names)
        members.append({name, 1, 1, 0, false, members.size()});
    const auto member = Archive::spectrumMember(members);
    QCOMPARE(member ? member->name : QString(), expected);
}

// Catches sizes, CRC or flags taken from the wrong field, and the file and memory readers
// disagreeing.
void tst_Archive::listing()
{
    const QByteArray tape = noise(5000);
    const QByteArray zeros(20000, '\0');
    const QByteArray zip = makeZip({{"dir/", {}},
                                    {"dir/jsw.tap", tape, true},
                                    {"zeros.tzx", zeros},
                                    {"secret.z80", tape, false, true}});
    const ArchiveListing fromBytes = Archive::listMembers(ArchiveSource::memory("x.zip", zip));
    const ArchiveListing fromFile = Archive::listMembers(file("listing.zip", zip));
    QVERIFY2(fromFile.ok, qPrintable(fromFile.reason));
    QCOMPARE(fromBytes.members, fromFile.members);
    const QList<ArchiveMember> &m = fromFile.members;
    QCOMPARE(m.size(), 4);
    QCOMPARE(m.at(1).name, "dir/jsw.tap");
    QCOMPARE(m.at(1).size, tape.size());
    QCOMPARE(m.at(1).compressedSize, tape.size());
    QCOMPARE(m.at(1).crc32, crcOf(tape));
    QCOMPARE(m.at(2).size, zeros.size());
    QVERIFY(m.at(2).compressedSize < 200);
    QCOMPARE(m.at(2).crc32, crcOf(zeros));
    QVERIFY(!m.at(1).encrypted && !m.at(2).encrypted && m.at(3).encrypted);
    const MemberBytes read = Archive::readMember(ArchiveSource::memory("x.zip", zip), m.at(2));
    QVERIFY2(read.ok, qPrintable(read.reason));
    QCOMPARE(read.bytes, zeros);
}

// Catches a hostile or damaged member inflated, or read without a word: each is refused with
// its reason, and the refusals by size and ratio come before any inflating (a member declaring
// 1 GB over a few bytes of data would otherwise fail later, with another reason).
void tst_Archive::refused_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");

    const QByteArray tape = noise(3000);
    const QByteArray stored = makeZip({{"jsw.tap", tape, true}});
    QTest::newRow("encrypted") << makeZip({{"jsw.tap", tape, false, true}}) << "x.zip"
                               << "jsw.tap is encrypted";
    QByteArray corrupt = stored;
    corrupt[stored.indexOf("jsw.tap") + 7 + 1000] ^= 1; // a byte of the stored data
    QTest::newRow("crc mismatch") << corrupt << "x.zip"
                                  << "jsw.tap fails its CRC check";
    QTest::newRow("truncated") << stored.left(stored.size() - 10) << "x.zip"
                               << "Not a zip archive";
    QTest::newRow("declares 1 GB") << withDeclaredSize(stored, 1u << 30) << "x.zip"
                                   << "jsw.tap is larger than 64 MB";
    QTest::newRow("declares one byte more than 64 MB")
        << withDeclaredSize(makeZip("big.tap", QByteArray(100000, '\0')), 64 * 1024 * 1024 + 1)
        << "x.zip"
        << "big.tap is larger than 64 MB";
    QTest::newRow("declares less than it holds") << withDeclaredSize(stored, 2000) << "x.zip"
                                                 << "jsw.tap is not the size the archive gives";
    // libzip's own check, on opening the member.
    QTest::newRow("declares more than it holds") << withDeclaredSize(stored, 3001) << "x.zip"
                                                 << "Zip archive inconsistent";
    // Zeros compress about 1030 : 1; 100 MB of them, made honestly, would also be too large.
    QTest::newRow("zip bomb by ratio")
        << makeZip("bomb.tap", QByteArray(60 * 1024 * 1024, '\0')) << "x.zip"
        << "bomb.tap is compressed more than 1000 : 1";
    QTest::newRow("ratio forged in the directory")
        << withDeclaredSize(stored, 3000 * 1001) << "x.zip"
        << "jsw.tap is compressed more than 1000 : 1";

    // An end record declaring more members than the file could hold would have libzip allocate
    // an entry for each before reading any.
    QByteArray manyMembers = stored;
    putLittleEndian32(manyMembers, stored.size() - kEndRecord + 8, 0xFFFFFFFF);
    QTest::newRow("declares 65535 members") << manyMembers << "x.zip"
                                            << "it declares more members than it can hold";
    QByteArray zip64 = QByteArray("PK\x06\x06") + QByteArray(52, '\0');
    putLittleEndian32(zip64, 24 + 4, 0x100); // 2^40 members
    putLittleEndian32(zip64, 32 + 4, 0x100);
    QByteArray locator = QByteArray("PK\x06\x07") + QByteArray(16, '\0');
    QByteArray end = QByteArray("PK\x05\x06") + QByteArray(18, '\0');
    putLittleEndian32(end, 8, 0xFFFFFFFF);
    QTest::newRow("zip64 declares 2^40 members") << zip64 + locator + end << "x.zip"
                                                 << "it declares more members than it can hold";

    const QByteArray gz = makeGzip(tape);
    QTest::newRow("gz cut short") << gz.left(gz.size() / 2) + gz.right(8) << "x.tap.gz"
                                  << "it is cut short";
    QByteArray gzCrc = gz;
    gzCrc[gz.size() - 8] ^= 1;
    QTest::newRow("gz crc mismatch") << gzCrc << "x.tap.gz"
                                     << "x.tap fails its CRC check";
    QByteArray gzSize = gz;
    putLittleEndian32(gzSize, gz.size() - 4, 2999);
    QTest::newRow("gz declares less") << gzSize << "x.tap.gz"
                                      << "x.tap is not the size the archive gives";
    QByteArray trailing = gz + QByteArray(8, '\0');
    putLittleEndian32(trailing, trailing.size() - 4, 3000);
    QTest::newRow("gz with other bytes after its data") << trailing << "x.tap.gz"
                                                        << "x.tap fails its CRC check";
    QTest::newRow("gz declares 1 GB") <<
        [&] {
            QByteArray bytes = gz;
            putLittleEndian32(bytes, gz.size() - 4, 1u << 30);
            return bytes;
        }() << "x.tap.gz"
                                      << "x.tap is larger than 64 MB";
    QTest::newRow("not gzip") << QByteArray("PK\x03\x04 not gzip at all") << "x.tap.gz"
                              << "it is not a gzip file";
}

void tst_Archive::refused()
{
    QFETCH(QByteArray, archive);
    QFETCH(QString, name);
    QFETCH(QString, reason);
    const ArchiveSource source = ArchiveSource::memory(name, archive);
    const ArchiveListing listing = Archive::listMembers(source);
    QString got = listing.reason;
    if (listing.ok) {
        QCOMPARE(listing.members.size(), 1);
        const MemberBytes bytes = Archive::readMember(source, listing.members.first());
        QVERIFY(!bytes.ok);
        QVERIFY(bytes.bytes.isEmpty());
        got = bytes.reason;
    }
    QCOMPARE(got, reason);
}

// Catches the wrong name for a .gz's member (which decides its kind), and its size and CRC not
// taken from the trailer.
void tst_Archive::gzipMember_data()
{
    QTest::addColumn<QString>("archiveName");
    QTest::addColumn<QByteArray>("storedName");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ending kept") << "jsw.tzx.gz" << QByteArray() << "jsw.tzx";
    QTest::newRow("upper case") << "JSW.TAP.GZ" << QByteArray("other.z80") << "JSW.TAP";
    QTest::newRow("stored name when ours has no kind")
        << "jsw.gz" << QByteArray("jsw.tap") << "jsw.tap";
    QTest::newRow("stored name's directory dropped")
        << "jsw.gz" << QByteArray("../up/jsw.sna") << "jsw.sna";
    QTest::newRow("neither has a kind") << "notes.gz" << QByteArray("notes.txt") << "notes";
}

void tst_Archive::gzipMember()
{
    QFETCH(QString, archiveName);
    QFETCH(QByteArray, storedName);
    QFETCH(QString, expected);
    const QByteArray tape = noise(70000);
    const QString path = file(archiveName, makeGzip(tape, storedName));
    const ArchiveListing listing = Archive::listMembers(path);
    QVERIFY2(listing.ok, qPrintable(listing.reason));
    QCOMPARE(listing.members.size(), 1);
    const ArchiveMember &member = listing.members.first();
    QCOMPARE(member.name, expected);
    QCOMPARE(member.size, tape.size());
    QCOMPARE(member.crc32, crcOf(tape));
    const MemberBytes bytes = Archive::readMember(ArchiveSource::file(path), member);
    QVERIFY2(bytes.ok, qPrintable(bytes.reason));
    QCOMPARE(bytes.bytes, tape);
}

// A head is the member's first bytes and no more, behind the same refusals; a member ending
// before the head does is refused. Catches a head inflated whole or read past its count.
void tst_Archive::memberHead_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    const QByteArray tape = noise(70000);
    QByteArray shortGz = makeGzip(tape.left(3000));
    putLittleEndian32(shortGz, shortGz.size() - 4, 5000);
    QTest::newRow("zip") << makeZip("jsw.tap", tape) << "x.zip"
                         << "";
    QTest::newRow("zip, stored") << makeZip({{"jsw.tap", tape, true}}) << "x.zip"
                                 << "";
    QTest::newRow("gz") << makeGzip(tape) << "x.tap.gz"
                        << "";
    QTest::newRow("encrypted") << makeZip({{"jsw.tap", tape, false, true}}) << "x.zip"
                               << "jsw.tap is encrypted";
    QTest::newRow("ends early") << shortGz << "x.tap.gz"
                                << "x.tap is not the size the archive gives";
}

void tst_Archive::memberHead()
{
    QFETCH(QByteArray, archive);
    QFETCH(QString, name);
    QFETCH(QString, reason);
    const ArchiveSource source = ArchiveSource::memory(name, archive);
    const ArchiveMember member = Archive::listMembers(source).members.value(0);
    const MemberBytes head = Archive::readMemberHead(source, member, 4096);
    QCOMPARE(head.reason, reason);
    QCOMPARE(head.bytes, head.ok ? noise(4096) : QByteArray());
}

// Catches the wrong bytes or kind name handed up, a plain file handled as an archive, and the
// archive's failures not worded as the user sees them.
void tst_Archive::romFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("kindName");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QByteArray tape = noise(1000);
    QTest::newRow("plain") << "jsw.tap" << tape << "jsw.tap" << tape << "";
    QTest::newRow("plain named like nothing") << "jsw.bin" << tape << "jsw.bin" << tape << "";
    QTest::newRow("zip") << "jsw.zip"
                         << makeZip({{"readme.txt", "r"}, {"Games/JSW.TZX", tape}, {"b.tap", "b"}})
                         << "b.tap" << QByteArray("b") << "";
    QTest::newRow("nested member")
        << "nested.ZIP" << makeZip("a/b/c/jsw.z80", tape) << "jsw.z80" << tape << "";
    QTest::newRow("gz") << "jsw.tap.gz" << makeGzip(tape) << "jsw.tap" << tape << "";
    QTest::newRow("no Spectrum file")
        << "docs.zip" << makeZip("readme.txt", tape) << "" << QByteArray()
        << "Unable to read docs.zip: it holds no tape, snapshot or disk image";
    QTest::newRow("damaged") << "bad.zip" << QByteArray("PK\x05\x06") << "" << QByteArray()
                             << "Unable to read bad.zip: Not a zip archive";
}

void tst_Archive::romFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, contents);
    QFETCH(QString, kindName);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString path = file(name, contents);
    const RomFileBytes rom = readRomFile(path);
    QCOMPARE(rom.reason, reason);
    QCOMPARE(rom.ok, reason.isEmpty());
    QCOMPARE(rom.name, kindName);
    QCOMPARE(rom.bytes, bytes);
    QCOMPARE(rom.archive, Archive::isArchiveName(name) ? path : QString());
}

// Catches an archive opened by name in libzip or zlib, which would wait for a writer forever.
void tst_Archive::fifoNotWaitedOn()
{
    for (const char *name : {"pipe.zip", "pipe.tap.gz"}) {
        const QString path = m_dir.filePath(QLatin1String(name));
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        QCOMPARE(readRomFile(path).reason,
                 QStringLiteral("Unable to read %1: It is not a regular file.").arg(name));
    }
}

QTEST_GUILESS_MAIN(tst_Archive)
#include "tst_Archive.moc"
