#include "ui/main/MainMenus.h"

#include <QMenu>
#include <QMenuBar>

namespace {

using MA = MenuArray;

QList<MenuRow> buildTable()
{
    return {
        {MA::Top, Menu::TopFile, "&File", "mnuFileMenu"},
        {MA::File, Menu::FileNew, "New", "mnuFileNew", QKeySequence::New},
        {MA::File, Menu::FileLoad, "Load", "mnuFileLoad", QKeySequence::Open},
        {MA::File, Menu::FileSave, "Save", "mnuFileSave", QKeySequence::Save},
        {MA::File, Menu::FileSaveAs, "Save as...", "mnuFileSaveAs", QKeySequence::SaveAs},
        {MA::File, 4, "-", "mnuFileSeparator"},
        {MA::File, Menu::FileExit, "Exit", "mnuFileExit", QKeySequence::Quit},

        {MA::Top, Menu::TopRoms, "&Roms", "mnuRomsMenu"},
        {MA::Roms, Menu::RomsAdd, "Add Rom", "mnuRomsAdd"},
        {MA::Roms, 1, "-", "mnuRomsSeparator1"},
        {MA::Roms, Menu::RomsRemove, "Remove Selected", "mnuRomsRemove"},
        {MA::Roms, 3, "-", "mnuRomsSeparator3"},
        {MA::Roms, Menu::RomsProperties, "Properties...", "mnuRomsProperties"},
        {MA::Roms, 5, "-", "mnuRomsSeparator5"},
        {MA::Roms, Menu::RomsFavourite, "Favourite", "mnuRomsFavourite"},
        {MA::Roms, Menu::RomsTags, "Tags...", "mnuRomsTags"},
        {MA::Roms, 8, "-", "mnuRomsSeparator8"},
        {MA::Roms, Menu::RomsIdentify, "Identify", "mnuRomsIdentify"},
        {MA::Roms, Menu::RomsDuplicates, "Find Duplicates...", "mnuRomsDuplicates"},

        {MA::Top, Menu::TopView, "&View", "mnuViewMenu"},
        {MA::View, Menu::ViewOptions, "View Options", "mnuViewOptions"},
        {MA::View, Menu::ViewLoadingScreens, "Show loading screens from rom files",
         "mnuViewLoadingScreens"},

        {MA::Top, Menu::TopEmus, "&Emulators", "mnuEmusMenu"},
        {MA::Emus, Menu::EmusSpeccy, "Speccy", "mnuEmusSpeccy"},
        {MA::Emus, Menu::EmusMusic, "Music", "mnuEmusMusic"},

        {MA::Top, Menu::TopMisc, "&Misc", "mnuMiscMenu"},
        {MA::Misc, Menu::MiscImport, "Import", "mnuMiscImport"},
        {MA::Misc, Menu::MiscExport, "Export", "mnuMiscExport"},
        {MA::Misc, 2, "-", "mnuMiscSeparator2"},
        {MA::Misc, Menu::MiscPaths, "Paths", "mnuMiscPaths"},
        {MA::Misc, 4, "-", "mnuMiscSeparator4"},
        {MA::Misc, Menu::MiscLoadLast, "Load last DB", "mnuMiscLoadLast"},
        {MA::Misc, 6, "-", "mnuMiscSeparator6"},
        {MA::Misc, Menu::MiscScan, "Scan Folder...", "mnuMiscScan"},
        {MA::Misc, Menu::MiscDatFiles, "DAT Files...", "mnuMiscDatFiles"},

        {MA::Top, Menu::TopClick, "Roms", "mnuClickMenu"},
        {MA::Click, Menu::ClickAdd, "Add Rom", "mnuClickAdd"},
        {MA::Click, 1, "-", "mnuClickSeparator1"},
        {MA::Click, Menu::ClickRemove, "Remove Selected", "mnuClickRemove"},
        {MA::Click, 3, "-", "mnuClickSeparator3"},
        {MA::Click, Menu::ClickRunWith, "Run With", "emunameMenu"},
        {MA::Click, 5, "-", "mnuClickSeparator5"},
        {MA::Click, Menu::ClickPlayMusic, "Play Music", "mnuClickPlayMusic"},
        {MA::Click, 7, "-", "mnuClickSeparator7"},
        {MA::Click, Menu::ClickProperties, "Properties...", "mnuClickProperties"},
        {MA::Click, Menu::ClickRunAs, "Run As", "runAsMenu"},

        {MA::Top, Menu::TopAbout, "&About", "mnuAbout"},

        {MA::Top, Menu::TopImages, "images", "mnuImagesMenu"},
        {MA::Images, Menu::ImagesView, "View", "mnuImagesView"},
        {MA::Images, 1, "-", "mnuImagesSeparator"},
        {MA::Images, Menu::ImagesSaveAs, "Save as", "mnuImagesSaveAs"},
        {MA::Images, Menu::ImagesKeep, "Keep as screenshot", "mnuImagesKeep"},
    };
}

// The context menu and the picture menu pop up where they are needed; About is an item of the
// bar itself.
bool isPopupOnly(int topIndex)
{
    return topIndex == Menu::TopClick || topIndex == Menu::TopImages;
}

} // namespace

