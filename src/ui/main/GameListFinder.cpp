#include "ui/main/GameListFinder.h"

#include "state/AppState.h"
#include "state/RomFileIndex.h"
#include "ui/list/GameListModel.h"
#include "ui/list/GameListProxy.h"
#include "ui/list/GameListView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

const QString kFilterPrompt = QStringLiteral("Find (Ctrl+F): name, publisher, author, year, type");
const QString kMissingOnly = QStringLiteral("Missing files only");

// The column a header section sorts by.
SortColumn sortColumnOf(int section)
{
    switch (section) {
    case GameListModel::NameColumn:
        return SortColumn::Name;
    case GameListModel::PublisherColumn:
        return SortColumn::Publisher;
    case GameListModel::YearColumn:
        return SortColumn::Year;
    default:
        return SortColumn::None;
    }
}

// Escape, Down and Enter in the filter box speak to the list.
class FilterKeys : public QObject
{
public:
    FilterKeys(GameListFinder &finder, QLineEdit &filter, GameListView &list)
        : QObject(&finder)
        , m_finder(finder)
        , m_filter(filter)
        , m_list(list)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Escape:
            m_filter.clear();
            m_list.setFocus();
            return true;
        case Qt::Key_Down:
            m_list.setFocus();
            // Into the list on a picked row: the one picked before, or the first.
            if (m_list.model()->rowCount() > 0 &&
                (!m_list.currentIndex().isValid() ||
                 !m_list.selectionModel()->isRowSelected(m_list.currentIndex().row())))
                m_list.setCurrentIndex(m_list.model()->index(0, 0));
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // The first match runs, as a double-click on it would.
            if (m_list.model()->rowCount() > 0) {
                m_list.setCurrentIndex(m_list.model()->index(0, 0));
                Q_EMIT m_finder.runFirstMatch();
            }
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    GameListFinder &m_finder;
    QLineEdit &m_filter;
    GameListView &m_list;
};

} // namespace

GameListFinder::GameListFinder(AppState &state, GameListModel &model, GameListProxy &proxy,
                               GameListView &list, RomFileIndex &romFiles, QWidget *pane)
    : QObject(pane)
    , m_state(state)
    , m_model(model)
    , m_proxy(proxy)
    , m_list(list)
    , m_romFiles(romFiles)
{
    buildBar(pane);
    m_romFilesTimer.setSingleShot(true);
    connect(&m_romFilesTimer, &QTimer::timeout, this, [this] { updateRomFiles(); });
}

void GameListFinder::buildBar(QWidget *pane)
{
    m_filter = new QLineEdit(pane);
    m_filter->setObjectName(QStringLiteral("txtFilter"));
    m_filter->setPlaceholderText(kFilterPrompt);
    m_filter->setClearButtonEnabled(true);
    m_filter->installEventFilter(new FilterKeys(*this, *m_filter, m_list));
    m_missing = new QCheckBox(kMissingOnly, pane);
    m_missing->setObjectName(QStringLiteral("chkMissing"));

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(2, 2, 2, 2);
    bar->addWidget(m_filter, 1);
    bar->addWidget(m_missing);
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(bar);
    layout->addWidget(&m_list, 1);

    connect(m_filter, &QLineEdit::textChanged, this, [this] { txtFilter_Change(); });
    connect(m_missing, &QCheckBox::toggled, this, [this] { chkMissing_Click(); });
    QHeaderView *header = m_list.header();
    header->setSectionsClickable(true);
    connect(header, &QHeaderView::sectionClicked, this, &GameListFinder::header_Click);

    QWidget *window = pane->window();
    auto *find = new QShortcut(QKeySequence::Find, window);
    connect(find, &QShortcut::activated, this, [this] {
        m_filter->setFocus(Qt::ShortcutFocusReason);
        m_filter->selectAll();
    });
    auto *refresh = new QShortcut(QKeySequence::Refresh, window);
    connect(refresh, &QShortcut::activated, this, [this] { refreshRomFiles(); });
}

