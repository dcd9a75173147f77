#pragma once

#include "state/ListColumns.h"

#include <QObject>
#include <QTimer>

#include <functional>

class GameListModel;
class GameListProxy;
class GameListView;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;
class RomFileIndex;
struct AppState;
struct LibraryRow;

// Finding entries: the filter box and "Missing files only" above the list, sorting by a
// column's header, and the listings of the rom paths that tell which files are missing (F5
// looks again). It builds the filter bar into the list's pane and says when what the list shows
// changed; the window keeps the count and the selection in step.
class GameListFinder : public QObject
{
    Q_OBJECT

public:
    // `pane` holds the bar above `list`.
    GameListFinder(AppState &state, GameListModel &model, GameListProxy &proxy, GameListView &list,
                   RomFileIndex &romFiles, QWidget *pane);

    QLineEdit *filterBox() const { return m_filter; }
    QCheckBox *missingOnly() const { return m_missing; }
    // "Show": All, Favourites, Recently played, Never played, or one tag.
    QComboBox *showChoice() const { return m_show; }

    void txtFilter_Change();
    void chkMissing_Click();
    void cboShow_Change();
    // The library changed (a favourite, a tag, a play): the Show choices and what they let
    // through follow.
    void libraryChanged();
    void header_Click(int column);
    // F5: every rom path is listed afresh.
    void refreshRomFiles();
    // The list rebuilt from the catalogue. Entries are added at the end: the rom files of those
    // it did not show yet are looked for once the window is idle, with any new rom
    // directories, and the list then shows which files are missing.
    void refillList();
    // "N entries", or "N of M entries" while a filter hides some.
    QString entryCountText() const;
    // The rom paths may hold new directories, and `romFiles` may have appeared in the listed
    // ones: both are looked at once the window is idle.
    void scheduleRomFilesUpdate(const QStringList &romFiles = {});

Q_SIGNALS:
    // The filter, the sort or the rom files changed which rows the list shows.
    void listChanged();
    // Enter in the filter box: the first match is to run.
    void runFirstMatch();

private:
    void buildBar(QWidget *pane);
    // The Show choices again, the tags of the library among them, keeping the one chosen.
    void fillShowChoices();
    // The missing-files test and the Show choice, together.
    void applySlotFilter();
    // Which rows of the library the Show choice `choice` lets through; empty for all.
    std::function<bool(const LibraryRow *)> shownByChoice(int choice) const;
    // The rows in the order the optional column sorted by gives, or Recently played's.
    QList<int> customOrder() const;
    void updateRomFiles();

    AppState &m_state;
    GameListModel &m_model;
    GameListProxy &m_proxy;
    GameListView &m_list;
    RomFileIndex &m_romFiles;
    QLineEdit *m_filter = nullptr;
    QCheckBox *m_missing = nullptr;
    QComboBox *m_show = nullptr;
    // An optional column the list is sorted by, while one is.
    std::optional<ListColumn> m_optionalSort;
    Qt::SortOrder m_optionalOrder = Qt::AscendingOrder;
    QTimer m_romFilesTimer;
    QStringList m_namesToLookFor;
    bool m_listAgain = false; // too many names: every directory is listed again instead
};
