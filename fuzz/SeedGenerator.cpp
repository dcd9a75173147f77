// kivo-fuzz-seeds: writes the seed inputs of every fuzz target with the program's own writers
// where it has them, and by hand where damage or another program's files are the point.
//
//   kivo-fuzz-seeds OUTDIR           small seeds, as tests/fuzz/corpus holds them
//   kivo-fuzz-seeds --large OUTDIR   inputs of a realistic size (thousands of entries, a long
//                                    tape), which libFuzzer would take long to grow by itself;
//                                    scripts/fuzz.sh writes them into build-fuzz/

#include "../tests/support/ArchiveMaker.h"
#include "../tests/support/DiskMaker.h"
#include "../tests/support/SnapshotMaker.h"
#include "core/DatFile.h"
#include "interchange/PocketDatabase.h"
#include "library/Library.h"
#include "settings/Language.h"
#include "settings/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdio>

using testsupport::z80Pack;

namespace {

// The same seeds on every run: a small linear congruential generator.
class Random
{
public:
    quint32 next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    int below(int n) { return int(next() % quint32(n)); }

private:
    quint32 m_state = 20240601u;
};

QString g_out;
int g_written = 0;

void put(const QString &target, const QString &name, const QByteArray &bytes)
{
    QDir().mkpath(g_out + u'/' + target);
    QFile file(g_out + u'/' + target + u'/' + name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
    ++g_written;
}

QByteArray le(quint32 value, int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
    return bytes;
}

// ---- catalogues

const QStringList kWords = {
    QStringLiteral("Jet"),   QStringLiteral("Manic"),   QStringLiteral("Knight"),
    QStringLiteral("Lore"),  QStringLiteral("Café"),    QStringLiteral("Über"),
    QStringLiteral("Sabre"), QStringLiteral("Wulf"),    QStringLiteral("Pssst"),
    QStringLiteral("Atic"),  QStringLiteral("€uro"),    QStringLiteral("Naïve"),
    QStringLiteral("Ant"),   QStringLiteral("Attack"),  QStringLiteral("Deathchase"),
    QStringLiteral("Þorn"),  QStringLiteral("Chuckie"), QStringLiteral("Egg"),
};

QString words(Random &random, int count)
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out.append(kWords.at(random.below(int(kWords.size()))));
    return out.join(u' ');
}

RomRecord randomEntry(Random &random, int index)
{
    RomRecord r;
    r.RomName = words(random, 1 + random.below(3)) + QStringLiteral(" %1").arg(index);
    r.RomType = random.below(130);
    r.Year = random.below(4) == 0 ? 0 : 1982 + random.below(15);
    r.Publisher = words(random, 1 + random.below(2));
    r.Authors = random.below(3) == 0 ? QString()
                                     : words(random, 2) + QStringLiteral("\r\n") + words(random, 2);
    r.Notes = random.below(2) == 0
                  ? QString()
                  : words(random, 6) + QStringLiteral("\r\n\r\n") + words(random, 4);
    r.RomFile = QStringLiteral("game%1.").arg(index) +
                (random.below(2) ? QStringLiteral("tzx") : QStringLiteral("TAP"));
    if (random.below(2))
        r.Screenshots = QStringLiteral("shot%1.scr,shot%1b.gif").arg(index);
    if (random.below(4) == 0)
        r.AudioFile = QStringLiteral("tune%1.mp3").arg(index);
    return r;
}

RomDatabase randomCatalogue(int entries, quint32 seed)
{
    Random random;
    for (quint32 i = 0; i < seed; ++i)
        random.next();
    RomDatabase database;
    for (int i = 0; i < entries; ++i)
        database.Add(randomEntry(random, i));
    return database;
}

// Version-1 entries keep whole paths; the upgrade moves their directories to the search paths.
RomDatabase versionOneCatalogue()
{
    RomDatabase database;
    RomRecord a;
    a.RomName = QStringLiteral("Jetpac");
    a.RomFile = QStringLiteral("C:\\Games\\Speccy\\jetpac.tap");
    a.Screenshots = QStringLiteral("C:\\Shots\\a.gif,C:\\Shots\\b.scr");
    a.RomType = 8;
    a.Year = 1983;
    database.Add(a);
    RomRecord b;
    b.RomName = QStringLiteral("Atic Atac");
    b.RomFile = QStringLiteral("c:\\games\\SPECCY\\atic.tzx");
    b.Screenshots = QStringLiteral("/home/me/shots/atic.scr");
    b.RomType = 12;
    database.Add(b);
    return database;
}

void catalogueSeeds(bool large)
{
    if (large) {
        for (const int n : {2000, 3500}) {
            const RomDatabase database = randomCatalogue(n, quint32(n));
            put(QStringLiteral("dat"), QStringLiteral("large-%1.dat").arg(n),
                serializeDatabase(database, kCurrentDatabaseVersion));
            put(QStringLiteral("pocket"), QStringLiteral("large-%1.kvl").arg(n),
                pocketExportBytes(database));
        }
        put(QStringLiteral("dat"), QStringLiteral("large-v1.dat"),
            serializeDatabase(randomCatalogue(2500, 7), 1));
        return;
    }
    const RomDatabase small = randomCatalogue(12, 1);
    const QByteArray v2 = serializeDatabase(small, kCurrentDatabaseVersion);
    put(QStringLiteral("dat"), QStringLiteral("entries-12.dat"), v2);
    put(QStringLiteral("dat"), QStringLiteral("entries-120.dat"),
        serializeDatabase(randomCatalogue(120, 2), kCurrentDatabaseVersion));
    put(QStringLiteral("dat"), QStringLiteral("empty.dat"),
        serializeDatabase(RomDatabase(), kCurrentDatabaseVersion));
    put(QStringLiteral("dat"), QStringLiteral("version1.dat"),
        serializeDatabase(versionOneCatalogue(), 1));
    put(QStringLiteral("dat"), QStringLiteral("version1-random.dat"),
        serializeDatabase(randomCatalogue(20, 3), 1));
    // Version 0 carries no record data, whatever its count.
    put(QStringLiteral("dat"), QStringLiteral("version0.dat"),
        QByteArrayLiteral("KIVO") + le(0, 4) + le(7, 4));
    put(QStringLiteral("dat"), QStringLiteral("version3.dat"),
        QByteArrayLiteral("KIVO") + le(3, 4) + le(1, 4));
    put(QStringLiteral("dat"), QStringLiteral("bad-magic.dat"),
        QByteArrayLiteral("KIVA") + v2.mid(4));
    // Damage: cut in a record, a count beyond the file, a count of zero, bytes after the last
    // record, a negative string length, a string running past the end.
    put(QStringLiteral("dat"), QStringLiteral("truncated.dat"), v2.left(v2.size() * 2 / 3));
    QByteArray bigCount = v2;
    qToLittleEndian<qint32>(0x7FFFFFFF, bigCount.data() + 8);
    put(QStringLiteral("dat"), QStringLiteral("count-huge.dat"), bigCount);
    QByteArray zeroCount = v2;
    qToLittleEndian<qint32>(0, zeroCount.data() + 8);
    put(QStringLiteral("dat"), QStringLiteral("count-zero.dat"), zeroCount);
    put(QStringLiteral("dat"), QStringLiteral("trailing-bytes.dat"), v2 + QByteArray(40, 'x'));
    QByteArray negative = v2;
    qToLittleEndian<qint32>(-5, negative.data() + 12);
    put(QStringLiteral("dat"), QStringLiteral("negative-length.dat"), negative);
    QByteArray longString = v2;
    qToLittleEndian<qint32>(0x40000000, longString.data() + 12);
    put(QStringLiteral("dat"), QStringLiteral("string-past-end.dat"), longString);
    // An unnamed record between two entries (only damage makes one).
    const QByteArray unnamed = le(0, 4) + le(3, 4) + le(0, 4) + le(1985, 4) + le(7, 4) + "no name" +
                               le(0, 4) + le(0, 4) + le(0, 4) + le(0, 4);
    put(QStringLiteral("dat"), QStringLiteral("unnamed-between.dat"),
        QByteArrayLiteral("KIVO") + le(2, 4) + le(4, 4) +
            serializeDatabase(randomCatalogue(1, 5), 2).mid(12) + unnamed +
            serializeDatabase(randomCatalogue(1, 6), 2).mid(12));

    // Pocket files: our own exports, and lines a hand or another program might leave.
    put(QStringLiteral("pocket"), QStringLiteral("entries-12.kvl"), pocketExportBytes(small));
    put(QStringLiteral("pocket"), QStringLiteral("entries-120.kvl"),
        pocketExportBytes(randomCatalogue(120, 2)));
    const QByteArray sep(1, kPocketSeparator);
    const auto line = [&](const QList<QByteArray> &fields) { return fields.join(sep) + "\r\n"; };
    QByteArray hand = kPocketHeader + "\r\n";
    hand += line({"Jetpac", "15", "jet.scr", "1983", "Fly%%NL%%and shoot", "jetpac.tap", "Ultimate",
                  "Tim%%NL%%Chris", "jet.mp3"});
    hand += "\r\n   \r\n";
    hand += line({"Short", "1", "2"});                                      // too few fields
    hand += line({"Bad Type", "x", "", "1984", "", "", "", "", ""});        // type not a number
    hand += line({"Big Year", "1", "", "99999999999", "", "", "", "", ""}); // out of range
    hand += line({"", "1", "", "1984", "", "", "", "", ""});                // no name
    hand += line({"Signs", "+7", "", " -12 ", "lone\rCR", "", "", "lone\nLF", ""});
    hand += line({"Extra", "3", "", "1990", "", "", "", "", "", "tenth", "eleventh"});
    hand += "no separator on this line\r\n";
    hand += line({"Caf\xE9 \x80", "4", "", "1985", "%%NL%%%%NL%%", "f.tzx", "P", "A", "t.wav"});
    hand += line({"No line end", "5", "", "1986", "", "", "", "", ""}).chopped(2);
    put(QStringLiteral("pocket"), QStringLiteral("hand-made.kvl"), hand);
    put(QStringLiteral("pocket"), QStringLiteral("lf-only.kvl"),
        QByteArray(hand).replace("\r\n", "\n"));
}

// ---- SGD

QByteArray sgdRecord(const QByteArray &name, const QByteArray &year, const QByteArray &publisher,
                     const QByteArray &file, const QByteArray &genre, const QByteArray &authors)
{
    QByteArray record(252, ' ');
    const auto place = [&](int offset, int width, const QByteArray &text) {
        record.replace(offset, width, text.leftJustified(width, ' ', true));
    };
    place(0, 37, name);
    place(37, 5, year);
    place(42, 37, publisher);
    place(79, 14, "48K");
    place(93, 13, file);
    place(106, 8, genre);
    place(114, 36, "Joystick, Keyboard");
    place(150, 100, authors);
    record.replace(250, 2, "\r\n");
    return record;
}

void sgdSeeds(bool large)
{
    static const QList<QByteArray> kGenres = {"ARC", "adv", "Arc/Adv", "sim", "STR", "spo",
                                              "brd", "lrn", "dem",     "bld", "xyz", ""};
    Random random;
    const auto randomRecord = [&](int i) {
        return sgdRecord(words(random, 2).toLatin1() + ' ' + QByteArray::number(i),
                         random.below(5) ? QByteArray::number(1982 + random.below(12)) : "19 8",
                         words(random, 1).toLatin1(),
                         "GAME" + QByteArray::number(i % 1000) + ".TAP",
                         kGenres.at(random.below(int(kGenres.size()))),
                         words(random, 2).toLatin1() + "\r\n" + words(random, 1).toLatin1());
    };
    if (large) {
        QByteArray bytes;
        for (int i = 0; i < 1500; ++i)
            bytes += randomRecord(i);
        put(QStringLiteral("sgd"), QStringLiteral("large-1500.dat"), bytes);
        return;
    }
    QByteArray bytes;
    for (int i = 0; i < 6; ++i)
        bytes += randomRecord(i);
    bytes += sgdRecord("", "1990", "Blank name", "X.TAP", "arc", "");
    bytes += sgdRecord("   Padded   ", " 1 9 8 4", "  Pub  ", "A B C.TZX", " ArC ", "Two\r\nLines");
    bytes += sgdRecord("Cafe \xE9\x80", "-12", "", "", "lrn", "");
    bytes += sgdRecord("Last record", "1999", "never an entry", "", "", "");
    put(QStringLiteral("sgd"), QStringLiteral("records-10.dat"), bytes);
    // Rounding of the record count: just under and over half a record more, and exactly half.
    put(QStringLiteral("sgd"), QStringLiteral("half-record-more.dat"), bytes.left(252 * 3 + 126));
    put(QStringLiteral("sgd"), QStringLiteral("over-half-more.dat"), bytes.left(252 * 2 + 127));
    put(QStringLiteral("sgd"), QStringLiteral("under-half.dat"), bytes.left(125));
    put(QStringLiteral("sgd"), QStringLiteral("one-record.dat"), bytes.left(252));

    put(QStringLiteral("sgd_ini"), QStringLiteral("windows.ini"),
        "[SGD]\r\nGameDir=C:\\Games\\Spectrum\r\nScrDir=C:\\Games\\Shots\\\r\n"
        "GameDir=D:\\More Games\\, GameDir=E:\\Tapes\\\r\n");
    put(QStringLiteral("sgd_ini"), QStringLiteral("quoted.ini"),
        "[SGD]\nGameDir=\"/home/me/zx tapes\",\"GameDir=/srv/a,b\" trailing, GameDir=rel\n"
        "  \"unclosed GameDir=/x\n,,GameDir=,GameDir= \n");
    put(QStringLiteral("sgd_ini"), QStringLiteral("cp1252.ini"),
        "[SGD]\r\nGameDir=C:\\Jeux\\\xE9t\xE9\\\r\nGameDir=c:\\games\\spectrum\\\r\n");
    put(QStringLiteral("sgd_ini"), QStringLiteral("utf8.ini"),
        QStringLiteral("[SGD]\nGameDir=/home/иван/roms\nGameDir=/HOME/ИВАН/ROMS/\n").toUtf8());
}

// ---- profile files

void settingsSeeds(bool large)
{
    SettingsFile s;
    s.winw = 12000;
    s.winh = 8000.5f;
    s.winx = 1600.0f / 3.0f;
    s.winy = -99;
    s.Defaultemu = 1;
    s.Defaultmplayer = 0;
    s.view = 4;
    s.SSSize = 1;
    s.lastdb = QStringLiteral("/home/me/zx/games.dat");
    s.loadlast = 1;
    s.emulators = {{QStringLiteral("Fuse"), QStringLiteral("/usr/bin/fuse-sdl")},
                   {QStringLiteral(" \"Quoted\" "), QStringLiteral("/opt/emu dir/run")}};
    s.musicPlayers = {{QStringLiteral("mpv"), QStringLiteral("/usr/bin/mpv")}};
    s.RomPaths = {QStringLiteral("/home/me/tapes/"), QStringLiteral("C:\\Games\\Speccy\\")};
    s.ScreenshotPaths = {QStringLiteral("/home/иван/shots/")};
    s.head = {2000, 1500.25f, 0};
    s.datFiles = {QStringLiteral("/home/me/dats/Sinclair - ZX Spectrum.dat")};
    if (large) {
        for (int i = 0; i < 3000; ++i)
            s.RomPaths.append(QStringLiteral("/srv/spectrum/collection/part%1/").arg(i));
        put(QStringLiteral("settings"), QStringLiteral("large-paths.ini"), settingsFileBytes(s));
        return;
    }
    put(QStringLiteral("settings"), QStringLiteral("written.ini"), settingsFileBytes(s));
    put(QStringLiteral("settings"), QStringLiteral("empty.ini"), QByteArray());
    put(QStringLiteral("settings"), QStringLiteral("hand-made.ini"),
        "; edited by hand\r\n[KIVO]\r\n WinState = 0 \r\nwinw=1e40\r\nwinh=-5\r\nwinx=  12 34 \r\n"
        "winy=nan\r\nview='3'\r\nlastdb=\"/a b/c.dat\"\r\nlastdb=second wins not\r\n"
        "head001=`\\r\\n`\r\n[emulators]\r\nnum=3\r\nemu00=One\r\nfile00=/bin/one\r\n"
        "emu02=Three\r\n[Emulators]\r\nnum=1\r\n[RomPaths]\r\nnum=99999999\r\npath00=/x/\r\n"
        "[ScreenshotPaths]\r\nnum=-4\r\n[MusicPaths\r\nnum=2\r\npath01=" +
            QByteArray(300, 'm') + "\r\n");
    put(QStringLiteral("settings"), QStringLiteral("cp1252.ini"),
        "[kivo]\nwinstate=2\nlastdb=C:\\Jeux\\caf\xE9.dat\n[RomPaths]\nnum=1\npath00=C:\\\x80\\\n");
}

void languageSeeds(bool large)
{
    const QList<LanguageKey> keys = languageKeys();
    ProfileFile file;
    for (qsizetype i = 0; i < keys.size(); ++i)
        file.write(keys.at(i).section, keys.at(i).key,
                   QStringLiteral("«") + keys.at(i).defaultText + QStringLiteral("»"));
    if (large) {
        ProfileFile big = file;
        for (int i = 0; i < 4000; ++i)
            big.write(QStringLiteral("extra%1").arg(i % 40), QStringLiteral("key%1").arg(i),
                      QStringLiteral("value %1 with some words in it").arg(i));
        put(QStringLiteral("language"), QStringLiteral("large.ini"), big.toBytes());
        return;
    }
    put(QStringLiteral("language"), QStringLiteral("every-key.ini"), file.toBytes());
    put(QStringLiteral("language"), QStringLiteral("hand-made.ini"),
        "[menuFile]\r\nmenuTitle=  'Fichier'  \r\nfile0=\r\nfile1=`  spaced  `\r\nfile2=`a\\nb`\r\n"
        "[MENUFILE]\r\nfile3=ignored\r\n[rom_types]\r\ntype000=\"\"\r\ntype129=" +
            QByteArray(260, 'z') + "\r\ntype130=none\r\n[kivoLang]\r\nviews004=Vue \xE9\r\n");
}

// ---- tapes

QByteArray checksum(const QByteArray &bytes)
{
    char sum = 0;
    for (const char c : bytes)
        sum = char(sum ^ c);
    return QByteArray(1, sum);
}

QByteArray spectrumHeader(int type, const QByteArray &name, int length, int param1)
{
    const QByteArray bytes = QByteArray(1, '\0') + char(type) + name.leftJustified(10, ' ', true) +
                             le(quint32(length), 2) + le(quint32(param1), 2) + le(32768, 2);
    return bytes + checksum(bytes);
}

QByteArray spectrumData(const QByteArray &payload)
{
    const QByteArray bytes = QByteArray(1, char(0xFF)) + payload;
    return bytes + checksum(bytes);
}

QByteArray tapBlock(const QByteArray &spectrum)
{
    return le(quint32(spectrum.size()), 2) + spectrum;
}

QByteArray standardBlock(const QByteArray &spectrum)
{
    return QByteArray(1, 0x10) + le(1000, 2) + le(quint32(spectrum.size()), 2) + spectrum;
}

QByteArray archiveInfo(const QList<QPair<int, QByteArray>> &texts)
{
    QByteArray body(1, char(texts.size()));
    for (const auto &[type, text] : texts)
        body += char(type) + QByteArray(1, char(text.size())) + text;
    return QByteArray(1, 0x32) + le(quint32(body.size()), 2) + body;
}

// One block of every ID the reader knows, and one it does not.
QByteArray everyBlock()
{
    const QByteArray data = spectrumData("\x01\x02\x03\x04");
    QByteArray t = QByteArrayLiteral("ZXTape!\x1A\x01\x14");
    t += standardBlock(spectrumHeader(3, "every", 4, 32768));
    t += standardBlock(data);
    t += QByteArray(1, 0x11) + le(2168, 2) + le(667, 2) + le(735, 2) + le(855, 2) + le(1710, 2) +
         le(3223, 2) + QByteArray(1, 8) + le(1000, 2) + le(quint32(data.size()), 3) + data;
    t += QByteArray(1, 0x12) + le(2168, 2) + le(3223, 2);
    t += QByteArray(1, 0x13) + QByteArray(1, 2) + le(667, 2) + le(735, 2);
    t += QByteArray(1, 0x14) + le(855, 2) + le(1710, 2) + QByteArray(1, 8) + le(0, 2) +
         le(quint32(data.size()), 3) + data;
    t += QByteArray(1, 0x15) + le(79, 2) + le(0, 2) + QByteArray(1, 8) + le(3, 3) + "\xAA\x55\xFF";
    t += QByteArray(1, 0x18) + le(10, 4) + le(0, 2) + le(44100, 3) + QByteArray(1, 1) + le(0, 4);
    t += QByteArray(1, 0x19) + le(14, 4) + QByteArray(14, '\0');
    t += QByteArray(1, 0x20) + le(0, 2);
    t += QByteArray(1, 0x21) + QByteArray(1, 5) + "Group";
    t += QByteArray(1, 0x22);
    t += QByteArray(1, 0x23) + le(0xFFFE, 2);
    t += QByteArray(1, 0x24) + le(3, 2);
    t += QByteArray(1, 0x25);
    t += QByteArray(1, 0x26) + le(2, 2) + le(1, 2) + le(0xFFFF, 2);
    t += QByteArray(1, 0x27);
    t += QByteArray(1, 0x28) + le(6, 2) + QByteArray(1, 1) + le(1, 2) + QByteArray(1, 2) + "Go";
    t += QByteArray(1, 0x2A) + le(0, 4);
    t += QByteArray(1, 0x2B) + le(1, 4) + QByteArray(1, 1);
    t += QByteArray(1, 0x30) + QByteArray(1, 11) + "Side A\rend\x07";
    t += QByteArray(1, 0x31) + QByteArray(1, 5) + QByteArray(1, 4) + "Stop";
    t += archiveInfo({{0, "Every Block"},
                      {1, "Kivo"},
                      {2, "One\rTwo"},
                      {3, "1987 (c)"},
                      {0xFF, "Line one\r\rLine three"},
                      {0x08, "Origin"}});
    t += QByteArray(1, 0x33) + QByteArray(1, 2) + QByteArray(6, '\x01');
    t += QByteArray(1, 0x34) + QByteArray(8, '\0');
    t += QByteArray(1, 0x35) + QByteArray("POKEs           ") + le(3, 4) + "abc";
    t += QByteArray(1, 0x40) + QByteArray(1, 0) + le(4, 3) + "snap";
    t += QByteArray(1, 0x5A) + QByteArray("XTape!\x1A\x01\x14");
    t += QByteArray(1, char(0x4B)) + le(2, 4) + "??";
    return t;
}

QByteArray basicTap(const QByteArray &name, int lines)
{
    QByteArray program;
    for (int i = 1; i <= lines; ++i) {
        const QByteArray text = "\xF5\"" + name + " line " + QByteArray::number(i) + "\"\r";
        program += char(0) + QByteArray(1, char(i * 10)) + le(quint32(text.size()), 2) + text;
    }
    return tapBlock(spectrumHeader(0, name, int(program.size()), 10)) +
           tapBlock(spectrumData(program));
}

// A tape as zmakebas (the tool the tape tests use) saves a BASIC program; none without it.
void zmakebasSeed()
{
    const QString zmakebas = QStandardPaths::findExecutable(QStringLiteral("zmakebas"));
    QTemporaryDir dir;
    if (zmakebas.isEmpty() || !dir.isValid()) {
        std::fprintf(stderr, "zmakebas not found: no zmakebas-basic.tap\n");
        return;
    }
    QFile listing(dir.filePath(QStringLiteral("seed.bas")));
    if (!listing.open(QIODevice::WriteOnly))
        return;
    listing.write("10 REM Kivo fuzz seed\n"
                  "20 FOR i=1 TO 10: PRINT AT i,i;\"Kivo\";i: NEXT i\n"
                  "30 DATA 1,2,3: READ a,b,c\n"
                  "40 LET a$=\"caf\\e\": PRINT a$\n"
                  "50 BEEP 0.1,12: GO TO 10\n");
    listing.close();
    const QString tap = dir.filePath(QStringLiteral("seed.tap"));
    QProcess process;
    process.start(zmakebas,
                  {QStringLiteral("-a"), QStringLiteral("10"), QStringLiteral("-n"),
                   QStringLiteral("kivoseed"), QStringLiteral("-o"), tap, listing.fileName()});
    QFile out(tap);
    if (!process.waitForFinished() || process.exitCode() != 0 || !out.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "zmakebas failed: no zmakebas-basic.tap\n");
        return;
    }
    put(QStringLiteral("tape"), QStringLiteral("zmakebas-basic.tap"), out.readAll());
}

