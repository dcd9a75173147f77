#include "settings/ProfileFile.h"

#include <QTest>

class tst_ProfileFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void read_data();
    void read();
    void valueLength_data();
    void valueLength();
    void write_data();
    void write();
    void writtenValueReadsBack();
    void valuesNeverLeaveTheirLine_data();
    void valuesNeverLeaveTheirLine();
};

namespace {

const QString kMissing = QStringLiteral("<missing>");

QString valueOrMissing(const ProfileFile &file, const QString &section, const QString &key)
{
    return file.value(section, key).value_or(kMissing);
}

} // namespace

void tst_ProfileFile::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    // Lookup: would catch case-sensitive names, keys leaking between sections, an empty value
    // taken for a missing one.
    QTest::newRow("plain") << QByteArray("[kivo]\r\nwinw=800\r\n") << "kivo"
                           << "winw"
                           << "800";
    QTest::newRow("section case") << QByteArray("[KIVO]\r\nwinw=800\r\n") << "kivo"
                                  << "winw"
                                  << "800";
    QTest::newRow("key case") << QByteArray("[kivoLang]\r\nLANG043=Pfade\r\n") << "kivolang"
                              << "lang043"
                              << "Pfade";
    QTest::newRow("empty file") << QByteArray() << "kivo"
                                << "winw" << kMissing;
    QTest::newRow("missing section") << QByteArray("[other]\r\nwinw=800\r\n") << "kivo"
                                     << "winw" << kMissing;
    QTest::newRow("missing key") << QByteArray("[kivo]\r\nwinh=600\r\n") << "kivo"
                                 << "winw" << kMissing;
    QTest::newRow("key of the next section")
        << QByteArray("[kivo]\r\n[emulators]\r\nnum=2\r\n") << "kivo"
        << "num" << kMissing;
    QTest::newRow("key before any section") << QByteArray("num=2\r\n[kivo]\r\n") << "kivo"
                                            << "num" << kMissing;
    QTest::newRow("empty value") << QByteArray("[kivo]\r\nwinx=\r\n") << "kivo"
                                 << "winx"
                                 << "";
    QTest::newRow("value holds =") << QByteArray("[a]\r\nx=b=c\r\n") << "a"
                                   << "x"
                                   << "b=c";

    // Hand-edited files: blanks, quotes, comments, repeats.
    QTest::newRow("blanks trimmed") << QByteArray("  [ kivo ]  \r\n  winw  =  8 0  \r\n") << "kivo"
                                    << "winw"
                                    << "8 0";
    QTest::newRow("tabs trimmed") << QByteArray("[kivo]\r\n\twinw\t=\t800\t\r\n") << "kivo"
                                  << "winw"
                                  << "800";
    QTest::newRow("double quotes") << QByteArray("[a]\r\nx=\" C:\\Games \"\r\n") << "a"
                                   << "x"
                                   << " C:\\Games ";
    QTest::newRow("single quotes") << QByteArray("[a]\r\nx='Zxemu'\r\n") << "a"
                                   << "x"
                                   << "Zxemu";
    QTest::newRow("only one pair") << QByteArray("[a]\r\nx=\"\"b\"\"\r\n") << "a"
                                   << "x"
                                   << "\"b\"";
    QTest::newRow("mismatched quotes") << QByteArray("[a]\r\nx=\"b'\r\n") << "a"
                                       << "x"
                                       << "\"b'";
    QTest::newRow("empty pair") << QByteArray("[a]\r\nx=\"\"\r\n") << "a"
                                << "x"
                                << "";
    QTest::newRow("empty single pair") << QByteArray("[a]\r\nx=''\r\n") << "a"
                                       << "x"
                                       << "";
    QTest::newRow("lone quote") << QByteArray("[a]\r\nx=\"\r\n") << "a"
                                << "x"
                                << "\"";
    QTest::newRow("inner quotes") << QByteArray("[a]\r\nx=say \"hi\"\r\n") << "a"
                                  << "x"
                                  << "say \"hi\"";
    // Backquotes carry what a plain value cannot; a Windows path outside them stays as it is.
    QTest::newRow("escaped value") << QByteArray("[a]\r\nx=`/a\\nb\\r\\\\ c `\r\n") << "a"
                                   << "x"
                                   << "/a\nb\r\\ c ";
    QTest::newRow("backslashes outside backquotes")
        << QByteArray("[a]\r\nx=C:\\new\\r\\\r\n") << "a"
        << "x"
        << "C:\\new\\r\\";
    QTest::newRow("comment not a key") << QByteArray("[a]\r\n;x=1\r\n") << "a"
                                       << "x" << kMissing;
    QTest::newRow("comment then key") << QByteArray("[a]\r\n; the x\r\nx=1\r\n") << "a"
                                      << "x"
                                      << "1";
    QTest::newRow("first key wins") << QByteArray("[a]\r\nx=1\r\nX=2\r\n") << "a"
                                    << "x"
                                    << "1";
    QTest::newRow("first section wins") << QByteArray("[a]\r\nx=1\r\n[b]\r\n[A]\r\nx=2\r\n") << "a"
                                        << "x"
                                        << "1";

    // Line ends and code pages: files from Windows and from here.
    QTest::newRow("LF lines") << QByteArray("[a]\nx=1\ny=2\n") << "a"
                              << "y"
                              << "2";
    QTest::newRow("CR lines") << QByteArray("[a]\rx=1\ry=2") << "a"
                              << "y"
                              << "2";
    QTest::newRow("no final line end") << QByteArray("[a]\r\nx=1") << "a"
                                       << "x"
                                       << "1";
    QTest::newRow("UTF-8") << QByteArray("[a]\r\nx=/home/\xd0\xb8\xd0\xb2\xd0\xb0\xd0\xbd/\r\n")
                           << "a"
                           << "x" << QStringLiteral("/home/иван/");
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xef\xbb\xbf[a]\r\nx=1\r\n") << "a"
                                    << "x"
                                    << "1";
    QTest::newRow("Windows-1252") << QByteArray("[a]\r\nx=C:\\Jeux\\\xc9t\xe9 \x80\r\n") << "a"
                                  << "x" << QStringLiteral("C:\\Jeux\\Été €");
}

