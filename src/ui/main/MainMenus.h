#pragma once

#include "settings/Language.h"

#include <QKeySequence>
#include <QList>

class QAction;
class QMenuBar;
class QWidget;

// The item indices the main window's commands use, by name. Separators keep their places.
namespace Menu {
enum Top {
    TopFile = 0,
    TopRoms = 1,
    TopView = 2,
    TopEmus = 3,
    TopMisc = 4,
    TopClick = 5,
    TopAbout = 7,
    TopImages = 8
};
enum File { FileNew = 0, FileLoad = 1, FileSave = 2, FileSaveAs = 3, FileExit = 5 };
// Favourite and Tags come after the items the language file numbers.
enum Roms {
    RomsAdd = 0,
    RomsRemove = 2,
    RomsProperties = 4,
    RomsFavourite = 6,
    RomsTags = 7,
    RomsIdentify = 9,
    RomsDuplicates = 10
};
enum View { ViewOptions = 0, ViewLoadingScreens = 1 };
enum Emus { EmusSpeccy = 0, EmusMusic = 1 };
enum Misc {
    MiscImport = 0,
    MiscExport = 1,
    MiscPaths = 3,
    MiscLoadLast = 5,
    MiscScan = 7,
    MiscDatFiles = 8
};
enum Click {
    ClickAdd = 0,
    ClickRemove = 2,
    ClickRunWith = 4,
    ClickPlayMusic = 6,
    ClickProperties = 8,
    ClickRunAs = 9 // shown after Run With; numbered last, so no other item moves
};
enum Images { ImagesView = 0, ImagesSaveAs = 2, ImagesKeep = 3 };
} // namespace Menu

// One row of the menu table: which array and index it fills, its built-in caption ("-" for a
// separator), its object name and its shortcut.
struct MenuRow
{
    MenuArray menu;
    int index;
    const char *caption;
    const char *objectName;
    QKeySequence::StandardKey shortcut = QKeySequence::UnknownKey;
};

// Every menu of the main window, top-level menus before their items.
const QList<MenuRow> &mainMenuTable();

// The menu arrays, under the names the window's commands know them by. `blank` holds the
// top-level items: the bar's menus, the game list's context menu (5, off the bar), About (7, an
// item of the bar itself) and the picture menu (8, off the bar); 6 is unused and null.
struct MainMenuArrays
{
    QList<QAction *> blank;
    QList<QAction *> mnuFile;
    QList<QAction *> mnuRoms;
    QList<QAction *> view;
    QList<QAction *> mnuEmus;
    QList<QAction *> mnuMisc;
    QList<QAction *> mnuClick;
    QList<QAction *> mnuImages;

    QList<QAction *> &operator[](MenuArray menu);

    // Builds every menu of the table: the bar's into `bar`, the pop-ups owned by `owner`.
    void build(QMenuBar *bar, QWidget *owner);
    // Sets the language file's captions (in the order of menuCaptionKeys()).
    void applyCaptions(const QStringList &captions);
};