void tapeSeeds(bool large)
{
    Random random;
    if (large) {
        QByteArray tzx = QByteArrayLiteral("ZXTape!\x1A\x01\x14");
        QByteArray tap;
        for (int i = 0; i < 2500; ++i) {
            QByteArray payload(random.below(64), '\0');
            for (char &c : payload)
                c = char(random.next());
            const QByteArray name = "part" + QByteArray::number(i);
            tzx += standardBlock(spectrumHeader(3, name, int(payload.size()), 16384 + i));
            tzx += standardBlock(spectrumData(payload));
            if (i % 50 == 0)
                tzx += archiveInfo({{0, name}, {0xFF, "Comment " + name}});
            if (i % 7 == 0)
                tzx += QByteArray(1, 0x20) + le(500, 2);
            tap += tapBlock(spectrumHeader(i % 4, name, int(payload.size()), i));
            if (i % 13 != 0) // now and then a header without its data
                tap += tapBlock(spectrumData(payload));
        }
        put(QStringLiteral("tape"), QStringLiteral("large.tzx"), tzx);
        put(QStringLiteral("tape"), QStringLiteral("large.tap"), tap);
        put(QStringLiteral("tape"), QStringLiteral("one-byte-blocks.tzx"),
            QByteArrayLiteral("ZXTape!\x1A\x01\x14") + QByteArray(200000, 0x22));
        return;
    }
    const QByteArray every = everyBlock();
    put(QStringLiteral("tape"), QStringLiteral("every-block.tzx"), every);
    put(QStringLiteral("tape"), QStringLiteral("every-block-cut.tzx"),
        every.left(every.size() - 40));
    put(QStringLiteral("tape"), QStringLiteral("header-only.tzx"),
        QByteArrayLiteral("ZXTape!\x1A\x01\x14"));
    put(QStringLiteral("tape"), QStringLiteral("length-beyond-file.tzx"),
        QByteArrayLiteral("ZXTape!\x1A\x01\x14") + QByteArray(1, 0x35) + QByteArray(16, 'x') +
            le(0xFFFFFFF0u, 4) + "short");
    const QByteArray basic = basicTap("café", 5);
    const QByteArray code = tapBlock(spectrumHeader(3, "screen", 6912, 16384)) +
                            tapBlock(spectrumData(QByteArray(6912, '\x55')));
    const QByteArray arrays =
        tapBlock(spectrumHeader(1, "numbers", 3, 0x81)) + tapBlock(spectrumData("\x01\x02\x03")) +
        tapBlock(spectrumHeader(2, "letters", 3, 0xC1)) + tapBlock(spectrumData("abc"));
    put(QStringLiteral("tape"), QStringLiteral("basic.tap"), basic);
    put(QStringLiteral("tape"), QStringLiteral("program-code-arrays.tap"), basic + code + arrays);
    put(QStringLiteral("tape"), QStringLiteral("header-without-data.tap"),
        tapBlock(spectrumHeader(0, "lonely", 10, 0)) + basic + tapBlock(QByteArray()) +
            tapBlock("\x07"));
    put(QStringLiteral("tape"), QStringLiteral("cut-short.tap"), (basic + code).left(300));
    QByteArray fromTap = QByteArrayLiteral("ZXTape!\x1A\x01\x14");
    fromTap += archiveInfo({{0, "Demo"}, {1, "Kivo"}, {3, "1990"}});
    for (const QByteArray &block :
         {spectrumHeader(0, "café", 20, 10), spectrumData(QByteArray(20, 'p')),
          spectrumHeader(3, "code", 6912, 16384)})
        fromTap += standardBlock(block);
    put(QStringLiteral("tape"), QStringLiteral("archive-and-program.tzx"), fromTap);
    zmakebasSeed();
}