void GameListFinder::txtFilter_Change()
{
    m_proxy.setFilterText(m_filter->text());
    Q_EMIT listChanged();
}

void GameListFinder::chkMissing_Click()
{
    if (m_missing->isChecked()) {
        m_romFiles.update(m_state.paths[PathKind::Rom]);
        m_proxy.setSlotFilter(
            [this](int slot) { return !m_romFiles.holds(m_state.database.Get(slot).RomFile); });
    } else {
        m_proxy.setSlotFilter({});
    }
    Q_EMIT listChanged();
}

// A click sorts by the column, a second click the other way, a third gives back the
// catalogue's own order.
void GameListFinder::header_Click(int column)
{
    // Sorting by what an optional column shows would read every entry's rom file.
    if (m_model.optionalColumnAt(column))
        return;
    const SortColumn clicked = sortColumnOf(column);
    QHeaderView *header = m_list.header();
    if (clicked == SortColumn::None || clicked != m_proxy.sortColumn()) {
        m_proxy.setSort(clicked, Qt::AscendingOrder);
    } else if (m_proxy.sortOrder() == Qt::AscendingOrder) {
        m_proxy.setSort(clicked, Qt::DescendingOrder);
    } else {
        m_proxy.setSort(SortColumn::None, Qt::AscendingOrder);
    }
    header->setSortIndicatorShown(m_proxy.sortColumn() != SortColumn::None);
    if (m_proxy.sortColumn() != SortColumn::None)
        header->setSortIndicator(column, m_proxy.sortOrder());
    if (m_list.currentIndex().isValid())
        m_list.scrollTo(m_list.currentIndex());
}

void GameListFinder::refreshRomFiles()
{
    m_romFiles.update(m_state.paths[PathKind::Rom], true);
    m_model.romFilesChanged();
    if (m_missing->isChecked())
        m_proxy.refilter();
    Q_EMIT listChanged();
}

QString GameListFinder::entryCountText() const
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    const int rows = m_proxy.rowCount();
    if (m_proxy.filtering())
        return QStringLiteral("%1 of %2 entries")
            .arg(locale.toString(rows), locale.toString(m_proxy.totalRows()));
    return rows == 1 ? QStringLiteral("1 entry")
                     : QStringLiteral("%1 entries").arg(locale.toString(rows));
}

// Past a few thousand new names (a whole catalogue loaded or imported), listing every directory
// again is quicker than looking for each name in each.
constexpr qsizetype kNamesLookedFor = 2000;

void GameListFinder::refillList()
{
    const RomDatabase &database = m_state.database;
    const int rows = m_model.rowCount();
    const int first = rows > 0 ? m_model.slotOfRow(rows - 1) + 1 : 0;
    QStringList added;
    if (database.slotCount() - first > kNamesLookedFor)
        m_listAgain = true;
    else
        for (int slot = first; slot < database.slotCount(); ++slot)
            added.append(database.Get(slot).RomFile);
    m_model.refill();
    scheduleRomFilesUpdate(added);
}

void GameListFinder::scheduleRomFilesUpdate(const QStringList &romFiles)
{
    m_namesToLookFor += romFiles;
    m_listAgain = m_listAgain || m_namesToLookFor.size() > kNamesLookedFor;
    m_romFilesTimer.start(0);
}

void GameListFinder::updateRomFiles()
{
    const QStringList names = std::exchange(m_namesToLookFor, {});
    const bool relist = std::exchange(m_listAgain, false);
    bool changed = m_romFiles.update(m_state.paths[PathKind::Rom], relist);
    if (!relist)
        changed = m_romFiles.lookAgain(names) || changed;
    if (!changed)
        return;
    m_model.romFilesChanged();
    if (m_missing->isChecked()) {
        m_proxy.refilter();
        Q_EMIT listChanged();
    }
}
