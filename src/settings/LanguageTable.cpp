#include "settings/LanguageTable.h"

namespace {

struct Caption
{
    const char *key;
    const char *text;
};

// Section "kivoLang" in table order: lang016 is followed by the view tool tips, then lang017.
constexpr Caption kCaptions[LanguageTable::kSize] = {
    {"lang000", "Rom Name"},
    {"lang001", "Publisher"},
    {"lang002", "Year"},
    {"lang003", "Author(s)"},
    {"lang004", "Rom Types"},
    {"lang005", "Notes"},
    {"lang006", "OK"},
    {"lang007", "Cancel"},
    {"lang008", "Properties"},
    {"lang009", "Images"},
    {"lang010", "Files"},
    {"lang011", "Rom File"},
    {"lang012", "Audio File"},
    {"lang013", "Views"},
    {"lang014", "Full Size Screenshots"},
    {"lang015", "Half Size Screenshots"},
    {"lang016", "Rom Details"},
    {"views001", "List Only"},
    {"views002", "List And Info"},
    {"views003", "List And screenshots"},
    {"views004", "List, Info and ScreenShots"},
    {"lang017", "Audio Players"},
    {"lang018", "Add"},
    {"lang019", "Remove"},
    {"lang020", "Set default"},
    {"lang021", "Close"},
    {"lang022", "Emulators"},
    {"lang023", "Rom Paths"},
    {"lang024", "Screenshot Paths"},
    {"lang025", "Audio Paths"},
    {"lang026", "Goto Path"},
    {"lang027", "Clear"},
    {"lang028", "View Rom Blocks"},
    {"lang029", "Tape Block Information"},
    {"lang030", "Block Type"},
    {"lang031", "Block Length"},
    {"lang032", "Full Length"},
    {"lang033", "Game / Utility Tape"},
    {"lang034", "Software House / Publisher"},
    {"lang035", "Year of Publication"},
    {"lang036", "Language"},
    {"lang037", "Protection Scheme / Loader"},
    {"lang038", "Price"},
    {"lang039", "Origin"},
    {"lang040", "Comment(s)"},
    {"lang041", "Archive Info"},
    {"lang042", "Locate Rom Path"},
    {"lang043", "Paths"},
};

// Section "rom_types": the name of type i is under key "type" and i in three digits.
constexpr const char *kTypeNames[GameTypeTable::kSize] = {
    "Arcade - Beat'em Up",
    "Arcade - Boulder Dash",
    "Arcade - Breakout/Pong",
    "Arcade - Collect'em Up",
    "Arcade - Frogger",
    "Arcade - Labyrinth/Maze",
    "Arcade - Miscellaneous",
    "Arcade - Pac Man",
    "Arcade - Pinball",
    "Arcade - Platformer (Multi Screen)",
    "Arcade - Platformer (Scrolling Screen)",
    "Arcade - Platformer (Single Screen)",
    "Arcade - Tetris",
    "Arcade - Tron",
    "Arcade - Worm/Snake",
    "Arcade - [uncategorized]",
    "Adventure - Arcade 2D",
    "Adventure - Arcade 3D",
    "Adventure - Click and Type",
    "Adventure - Comic",
    "Adventure - Graphic/Text",
    "Adventure - Joystick only",
    "Adventure - Miscellaneous",
    "Adventure - Move and Type",
    "Adventure - RPG 2D",
    "Adventure - RPG 3D",
    "Adventure - RPG Text",
    "Adventure - Selectable Answers",
    "Adventure - Text only",
    "Adventure - [uncategorized]",
    "Simulation - Flight (Civil)",
    "Simulation - Flight (Military)",
    "Simulation - Marine",
    "Simulation - Miscellaneous",
    "Simulation - Space",
    "Simulation - Tank",
    "Simulation - [uncategorized]",
    "Strategy - Company",
    "Strategy - Miscellaneous",
    "Strategy - Politics",
    "Strategy - Trading",
    "Strategy - Wallstreet",
    "Strategy - War",
    "Strategy - [uncategorized]",
    "Sports - American Football",
    "Sports - Athletics",
    "Sports - Baseball",
    "Sports - Basketball",
    "Sports - Bowling",
    "Sports - Boxing",
    "Sports - Cricket",
    "Sports - Cycling",
    "Sports - Darts",
    "Sports - Fighting",
    "Sports - Football/Soccer",
    "Sports - Golf",
    "Sports - Icehockey",
    "Sports - Miscellaneous",
    "Sports - Multi-Event",
    "Sports - Riding",
    "Sports - Rugby",
    "Sports - Shooting",
    "Sports - Skating",
    "Sports - Skiing",
    "Sports - Snooker/Pool",
    "Sports - Squash",
    "Sports - Table Tennis",
    "Sports - Tennis",
    "Sports - Volleyball",
    "Sports - Watersports",
    "Sports - Wrestling",
    "Sports - [uncategorized]",
    "Gambling - 4 Wins",
    "Gambling - Backgammon",
    "Gambling - Board Game",
    "Gambling - Cards",
    "Gambling - Chess",
    "Gambling - Dices",
    "Gambling - Draughts",
    "Gambling - Kalaha",
    "Gambling - Miscellaneous",
    "Gambling - Monopoly",
    "Gambling - Othello",
    "Gambling - Slot Machine",
    "Gambling - Solitair",
    "Gambling - [uncategorized]",
    "Educational - Geography",
    "Educational - Maths",
    "Educational - Miscellaneous",
    "Educational - Quiz",
    "Educational - Sex",
    "Educational - Spelling",
    "Educational - Typing",
    "Educational - [uncategorized]",
    "Miscellaneous - Demo",
    "Miscellaneous - Weird!",
    "Miscellaneous - [uncategorized]",
    "Construction - Art",
    "Construction - Game",
    "Construction - Programming",
    "Construction - Sound",
    "Construction - [uncategorized]",
    "Brain - Logical Game",
    "Brain - Mastermind",
    "Brain - Memory",
    "Brain - Minesweeper",
    "Brain - Miscellaneous",
    "Brain - Puzzle",
    "Brain - Tic Tac Toe",
    "Brain - [uncategorized]",
    "Racing - Cars",
    "Racing - Formula One",
    "Racing - Miscellaneous",
    "Racing - Motorcycle",
    "Racing - Overhead",
    "Racing - [uncategorized]",
    "Shoot'em Up - 3D",
    "Shoot'em Up - Centipede",
    "Shoot'em Up - 2D-Scrolling",
    "Shoot'em Up - Duel",
    "Shoot'em Up - Gauntlet",
    "Shoot'em Up - H-Scrolling",
    "Shoot'em Up - Miscellaneous",
    "Shoot'em Up - Multi-Scrolling",
    "Shoot'em Up - Platformer",
    "Shoot'em Up - Scramble",
    "Shoot'em Up - Space Invaders",
    "Shoot'em Up - Uridium",
    "Shoot'em Up - V-Scrolling",
    "Shoot'em Up - [uncategorized]",
};

} // namespace

const QString LanguageTable::kSection = QStringLiteral("kivoLang");
const QString GameTypeTable::kSection = QStringLiteral("rom_types");

QStringList LanguageTable::defaults()
{
    QStringList texts;
    for (const Caption &caption : kCaptions)
        texts.append(QString::fromUtf8(caption.text));
    return texts;
}

QString LanguageTable::keyOf(int index)
{
    return QString::fromUtf8(kCaptions[index].key);
}

QStringList GameTypeTable::defaults()
{
    QStringList names;
    for (const char *name : kTypeNames)
        names.append(QString::fromUtf8(name));
    return names;
}

QString GameTypeTable::keyOf(int index)
{
    return QStringLiteral("type%1").arg(index, 3, 10, QLatin1Char('0'));
}

QString GameTypeTable::nameOf(qint32 type) const
{
    if (type >= 0 && type < names.size())
        return names.at(type);
    return QStringLiteral("Unknown type ") + QString::number(type);
}