// ---- loading screens: a small file of each kind that holds a screen, and the large 128K ones

// A screen with runs (which the Z80 packing shortens), ED bytes and noise.
QByteArray loadingScreen(Random &random)
{
    QByteArray screen(6912, '\0');
    for (int i = 0; i < 6912; ++i) {
        const int cell = i / 32;
        screen[i] = cell % 4 == 0 ? char(0xED) : cell % 3 == 0 ? char(random.next()) : char(cell);
    }
    return screen;
}

QByteArray z80Page(int number, const QByteArray &page)
{
    const QByteArray packed = z80Pack(page);
    return le(quint32(packed.size()), 2) + char(number) + packed;
}

QByteArray szxChunk(const char *id, const QByteArray &data)
{
    return QByteArray(id, 4) + le(quint32(data.size()), 4) + data;
}

QByteArray szxRamp(int bank, const QByteArray &page, bool compressed)
{
    return szxChunk("RAMP", le(compressed ? 1 : 0, 2) + char(bank) +
                                (compressed ? qCompress(page).mid(4) : page));
}

void loadingScreenSeeds(bool large)
{
    const QString target = QStringLiteral("loading_screen");
    Random random;
    const QByteArray screen = loadingScreen(random);
    const QByteArray page5 = screen + QByteArray(16384 - 6912, '\0');
    const QByteArray page7 = loadingScreen(random) + QByteArray(16384 - 6912, '\x07');
    const QByteArray ram48 = page5 + QByteArray(32768, '\0');
    if (large) {
        // 128K SNA, the shadow screen shown, with bank 0 and with bank 2 paged.
        for (const int paged : {0, 2}) {
            QByteArray sna = QByteArray(27, '\0') + page5 + QByteArray(16384, '\x02') +
                             (paged == 0 ? QByteArray(16384, '\0') : QByteArray(16384, '\x02'));
            sna += le(0x8000, 2) + char(0x18 | paged) + char(0);
            for (const int bank : {0, 1, 3, 4, 6, 7}) {
                if (bank != paged || paged == 2)
                    sna += bank == 7 ? page7 : QByteArray(16384, char(bank));
            }
            put(target, QStringLiteral("shadow-paged-%1.sna").arg(paged), sna);
        }
        return;
    }
    const QByteArray tapScreen =
        tapBlock(spectrumHeader(3, "screen", 6912, 16384)) + tapBlock(spectrumData(screen));
    put(target, QStringLiteral("basic-then-screen.tap"), basicTap("loader", 2) + tapScreen);
    QByteArray tzx = QByteArrayLiteral("ZXTape!\x1A\x01\x14");
    tzx += standardBlock(spectrumHeader(0, "loader", 4, 10)) + standardBlock(spectrumData("ab"));
    tzx += QByteArray(1, 0x20) + le(500, 2);
    tzx += QByteArray(1, 0x11) + QByteArray(15, '\x01') + le(19, 3) +
           spectrumHeader(3, "screen", 6912, 16384);
    tzx += QByteArray(1, 0x14) + QByteArray(7, '\x01') + le(6914, 3) + spectrumData(screen);
    put(target, QStringLiteral("turbo-and-pure-data.tzx"), tzx);
    put(target, QStringLiteral("headerless.tzx"),
        QByteArrayLiteral("ZXTape!\x1A\x01\x14") + standardBlock(spectrumData(screen)));
    put(target, QStringLiteral("48k.sna"), QByteArray(27, '\0') + ram48);

    QByteArray v1(30, '\0');
    v1[6] = char(0x34);
    v1[12] = char(0x20);
    put(target, QStringLiteral("v1-packed.z80"),
        v1 + z80Pack(ram48) + QByteArray("\0\xED\xED\0", 4));
    QByteArray v3(30 + 2 + 54, '\0');
    v3[30] = char(54);
    v3[34] = char(4); // a 128K
    v3[35] = char(0x08);
    v3 += z80Page(10, page7) + z80Page(8, page5) + le(0xFFFF, 2) + char(3) +
          QByteArray(16384, '\x03');
    put(target, QStringLiteral("v3-128k-shadow.z80"), v3);
    QByteArray v2(30 + 2 + 23, '\0');
    v2[30] = char(23);
    v2 += z80Page(4, QByteArray(16384, '\0')) + z80Page(8, page5);
    put(target, QStringLiteral("v2-48k.z80"), v2);

    const QByteArray spcr =
        szxChunk("SPCR", QByteArray(1, '\0') + char(0x08) + QByteArray(6, '\0'));
    put(target, QStringLiteral("48k-packed.szx"),
        QByteArray("ZXST\x01\x04\x01\x00", 8) + spcr + szxRamp(5, page5, true));
    put(target, QStringLiteral("128k-shadow.szx"),
        QByteArray("ZXST\x01\x04\x02\x00", 8) + spcr + szxRamp(5, page5, true) +
            szxRamp(7, page7, false));
}

