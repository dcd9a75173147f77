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
    int index; // in reading order: 20 menu captions, 48 caption texts, 130 type names
    const char *section;
    const char *key;
    const char *text;
};

constexpr int kMenus = 0;
constexpr int kCaptions = 20;
constexpr int kTypes = 68;

// Typed from the language file's published tables, not from our own: every menu caption, the
// ends of each table and of each block within it (lang016 / views001..views004 / lang017, the
// unused lang029..lang041), and both ends of every group of game types.
const Row kExpected[] = {
    {kMenus + 0, "menuFile", "menuTitle", "File"},
    {kMenus + 1, "menuFile", "file0", "New"},
    {kMenus + 2, "menuFile", "file1", "Load"},
    {kMenus + 3, "menuFile", "file2", "Save"},
    {kMenus + 4, "menuFile", "file3", "Save as..."},
    {kMenus + 5, "menuFile", "file4", "Exit"},
    {kMenus + 6, "menuRoms", "menuTitle", "Roms"},
    {kMenus + 7, "menuRoms", "roms0", "Add Rom"},
    {kMenus + 8, "menuRoms", "roms1", "Remove Selected"},
    {kMenus + 9, "menuRoms", "roms2", "Properties..."},
    {kMenus + 10, "menuView", "menuTitle", "View"},
    {kMenus + 11, "menuView", "view0", "View Options"},
    {kMenus + 12, "mainEmu", "menuTitle", "Emulators"},
    {kMenus + 13, "mainEmu", "emu0", "Speccy"},
    {kMenus + 14, "mainEmu", "emu1", "Audio Players"},
    {kMenus + 15, "menuMisc", "menuTitle", "Misc"},
    {kMenus + 16, "menuMisc", "misc0", "Import"},
    {kMenus + 17, "menuMisc", "misc1", "Export"},
    {kMenus + 18, "menuMisc", "misc2", "Paths"},
    {kMenus + 19, "menuMisc", "misc3", "Load last DB"},
    {kCaptions + 0, "kivoLang", "lang000", "Rom Name"},
    {kCaptions + 1, "kivoLang", "lang001", "Publisher"},
    {kCaptions + 6, "kivoLang", "lang006", "OK"},
    {kCaptions + 8, "kivoLang", "lang008", "Properties"},
    {kCaptions + 15, "kivoLang", "lang015", "Half Size Screenshots"},
    {kCaptions + 16, "kivoLang", "lang016", "Rom Details"},
    {kCaptions + 17, "kivoLang", "views001", "List Only"},
    {kCaptions + 18, "kivoLang", "views002", "List And Info"},
    {kCaptions + 19, "kivoLang", "views003", "List And screenshots"},
    {kCaptions + 20, "kivoLang", "views004", "List, Info and ScreenShots"},
    {kCaptions + 21, "kivoLang", "lang017", "Audio Players"},
    {kCaptions + 22, "kivoLang", "lang018", "Add"},
    {kCaptions + 32, "kivoLang", "lang028", "View Rom Blocks"},
    {kCaptions + 33, "kivoLang", "lang029", "Tape Block Information"},
    {kCaptions + 45, "kivoLang", "lang041", "Archive Info"},
    {kCaptions + 46, "kivoLang", "lang042", "Locate Rom Path"},
    {kCaptions + 47, "kivoLang", "lang043", "Paths"},
    {kTypes + 0, "rom_types", "type000", "Arcade - Beat'em Up"},
    {kTypes + 15, "rom_types", "type015", "Arcade - [uncategorized]"},
    {kTypes + 16, "rom_types", "type016", "Adventure - Arcade 2D"},
    {kTypes + 29, "rom_types", "type029", "Adventure - [uncategorized]"},
    {kTypes + 30, "rom_types", "type030", "Simulation - Flight (Civil)"},
    {kTypes + 36, "rom_types", "type036", "Simulation - [uncategorized]"},
    {kTypes + 37, "rom_types", "type037", "Strategy - Company"},
    {kTypes + 43, "rom_types", "type043", "Strategy - [uncategorized]"},
    {kTypes + 44, "rom_types", "type044", "Sports - American Football"},
    {kTypes + 71, "rom_types", "type071", "Sports - [uncategorized]"},
    {kTypes + 72, "rom_types", "type072", "Gambling - 4 Wins"},
    {kTypes + 85, "rom_types", "type085", "Gambling - [uncategorized]"},
    {kTypes + 86, "rom_types", "type086", "Educational - Geography"},
    {kTypes + 93, "rom_types", "type093", "Educational - [uncategorized]"},
    {kTypes + 94, "rom_types", "type094", "Miscellaneous - Demo"},
    {kTypes + 96, "rom_types", "type096", "Miscellaneous - [uncategorized]"},
    {kTypes + 97, "rom_types", "type097", "Construction - Art"},
    {kTypes + 101, "rom_types", "type101", "Construction - [uncategorized]"},
    {kTypes + 102, "rom_types", "type102", "Brain - Logical Game"},
    {kTypes + 109, "rom_types", "type109", "Brain - [uncategorized]"},
    {kTypes + 110, "rom_types", "type110", "Racing - Cars"},
    {kTypes + 115, "rom_types", "type115", "Racing - [uncategorized]"},
    {kTypes + 116, "rom_types", "type116", "Shoot'em Up - 3D"},
    {kTypes + 118, "rom_types", "type118", "Shoot'em Up - 2D-Scrolling"},
    {kTypes + 128, "rom_types", "type128", "Shoot'em Up - V-Scrolling"},
    {kTypes + 129, "rom_types", "type129", "Shoot'em Up - [uncategorized]"},
};

} // namespace

void tst_Language::everyDefaultAndItsKey()
{
    // Would catch a mistyped default, a wrong key, a swapped, missing or extra row.
    const QList<LanguageKey> keys = languageKeys();
    QCOMPARE(keys.size(), 198);
    for (const Row &row : kExpected) {
        const LanguageKey &key = keys.at(row.index);
        const QString where = QStringLiteral("row %1").arg(row.index);
        QVERIFY2(key.section == QLatin1String(row.section), qPrintable(where));
        QVERIFY2(key.key == QLatin1String(row.key), qPrintable(where));
        QVERIFY2(key.defaultText == QString::fromUtf8(row.text), qPrintable(where));
    }
    // Every caption and type sits in its own section under its numbered key, and no default
    // is empty.
    for (int i = kCaptions; i < kTypes; ++i)
        QCOMPARE(keys.at(i).section, QStringLiteral("kivoLang"));
    for (int i = 0; i < GameTypeTable::kSize; ++i) {
        QCOMPARE(keys.at(kTypes + i).section, QStringLiteral("rom_types"));
        QCOMPARE(keys.at(kTypes + i).key, QStringLiteral("type%1").arg(i, 3, 10, QLatin1Char('0')));
    }
    for (const LanguageKey &key : keys)
        QVERIFY2(!key.defaultText.isEmpty(), qPrintable(key.key));
}

void tst_Language::noFileGivesDefaults()
{
    const LanguageTexts texts =
        readLanguageFile(ProfileFile::load(QStringLiteral("/none/lang.ini")));
    QStringList all = texts.menuCaptions;
    all += texts.language.texts;
    all += texts.gameTypes.names;
    QCOMPARE(all.size(), 198);
    for (const Row &row : kExpected)
        QCOMPARE(all.at(row.index), QString::fromUtf8(row.text));
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
