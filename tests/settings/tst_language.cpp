#include "settings/Language.h"

#include "TestSupport.h"

#include <QTest>

class tst_Language : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyDefaultAndItsKey();
    void noFileGivesDefaults();
    void menuTargets();
    void readFromFile_data();
    void readFromFile();
};

namespace {

struct Row
{
    QString section;
    QString key;
    QString text;
};

// default_texts.tsv: section, key and default text of every language text, in reading order,
// written out from the tables of captions, menus and game types.
QList<Row> expectedRows()
{
    QList<Row> rows;
    const QByteArray tsv =
        testsupport::readFile(QStringLiteral(KIVO_TEST_DATA "/settings/default_texts.tsv"));
    for (const QString &line : QString::fromUtf8(tsv).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(u'\t');
        if (fields.size() == 3)
            rows.append({fields.at(0), fields.at(1), fields.at(2)});
    }
    return rows;
}

} // namespace

void tst_Language::everyDefaultAndItsKey()
{
    // Would catch a mistyped default, a wrong key, a swapped or missing row: 198 in all.
    const QList<Row> expected = expectedRows();
    QCOMPARE(expected.size(), 198);
    const QList<LanguageKey> keys = languageKeys();
    QCOMPARE(keys.size(), expected.size());
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QString where =
            QStringLiteral("row %1: %2/%3").arg(i).arg(keys.at(i).section, keys.at(i).key);
        QVERIFY2(keys.at(i).section == expected.at(i).section, qPrintable(where));
        QVERIFY2(keys.at(i).key == expected.at(i).key, qPrintable(where));
        QVERIFY2(keys.at(i).defaultText == expected.at(i).text, qPrintable(where));
    }
}

void tst_Language::noFileGivesDefaults()
{
    const QList<Row> expected = expectedRows();
    const LanguageTexts texts =
        readLanguageFile(ProfileFile::load(QStringLiteral("/none/lang.ini")));
    QStringList all = texts.menuCaptions;
    all += texts.language.texts;
    all += texts.gameTypes.names;
    QCOMPARE(all.size(), expected.size());
    for (qsizetype i = 0; i < all.size(); ++i)
        QCOMPARE(all.at(i), expected.at(i).text);
    // The tables a fresh state starts with are the same defaults.
    QCOMPARE(LanguageTable().texts, texts.language.texts);
    QCOMPARE(GameTypeTable().names, texts.gameTypes.names);
    QCOMPARE(GameTypeTable().nameOf(15), QStringLiteral("Arcade - [uncategorized]"));
    QCOMPARE(LanguageTable().at(47), QStringLiteral("Paths"));
}

void tst_Language::menuTargets()
{
    // Items skip the separators: Exit is item 5 of File, Paths item 3 and Load last DB item 5
    // of Misc.
    QList<QPair<MenuArray, int>> targets;
    for (const MenuCaptionKey &key : menuCaptionKeys())
        targets.append({key.menu, key.index});
    const QList<QPair<MenuArray, int>> expected = {
        {MenuArray::Top, 0},  {MenuArray::File, 0}, {MenuArray::File, 1}, {MenuArray::File, 2},
        {MenuArray::File, 3}, {MenuArray::File, 5}, {MenuArray::Top, 1},  {MenuArray::Roms, 0},
        {MenuArray::Roms, 2}, {MenuArray::Roms, 4}, {MenuArray::Top, 2},  {MenuArray::View, 0},
        {MenuArray::Top, 3},  {MenuArray::Emus, 0}, {MenuArray::Emus, 1}, {MenuArray::Top, 4},
        {MenuArray::Misc, 0}, {MenuArray::Misc, 1}, {MenuArray::Misc, 3}, {MenuArray::Misc, 5},
    };
    QCOMPARE(targets, expected);
}

void tst_Language::readFromFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("index"); // into the 198 texts in reading order
    QTest::addColumn<QString>("expected");

    // Would catch case-sensitive lookup, an empty value blanking a caption, texts landing in
    // the wrong table slot, and the 254-character buffer not applied.
    QTest::newRow("capital key and section")
        << QByteArray("[KIVOLANG]\r\nLANG043=Pfade\r\n") << 20 + 47 << "Pfade";
    QTest::newRow("empty value keeps default")
        << QByteArray("[kivoLang]\r\nlang000=\r\n") << 20 + 0 << "Rom Name";
    QTest::newRow("blank value keeps default")
        << QByteArray("[kivoLang]\r\nlang000=   \r\n") << 20 + 0 << "Rom Name";
    QTest::newRow("quoted blank is a text")
        << QByteArray("[kivoLang]\r\nlang000=\" \"\r\n") << 20 + 0 << " ";
    QTest::newRow("views003 is entry 19")
        << QByteArray("[kivoLang]\r\nviews003=Liste\r\n") << 20 + 19 << "Liste";
    QTest::newRow("lang017 is entry 21")
        << QByteArray("[kivoLang]\r\nlang017=Spieler\r\n") << 20 + 21 << "Spieler";
    QTest::newRow("type015 renamed") << QByteArray("[rom_types]\r\ntype015=Arcade - Sonstige\r\n")
                                     << 68 + 15 << "Arcade - Sonstige";
    QTest::newRow("type129 renamed")
        << QByteArray("[rom_types]\r\ntype129=Last\r\n") << 68 + 129 << "Last";
    // menuTitle is in five sections: only the one of menuMisc may change.
    QTest::newRow("menu title") << QByteArray("[menuMisc]\r\nmenuTitle=Divers\r\n") << 15
                                << "Divers";
    QTest::newRow("Windows-1252") << QByteArray("[mainEmu]\r\nemu1=Lecteurs audio \xe0\r\n") << 14
                                  << QStringLiteral("Lecteurs audio à");
    QTest::newRow("long value cut") << "[kivoLang]\r\nlang042=" + QByteArray(300, 'L') + "\r\n"
                                    << 20 + 46 << QString(254, u'L');
}

void tst_Language::readFromFile()
{
    QFETCH(QByteArray, file);
    QFETCH(int, index);
    QFETCH(QString, expected);

    // Extra keys must be ignored without growing the tables.
    const LanguageTexts texts = readLanguageFile(ProfileFile::fromBytes(
        file + "[rom_types]\r\ntype130=Extra\r\n[kivoLang]\r\nlang044=X\r\n"));
    QCOMPARE(texts.menuCaptions.size(), 20);
    QCOMPARE(texts.language.texts.size(), LanguageTable::kSize);
    QCOMPARE(texts.gameTypes.names.size(), GameTypeTable::kSize);
    QStringList all = texts.menuCaptions + texts.language.texts + texts.gameTypes.names;
    const QStringList defaults = [] {
        QStringList list;
        for (const LanguageKey &key : languageKeys())
            list.append(key.defaultText);
        return list;
    }();
    QCOMPARE(all.at(index), expected);
    // Everything else stays at its default.
    all[index] = defaults.at(index);
    QCOMPARE(all, defaults);
}

QTEST_GUILESS_MAIN(tst_Language)
#include "tst_language.moc"
