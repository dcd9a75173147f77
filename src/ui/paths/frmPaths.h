#pragma once

#include "core/SearchPathList.h"

#include <QDialog>
#include <QString>

#include <functional>

class DesktopOpener;
class Dialogs;
class QPushButton;
class QTabWidget;
class QTreeWidget;
struct AppState;

// Shows and edits the three search-path lists, one tab each. Every Add and Remove changes the
// lists in the state at once; there is nothing to cancel.
class frmPaths : public QDialog
{
    Q_OBJECT

public:
    // Asks the user for a directory over `owner`; the empty text when none was chosen.
    using Locator = std::function<QString(QWidget *owner)>;

    // What each row of a list view carries besides its text.
    static constexpr int kKeyRole = Qt::UserRole;         // "rom0", "ss3", "ay12"
    static constexpr int kIconKeyRole = Qt::UserRole + 1; // "fixed", "notmapped", ...

    frmPaths(AppState &state, Dialogs &dialogs, DesktopOpener &opener, QWidget *parent);

    QTabWidget *SSTab1 = nullptr;
    QTreeWidget *lstRoms = nullptr;
    QTreeWidget *lstSS = nullptr;
    QTreeWidget *lstMusic = nullptr;
    QPushButton *Command1 = nullptr; // Add
    QPushButton *Command3 = nullptr; // Remove
    QPushButton *Command4 = nullptr; // Goto Path
    QPushButton *cmdOK = nullptr;

    // The directory the last LocateDirectory chose; empty when none was.
    QString LocatedPath;

    // Replaces the locate-path dialog, which Add shows by default.
    void setLocator(Locator locator) { m_locator = std::move(locator); }

    // Refills the list view of `tab` (0 rom, 1 screenshot, 2 music) from its list.
    void ShowPathList(int tab);
    // Remove and Goto Path are usable exactly when the current tab's list has a row.
    void UpdatePathButtons();
    void LocateDirectory();

    void Command1_Click();
    void Command3_Click();
    void Command4_Click();
    void cmdOK_Click();

    QTreeWidget *listView(int tab) const;
    // A stored directory as a row shows it: ending with a separator, the stored text untouched.
    static QString shownDirectory(const QString &stored);

private:
    SearchPathList &pathList(int tab);
    // The list index the selected row of the current tab stands for; -1 for none.
    int selectedIndex() const;

    AppState &m_state;
    Dialogs &m_dialogs;
    DesktopOpener &m_opener;
    Locator m_locator;
};
