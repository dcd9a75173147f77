#include "settings/Language.h"

namespace {

MenuCaptionKey caption(const char *section, const char *key, const char *text, MenuArray menu,
                       int index)
{
    return {{QLatin1String(section), QLatin1String(key), QLatin1String(text)}, menu, index};
}

} // namespace

const QList<MenuCaptionKey> &menuCaptionKeys()
{
    static const QList<MenuCaptionKey> keys = {
        caption("menuFile", "menuTitle", "File", MenuArray::Top, 0),
        caption("menuFile", "file0", "New", MenuArray::File, 0),
        caption("menuFile", "file1", "Load", MenuArray::File, 1),
        caption("menuFile", "file2", "Save", MenuArray::File, 2),
        caption("menuFile", "file3", "Save as...", MenuArray::File, 3),
        caption("menuFile", "file4", "Exit", MenuArray::File, 5),
        caption("menuRoms", "menuTitle", "Roms", MenuArray::Top, 1),
        caption("menuRoms", "roms0", "Add Rom", MenuArray::Roms, 0),
        caption("menuRoms", "roms1", "Remove Selected", MenuArray::Roms, 2),
        caption("menuRoms", "roms2", "Properties...", MenuArray::Roms, 4),
        caption("menuView", "menuTitle", "View", MenuArray::Top, 2),
        caption("menuView", "view0", "View Options", MenuArray::View, 0),
        caption("mainEmu", "menuTitle", "Emulators", MenuArray::Top, 3),
        caption("mainEmu", "emu0", "Speccy", MenuArray::Emus, 0),
        caption("mainEmu", "emu1", "Audio Players", MenuArray::Emus, 1),
        caption("menuMisc", "menuTitle", "Misc", MenuArray::Top, 4),
        caption("menuMisc", "misc0", "Import", MenuArray::Misc, 0),
        caption("menuMisc", "misc1", "Export", MenuArray::Misc, 1),
        caption("menuMisc", "misc2", "Paths", MenuArray::Misc, 3),
        caption("menuMisc", "misc3", "Load last DB", MenuArray::Misc, 5),
    };
    return keys;
}

QList<LanguageKey> languageKeys()
{
    QList<LanguageKey> keys;
    for (const MenuCaptionKey &menu : menuCaptionKeys())
        keys.append(menu.text);
    const QStringList captions = LanguageTable::defaults();
    for (int i = 0; i < LanguageTable::kSize; ++i)
        keys.append({LanguageTable::kSection, LanguageTable::keyOf(i), captions.at(i)});
    const QStringList types = GameTypeTable::defaults();
    for (int i = 0; i < GameTypeTable::kSize; ++i)
        keys.append({GameTypeTable::kSection, GameTypeTable::keyOf(i), types.at(i)});
    return keys;
}

QString ReadLanguageText(const ProfileFile &file, const QString &section, const QString &key,
                         const QString &defaultText)
{
    const QString text = file.read(section, key, QString());
    return text.isEmpty() ? defaultText : text;
}

LanguageTexts readLanguageFile(const ProfileFile &file)
{
    LanguageTexts texts;
    const QList<LanguageKey> keys = languageKeys();
    const qsizetype menus = menuCaptionKeys().size();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const LanguageKey &key = keys.at(i);
        const QString text = ReadLanguageText(file, key.section, key.key, key.defaultText);
        if (i < menus)
            texts.menuCaptions.append(text);
        else if (i < menus + LanguageTable::kSize)
            texts.language.texts[i - menus] = text;
        else
            texts.gameTypes.names[i - menus - LanguageTable::kSize] = text;
    }
    return texts;
}