// ---- ClrMamePro DATs: one of each convention, the syntax's corners, and the damaged cases

QByteArray clrMameProGame(const QByteArray &name, const QByteArray &year,
                          const QByteArray &manufacturer, const QByteArray &roms)
{
    QByteArray game = "game (\n\tname \"" + name + "\"\n";
    if (!year.isEmpty())
        game += "\tyear \"" + year + "\"\n";
    if (!manufacturer.isEmpty())
        game += "\tmanufacturer \"" + manufacturer + "\"\n";
    return game + roms + ")\n\n";
}

QByteArray clrMameProRom(const QByteArray &name, quint32 size, quint32 crc)
{
    return "\trom ( name \"" + name + "\" size " + QByteArray::number(size) + " crc " +
           QByteArray::number(crc, 16).rightJustified(8, '0').toUpper() +
           " md5 00112233445566778899AABBCCDDEEFF sha1 "
           "00112233445566778899AABBCCDDEEFF00112233 )\n";
}

void clrMameProSeeds(bool large)
{
    const QString target = QStringLiteral("clrmamepro");
    const QByteArray header = "clrmamepro (\n\tname \"Sinclair - ZX Spectrum\"\n\tversion "
                              "\"2016.5.1\"\n\tcomment \"made for fuzzing\"\n)\n\n";
    if (large) {
        Random random;
        QByteArray dat = header;
        for (int i = 0; i < 20000; ++i) {
            const QByteArray name = words(random, 1 + random.below(3)).toUtf8() + ' ' +
                                    QByteArray::number(i) + " (" + words(random, 1).toUtf8() +
                                    " Ltd)";
            dat += clrMameProGame(name, QByteArray::number(1982 + random.below(15)),
                                  words(random, 2).toUtf8() + '|' + words(random, 2).toUtf8(),
                                  clrMameProRom(QByteArray::number(i) + ".tzx",
                                                1000 + random.below(60000), random.next()));
        }
        put(target, QStringLiteral("large-20000-games.dat"), dat);
        return;
    }
    put(target, QStringLiteral("title-publisher.dat"),
        header +
            clrMameProGame("10th Frame (US Gold Ltd)", "1987",
                           "Paragon Programming Ltd|John Price|Donnald J. Capbbel)",
                           clrMameProRom("10th Frame.tzx", 51430, 0x21D018B5)) +
            clrMameProGame("Vengador (La Senda del Tigre I) (Jesus Pedrosa Vidal)", "198?", "",
                           clrMameProRom("Vengador.tzx", 40000, 0x1) +
                               clrMameProRom("Vengador (Side B).tzx", 40001, 0x2)));
    put(target, QStringLiteral("tosec.dat"),
        header +
            clrMameProGame("Jetpac (1983)(Ultimate)", "", "",
                           clrMameProRom("Jetpac (1983)(Ultimate).tap", 1234, 0xABCDEF01)) +
            clrMameProGame("Elite (1985)(Firebird)(Side A)[a]", "", "",
                           clrMameProRom("Elite.tzx", 99, 0xabcdef02)));
    put(target, QStringLiteral("no-intro.dat"),
        "clrmamepro ( name \"Regions\" )\n"
        "game ( name \"Game (Europe) (Rev 1)\" region \"Europe\" rom ( size 5 crc 1 ) )\n"
        "machine ( name \"Other (USA, Japan)\" release ( name \"x\" region USA ) "
        "rom ( size 6 crc 2 ) )\n");
    // Quotes holding blanks, parentheses and \", unknown keys and nested blocks, a bare-word name,
    // a key without a value, every block kind, a BOM and CR LF.
    put(target, QStringLiteral("syntax-corners.dat"),
        "\xEF\xBB\xBF"
        "clrmamepro(name \"A (b) \\\"c\\\"\" author x)\r\n"
        "emulator ( name \"e\" nested ( deeper ( deepest ) ) )\r\n"
        "resource ( name bios rom ( name b size 16384 crc 5F5C4D3B flags ( baddump ) ) )\r\n"
        "game(name \"Q \\\" (x) y\" sample ( name s ) rom(size 7 crc abcdef07 nodump))\r\n"
        "game ( name g rom ( size 8 crc 8 ) rom ( size 9 crc 9 ) rom ( crc 10 ) rom ( size 11 ) "
        ")\r\n");
    put(target, QStringLiteral("cp1252.dat"),
        "game ( name \"Caf\xE9 (Soft \x80)\" manufacturer \"M\xFCller\" rom ( size 1 crc 1 ) )\n");
    put(target, QStringLiteral("truncated.dat"),
        header + clrMameProGame("Cut (1985)(X)", "", "", clrMameProRom("c.tap", 5, 5)).chopped(10));
    put(target, QStringLiteral("unterminated-string.dat"),
        header + "game (\n\tname \"Never ends\n\trom ( size 1 crc 1 )\n)\n");
    put(target, QStringLiteral("unbalanced.dat"),
        header + "game ( name a rom ( size 1 crc 1 ) ) )\n");
    put(target, QStringLiteral("nameless-game.dat"),
        header + "game ( year 1984 rom ( size 1 crc 1 ) )\n");
    put(target, QStringLiteral("deep-nesting.dat"),
        "game ( name deep " + QByteArray(5000, '(') + QByteArray(5000, ')') +
            " rom ( size 1 crc 1 ) )\n");
}

