#include "ui/main/GameListFinder.h"

#include "state/AppState.h"
#include "state/RomFileIndex.h"
#include "ui/list/GameListModel.h"
#include "ui/list/GameListProxy.h"
#include "ui/list/GameListView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QShortcut>
#include <QVBoxLayout>

#include <numeric>

namespace {

const QString kFilterPrompt = QStringLiteral("Find (Ctrl+F): name, publisher, author, year, type");
const QString kMissingOnly = QStringLiteral("Missing files only");
const QString kShowLabel = QStringLiteral("Sho&w:");
const QString kTagChoice = QStringLiteral("Tag: %1");
// The fixed Show choices, in the combo's order; the tags follow them.
enum ShowChoice { ShowAll, ShowFavourites, ShowRecent, ShowNeverPlayed, ShowTagsFrom };
const QStringList kShowChoices = {QStringLiteral("All"), QStringLiteral("Favourites"),
                                  QStringLiteral("Recently played"),
                                  QStringLiteral("Never played")};

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
    m_show = new QComboBox(pane);
    m_show->setObjectName(QStringLiteral("cboShow"));
    m_show->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto *showLabel = new QLabel(kShowLabel, pane);
    showLabel->setBuddy(m_show);
    fillShowChoices();

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(2, 2, 2, 2);
    bar->addWidget(m_filter, 1);
    bar->addWidget(showLabel);
    bar->addWidget(m_show);
    bar->addWidget(m_missing);
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(bar);
    layout->addWidget(&m_list, 1);

    connect(m_filter, &QLineEdit::textChanged, this, [this] { txtFilter_Change(); });
    connect(m_missing, &QCheckBox::toggled, this, [this] { chkMissing_Click(); });
    connect(m_show, &QComboBox::activated, this, [this] { cboShow_Change(); });
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
    if (m_missing->isChecked())
        m_romFiles.update(m_state.paths[PathKind::Rom]);
    applySlotFilter();
    Q_EMIT listChanged();
}

void GameListFinder::cboShow_Change()
{
    // Recently played lists the latest first, unless a column sorts.
    if (!m_optionalSort)
        m_proxy.setCustomOrder(m_show->currentIndex() == ShowRecent
                                   ? std::function<QList<int>()>([this] { return customOrder(); })
                                   : std::function<QList<int>()>());
    applySlotFilter();
    Q_EMIT listChanged();
}

void GameListFinder::libraryChanged()
{
    fillShowChoices();
    if (m_show->currentIndex() != ShowAll || m_optionalSort) {
        m_proxy.setCustomOrder(m_proxy.hasCustomOrder()
                                   ? std::function<QList<int>()>([this] { return customOrder(); })
                                   : std::function<QList<int>()>());
        applySlotFilter();
        Q_EMIT listChanged();
    }
}

void GameListFinder::fillShowChoices()
{
    const QString chosen = m_show->currentText();
    const QSignalBlocker quiet(m_show);
    m_show->clear();
    m_show->addItems(kShowChoices);
    for (const QString &tag : m_state.library.allTags())
        m_show->addItem(kTagChoice.arg(tag), tag);
    // A tag no entry has any longer shows all again.
    m_show->setCurrentIndex(std::max(0, m_show->findText(chosen)));
}

void GameListFinder::applySlotFilter()
{
    const bool missing = m_missing->isChecked();
    const int choice = m_show->currentIndex();
    if (!missing && choice == ShowAll) {
        m_proxy.setSlotFilter({});
        return;
    }
    m_proxy.setSlotFilter([this, missing, shown = shownByChoice(choice)](int slot) {
        if (missing && m_romFiles.holds(m_state.database.Get(slot).RomFile))
            return false;
        return !shown || shown(m_state.libraryRowOf(slot));
    });
}

std::function<bool(const LibraryRow *)> GameListFinder::shownByChoice(int choice) const
{
    switch (choice) {
    case ShowAll:
        return {};
    case ShowFavourites:
        return [](const LibraryRow *row) { return row != nullptr && row->favourite; };
    case ShowRecent:
        return
            [since = QDateTime::currentSecsSinceEpoch() - kRecentSeconds](const LibraryRow *row) {
                return row != nullptr && row->plays > 0 && row->lastPlayed >= since;
            };
    case ShowNeverPlayed:
        return [](const LibraryRow *row) { return row == nullptr || row->plays == 0; };
    default:
        return [tag = m_show->currentData().toString()](const LibraryRow *row) {
            return row != nullptr && row->tags.contains(tag, Qt::CaseInsensitive);
        };
    }
}

QList<int> GameListFinder::customOrder() const
{
    QList<int> rows(m_model.rowCount());
    std::iota(rows.begin(), rows.end(), 0);
    if (m_optionalSort) {
        QList<QVariant> keys;
        keys.reserve(rows.size());
        for (const int row : std::as_const(rows))
            keys.append(m_model.sortKey(*m_optionalSort, row));
        const bool descending = m_optionalOrder == Qt::DescendingOrder;
        std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
            const int order =
                QVariant::compare(keys.at(a), keys.at(b)) == QPartialOrdering::Less
                    ? -1
                    : (QVariant::compare(keys.at(b), keys.at(a)) == QPartialOrdering::Less ? 1 : 0);
            return descending ? order > 0 : order < 0;
        });
        return rows;
    }
    // Recently played: the latest start first.
    QList<qint64> last(rows.size());
    for (const int row : std::as_const(rows)) {
        const LibraryRow *remembered = m_state.libraryRowOf(m_model.slotOfRow(row));
        last[row] = remembered != nullptr ? remembered->lastPlayed : 0;
    }
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) { return last[a] > last[b]; });
    return rows;
}

// A click sorts by the column, a second click the other way, a third gives back the
// catalogue's own order.
void GameListFinder::header_Click(int column)
{
    QHeaderView *header = m_list.header();
    if (const std::optional<ListColumn> optional = m_model.optionalColumnAt(column)) {
        // Sorting by the machine would read every entry's rom file.
        if (!listColumnSorts(*optional))
            return;
        if (m_optionalSort != optional) {
            m_optionalSort = optional;
            m_optionalOrder = Qt::AscendingOrder;
        } else if (m_optionalOrder == Qt::AscendingOrder) {
            m_optionalOrder = Qt::DescendingOrder;
        } else {
            m_optionalSort.reset();
        }
        m_proxy.setSort(SortColumn::None, Qt::AscendingOrder);
        const bool recent = m_show->currentIndex() == ShowRecent;
        m_proxy.setCustomOrder(m_optionalSort || recent
                                   ? std::function<QList<int>()>([this] { return customOrder(); })
                                   : std::function<QList<int>()>());
        header->setSortIndicatorShown(bool(m_optionalSort));
        if (m_optionalSort)
            header->setSortIndicator(column, m_optionalOrder);
        Q_EMIT listChanged();
        return;
    }
    // A column of the catalogue sorts: the optional one no longer does.
    if (m_optionalSort) {
        m_optionalSort.reset();
        if (m_show->currentIndex() != ShowRecent)
            m_proxy.setCustomOrder({});
    }
    const SortColumn clicked = sortColumnOf(column);
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