const QList<MenuRow> &mainMenuTable()
{
    static const QList<MenuRow> table = buildTable();
    return table;
}

QList<QAction *> &MainMenuArrays::operator[](MenuArray menu)
{
    switch (menu) {
    case MenuArray::Top:
        return blank;
    case MenuArray::File:
        return mnuFile;
    case MenuArray::Roms:
        return mnuRoms;
    case MenuArray::View:
        return view;
    case MenuArray::Emus:
        return mnuEmus;
    case MenuArray::Misc:
        return mnuMisc;
    case MenuArray::Click:
        return mnuClick;
    case MenuArray::Images:
        break;
    }
    return mnuImages;
}

void MainMenuArrays::build(QMenuBar *bar, QWidget *owner)
{
    blank = QList<QAction *>(Menu::TopImages + 1, nullptr);
    QMenu *menu = nullptr; // the table lists a menu's items right after the menu
    for (const MenuRow &row : mainMenuTable()) {
        const QString caption = QString::fromLatin1(row.caption);
        const QString name = QString::fromLatin1(row.objectName);
        QAction *action = nullptr;
        if (row.menu == MenuArray::Top) {
            if (row.index == Menu::TopAbout) {
                action = bar->addAction(caption);
            } else {
                menu = isPopupOnly(row.index) ? new QMenu(caption, owner) : bar->addMenu(caption);
                menu->setObjectName(name);
                action = menu->menuAction();
            }
            blank[row.index] = action;
        } else {
            if (caption == u"-") {
                action = menu->addSeparator();
            } else if (row.menu == MenuArray::Click &&
                       (row.index == Menu::ClickRunWith || row.index == Menu::ClickRunAs)) {
                auto *submenu = new QMenu(caption, menu);
                submenu->setObjectName(name);
                QAction *before = nullptr; // the end
                if (row.index == Menu::ClickRunAs) {
                    const QList<QAction *> shown = menu->actions();
                    before = shown.value(shown.indexOf(mnuClick[Menu::ClickRunWith]) + 1);
                }
                action = menu->insertMenu(before, submenu);
            } else {
                action = menu->addAction(caption);
                action->setShortcut(row.shortcut);
            }
            (*this)[row.menu].append(action);
        }
        if (action->objectName().isEmpty())
            action->setObjectName(name);
    }
    mnuMisc[Menu::MiscLoadLast]->setCheckable(true);
    view[Menu::ViewLoadingScreens]->setCheckable(true);
}

void MainMenuArrays::applyCaptions(const QStringList &captions)
{
    const QList<MenuCaptionKey> &keys = menuCaptionKeys();
    for (qsizetype i = 0; i < keys.size() && i < captions.size(); ++i) {
        QString text = captions.at(i);
        // Alt and a letter opens each menu of the bar: its first letter, unless the language
        // file chose one with its own "&".
        if (keys.at(i).menu == MenuArray::Top && !text.contains(u'&'))
            text.prepend(u'&');
        (*this)[keys.at(i).menu].at(keys.at(i).index)->setText(text);
    }
}