// ---- screens

void screenSeeds()
{
    Random random;
    QByteArray full(6912, '\0');
    for (int i = 0; i < 6144; ++i)
        full[i] = char(random.next());
    for (int i = 0; i < 768; ++i)
        full[6144 + i] = char(i & 0xFF); // every attribute, flashing and bright ones too
    put(QStringLiteral("screen"), QStringLiteral("every-attribute.scr"), full);
    QByteArray plain(6912, '\0');
    for (int y = 0; y < 192; ++y)
        plain[(y / 64) * 2048 + (y % 8) * 256 + ((y / 8) % 8) * 32 + y / 6] = char(0x80 >> (y % 8));
    for (int i = 6144; i < 6912; ++i)
        plain[i] = char(0x38);
    put(QStringLiteral("screen"), QStringLiteral("diagonal.scr"), plain);
    put(QStringLiteral("screen"), QStringLiteral("short.scr"), full.left(700));
    put(QStringLiteral("screen"), QStringLiteral("long.scr"), full + QByteArray(100, '\xFF'));
    put(QStringLiteral("screen"), QStringLiteral("empty.scr"), QByteArray());
}

// ---- archives

// Zips made with libzip's writer, gzip files with zlib's, then damaged by hand where the damage
// is the point: what a collection downloaded from the internet may hold.
void archiveSeeds(bool large)
{
    using testsupport::makeGzip;
    using testsupport::makeZip;
    const QString target = QStringLiteral("archive");
    QByteArray tape;
    for (int i = 0; i < 300; ++i)
        tape.append(char(i * 7 % 251));
    if (large) {
        QList<testsupport::ZipEntry> many;
        for (int i = 0; i < 3000; ++i)
            many.append({QStringLiteral("d%1/f%2.tap").arg(i % 7).arg(i), tape.left(i % 50)});
        put(target, QStringLiteral("large-3000-members.zip"), makeZip(many));
        put(target, QStringLiteral("large-member.zip"), makeZip("big.tzx", tape.repeated(1000)));
        return;
    }
    put(target, QStringLiteral("one-tap.zip"), makeZip("game.tap", tape));
    put(target, QStringLiteral("nested.zip"),
        makeZip({{"docs/", {}},
                 {"docs/readme.txt", "read me"},
                 {"Games/Side B.TZX", tape},
                 {"Games/side a.tzx", tape.left(100)}}));
    put(target, QStringLiteral("stored.zip"), makeZip({{"game.z80", tape, true}}));
    put(target, QStringLiteral("encrypted.zip"), makeZip({{"game.sna", tape, false, true}}));
    put(target, QStringLiteral("climbing-names.zip"),
        makeZip({{"../../x.tap", "a"}, {"/abs/y.dsk", "b"}, {"..\\z.trd", "c"}}));
    put(target, QStringLiteral("no-spectrum-file.zip"), makeZip("notes.txt", tape));
    // libzip writes no file for an archive without members; this is the end record alone.
    put(target, QStringLiteral("empty.zip"), QByteArray("PK\x05\x06") + QByteArray(18, '\0'));
    put(target, QStringLiteral("ratio-forged.zip"),
        testsupport::withDeclaredSize(makeZip("zeros.tap", QByteArray(20000, '\0')), 60000000));
    put(target, QStringLiteral("size-forged.zip"),
        testsupport::withDeclaredSize(makeZip({{"game.tap", tape, true}}), 200));
    QByteArray badCrc = makeZip({{"game.tap", tape, true}});
    badCrc[badCrc.indexOf("game.tap") + 8 + 10] ^= 0x55;
    put(target, QStringLiteral("crc-mismatch.zip"), badCrc);
    const QByteArray whole = makeZip("game.tap", tape);
    put(target, QStringLiteral("cut-short.zip"), whole.left(whole.size() - 7));
    put(target, QStringLiteral("plain.gz"), makeGzip(tape));
    put(target, QStringLiteral("stored-name.gz"), makeGzip(tape, "jsw.tzx"));
    QByteArray gzCrc = makeGzip(tape);
    gzCrc[gzCrc.size() - 6] ^= 1;
    put(target, QStringLiteral("crc-mismatch.gz"), gzCrc);
}

