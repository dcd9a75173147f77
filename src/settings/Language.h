#pragma once

#include "settings/LanguageTable.h"
#include "settings/ProfileFile.h"

#include <QList>
#include <QString>
#include <QStringList>

// lang.ini: the main window's menu captions, the LanguageTable and the GameTypeTable. Every text
// has a default, used when the file, the section or the key is missing or the value is empty.

// The menu arrays of the main window. The language file captions the first six; the game list's
// context menu (Click) and the picture menu (Images) keep their built-in captions.
enum class MenuArray { Top, File, Roms, View, Emus, Misc, Click, Images };

struct LanguageKey
{
    QString section;
    QString key;
    QString defaultText;
};

struct MenuCaptionKey
{
    LanguageKey text;
    MenuArray menu;
    int index; // the item's index in its array; separators keep theirs
};

// The 20 menu captions, in the order they are read.
const QList<MenuCaptionKey> &menuCaptionKeys();
// Every text the language file can give, in the order they are read: the 20 menu captions, the
// 48 LanguageTable texts, the 130 type names.
QList<LanguageKey> languageKeys();

// The text of `key` in `section`, or `defaultText` when the file gives none (an empty value
// cannot blank a caption).
QString ReadLanguageText(const ProfileFile &file, const QString &section, const QString &key,
                         const QString &defaultText);

struct LanguageTexts
{
    QStringList menuCaptions; // in the order of menuCaptionKeys()
    LanguageTable language;
    GameTypeTable gameTypes;
};

LanguageTexts readLanguageFile(const ProfileFile &file);