void tst_ProfileFile::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    const ProfileFile file = ProfileFile::fromBytes(bytes);
    QCOMPARE(valueOrMissing(file, section, key), expected);
    QCOMPARE(file.read(section, key, QStringLiteral("dflt")),
             expected == kMissing ? QStringLiteral("dflt") : expected);
}

void tst_ProfileFile::valueLength_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");

    // The 255-character buffer: would catch an off-by-one on either side of 254.
    const QString long300 = QString(300, u'p');
    QTest::newRow("253") << QString(253, u'p') << QString(253, u'p');
    QTest::newRow("254") << QString(254, u'p') << QString(254, u'p');
    QTest::newRow("255") << QString(255, u'p') << QString(254, u'p');
    QTest::newRow("300") << long300 << long300.left(254);
    QTest::newRow("quotes removed first")
        << QLatin1Char('"') + QString(254, u'q') + QLatin1Char('"') << QString(254, u'q');
    QTest::newRow("pair not split")
        << QString(253, u'p') + QStringLiteral("😀x") << QString(253, u'p');
}

void tst_ProfileFile::valueLength()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    const ProfileFile file =
        ProfileFile::fromBytes(QStringLiteral("[RomPaths]\r\npath00=%1\r\n").arg(value).toUtf8());
    QCOMPARE(valueOrMissing(file, QStringLiteral("RomPaths"), QStringLiteral("path00")), expected);
}

void tst_ProfileFile::write_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("writes"); // "section|key|value"
    QTest::addColumn<QByteArray>("after");

    // Where writes land: would catch keys inserted in the wrong section or order, sections
    // not appended, lost lines of a hand-edited file, LF or Latin-1 output.
    QTest::newRow("new file") << QByteArray() << QStringList{"kivo|winstate|0"}
                              << QByteArray("[kivo]\r\nwinstate=0\r\n");
    QTest::newRow("keys and sections appended")
        << QByteArray() << QStringList{"kivo|winstate|0", "RomPaths|num|1", "kivo|head001|4500"}
        << QByteArray("[kivo]\r\nwinstate=0\r\nhead001=4500\r\n[RomPaths]\r\nnum=1\r\n");
    QTest::newRow("existing key replaced in place")
        << QByteArray("[KIVO]\r\nWINW=1\r\nwinh=2\r\n") << QStringList{"kivo|winw|800"}
        << QByteArray("[KIVO]\r\nwinw=800\r\nwinh=2\r\n");
    QTest::newRow("new key before blank lines")
        << QByteArray("[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n") << QStringList{"a|z|3"}
        << QByteArray("[a]\r\nx=1\r\nz=3\r\n\r\n[b]\r\ny=2\r\n");
    QTest::newRow("comments and stray lines kept")
        << QByteArray("; mine\r\n[a]\r\n; note\r\nstray\r\nx=1\r\n") << QStringList{"a|y|2"}
        << QByteArray("; mine\r\n[a]\r\n; note\r\nstray\r\nx=1\r\ny=2\r\n");
    QTest::newRow("LF file written CR LF")
        << QByteArray("[a]\nx=1\n") << QStringList{"a|x|2"} << QByteArray("[a]\r\nx=2\r\n");
    QTest::newRow("UTF-8 out") << QByteArray() << QStringList{QStringLiteral("a|x|/home/иван/")}
                               << QByteArray(
                                      "[a]\r\nx=/home/\xd0\xb8\xd0\xb2\xd0\xb0\xd0\xbd/\r\n");
    QTest::newRow("Windows-1252 in, UTF-8 out")
        << QByteArray("[a]\r\nx=\xe9\r\n") << QStringList{"a|y|1"}
        << QByteArray("[a]\r\nx=\xc3\xa9\r\ny=1\r\n");
}