// ---- libraries

void runSql(const QString &path, const QStringList &statements)
{
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("seed"));
        db.setDatabaseName(path);
        db.open();
        for (const QString &statement : statements)
            QSqlQuery(db).exec(statement);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("seed"));
}

// A library of `rows` written by the program's own library: plays, favourites, tags, run choices,
// a few entries known by name; then `statements` as another program would run them.
QByteArray librarySeed(const QTemporaryDir &dir, int rows, const QStringList &statements = {})
{
    const QString catalogue =
        dir.filePath(QStringLiteral("seed%1-%2.dat").arg(rows).arg(g_written));
    Library library;
    for (int i = 0; i < rows; ++i) {
        const LibraryKey key = i % 10 == 9
                                   ? LibraryKey::name(QStringLiteral("Game Ünïcode %1").arg(i))
                                   : LibraryKey::romFile(QStringLiteral("GAME%1.TZX").arg(i));
        library.recordEnd(library.recordStart(key, 1700000000 + i).session, i % 7 * 100);
        if (i % 3 == 0)
            library.setFavourite(key, true);
        if (i % 4 == 0)
            library.setTags(key, {QStringLiteral("arcade"), QStringLiteral("Tag %1").arg(i % 9)});
        if (i % 5 == 0)
            library.setRunChoice(key, {QStringLiteral("Fuse"), QStringLiteral("128K"),
                                       QStringLiteral("--no-sound")});
    }
    library.saveAs(catalogue);
    library.startNew();
    const QString path = Library::pathFor(catalogue);
    runSql(path, statements);
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void librarySeeds(bool large)
{
    const QString target = QStringLiteral("library");
    QTemporaryDir dir;
    if (large) {
        put(target, QStringLiteral("large-5000-rows.kivolib"), librarySeed(dir, 5000));
        return;
    }
    put(target, QStringLiteral("small.kivolib"), librarySeed(dir, 12));
    put(target, QStringLiteral("newer-version.kivolib"),
        librarySeed(dir, 12, {QStringLiteral("PRAGMA user_version = 2")}));
    const QByteArray whole = librarySeed(dir, 300);
    put(target, QStringLiteral("truncated.kivolib"), whole.left(whole.size() / 2));
    put(target, QStringLiteral("another-program.kivolib"),
        librarySeed(dir, 0,
                    {QStringLiteral("DROP TABLE kivo_session"),
                     QStringLiteral("PRAGMA application_id = 0"),
                     QStringLiteral("CREATE TABLE notes (text)")}));
    put(target, QStringLiteral("empty.kivolib"), QByteArray());
}

} // namespace

// ---- disks

// A TR-DOS disk cut short after its files, as TRDs often are, and SCL archives of the same files
// with their checksum right and wrong.
void diskSeeds()
{
    using testsupport::TrDosFileSpec;
    const QList<TrDosFileSpec> files = {
        {"boot", 'B', 20, 20, testsupport::basicWithLine(QByteArray(20, '\xEA'), 10)},
        {"code", 'C', 32768, 300, QByteArray(300, '\xC9')},
        {"\x01gone", 'C', 40000, 10, QByteArray(10, '\0')},
    };
    put(QStringLiteral("disk"), QStringLiteral("cut.trd"),
        testsupport::makeTrd(files, "SEEDS", 16 * 256 + 4 * 256));
    put(QStringLiteral("disk"), QStringLiteral("files.scl"), testsupport::makeScl(files));
    put(QStringLiteral("disk"), QStringLiteral("bad-checksum.scl"), testsupport::makeScl(files, 1));
}

int main(int argc, char **argv)
{
    bool large = false;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QStringLiteral("--large"))
            large = true;
        else
            g_out = arg;
    }
    if (g_out.isEmpty()) {
        std::fprintf(stderr, "usage: kivo-fuzz-seeds [--large] OUTDIR\n");
        return 2;
    }
    catalogueSeeds(large);
    sgdSeeds(large);
    settingsSeeds(large);
    languageSeeds(large);
    tapeSeeds(large);
    loadingScreenSeeds(large);
    archiveSeeds(large);
    clrMameProSeeds(large);
    librarySeeds(large);
    if (!large) {
        screenSeeds();
        diskSeeds();
    }
    std::printf("%d seed files written to %s\n", g_written, qPrintable(g_out));
    return 0;
}