void tst_ProfileFile::write()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, writes);
    QFETCH(QByteArray, after);

    ProfileFile file = ProfileFile::fromBytes(before);
    for (const QString &write : writes) {
        const QStringList parts = write.split(u'|');
        file.write(parts.at(0), parts.at(1), parts.at(2));
    }
    QCOMPARE(file.toBytes(), after);
}

void tst_ProfileFile::writtenValueReadsBack()
{
    // A key written and then looked up in the same file, and in the file its bytes make.
    ProfileFile file;
    file.write(QStringLiteral("MusicPaths"), QStringLiteral("path00"), QStringLiteral("/m/"));
    file.write(QStringLiteral("musicpaths"), QStringLiteral("PATH00"), QStringLiteral("/n/"));
    file.write(QStringLiteral("MusicPaths"), QStringLiteral("path01"), QString(300, u'x'));
    const ProfileFile reread = ProfileFile::fromBytes(file.toBytes());
    for (const ProfileFile *f : {&std::as_const(file), &reread}) {
        QCOMPARE(valueOrMissing(*f, QStringLiteral("MusicPaths"), QStringLiteral("path00")),
                 QStringLiteral("/n/"));
        QCOMPARE(valueOrMissing(*f, QStringLiteral("MusicPaths"), QStringLiteral("path01")),
                 QString(254, u'x'));
    }
    QCOMPARE(file.toBytes().toLower().count("path00"), 1); // replaced, not added
}

void tst_ProfileFile::valuesNeverLeaveTheirLine_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("line"); // as written, or empty: only check the round trip

    // A Linux directory may hold CR or LF, and names may start or end with blanks or quotes:
    // each must come back as written, and no line of the file may come from inside a value.
    QTest::newRow("plain path") << "/home/a b/roms/" << QByteArray("x=/home/a b/roms/");
    QTest::newRow("Windows path") << "C:\\new\\roms\\" << QByteArray("x=C:\\new\\roms\\");
    QTest::newRow("LF") << "/home/a\n[kivo]\nlastdb=/x/"
                        << QByteArray("x=`/home/a\\n[kivo]\\nlastdb=/x/`");
    QTest::newRow("CR LF and backslash") << "/a\r\n\\b/" << QByteArray("x=`/a\\r\\n\\\\b/`");
    QTest::newRow("trailing blank") << "/roms " << QByteArray("x=`/roms `");
    QTest::newRow("leading tab") << "\t/roms" << QByteArray("x=`\t/roms`");
    QTest::newRow("quoted") << "\"/roms\"" << QByteArray("x=`\"/roms\"`");
    QTest::newRow("backquoted") << "`b`" << QByteArray("x=``b``");
    QTest::newRow("lone backquote") << "`" << QByteArray("x=`");
    QTest::newRow("empty") << "" << QByteArray("x=");
}

void tst_ProfileFile::valuesNeverLeaveTheirLine()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, line);
    ProfileFile file;
    file.write(QStringLiteral("a"), QStringLiteral("x"), value);
    file.write(QStringLiteral("a"), QStringLiteral("y"), QStringLiteral("after"));
    const QByteArray bytes = file.toBytes();
    QCOMPARE(bytes, "[a]\r\n" + line + "\r\ny=after\r\n");
    const ProfileFile reread = ProfileFile::fromBytes(bytes);
    QCOMPARE(valueOrMissing(reread, QStringLiteral("a"), QStringLiteral("x")), value);
    QCOMPARE(valueOrMissing(reread, QStringLiteral("a"), QStringLiteral("y")),
             QStringLiteral("after"));
    QCOMPARE(valueOrMissing(reread, QStringLiteral("kivo"), QStringLiteral("lastdb")), kMissing);
}

QTEST_GUILESS_MAIN(tst_ProfileFile)
#include "tst_profilefile.moc"
