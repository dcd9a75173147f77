// Finding entries: the filter box and "Missing files only" above the list, sorting by a
// column's header, and F5 to look at the rom paths again.
#include "ui/frmMain.h"

#include "ui/GameListModel.h"
#include "ui/GameListProxy.h"
#include "ui/GameListView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
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
    FilterKeys(frmMain &window)
        : QObject(&window)
        , m_window(window)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        GameListView *list = m_window.lstGames;
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Escape:
            m_window.txtFilter->clear();
            list->setFocus();
            return true;
        case Qt::Key_Down:
            list->setFocus();
            if (!list->currentIndex().isValid() && list->model()->rowCount() > 0)
                list->setCurrentIndex(list->model()->index(0, 0));
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // The first match runs, as a double-click on it would.
            if (list->model()->rowCount() > 0) {
                list->setCurrentIndex(list->model()->index(0, 0));
                m_window.lstGames_DblClick();
            }
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    frmMain &m_window;
};

} // namespace

void frmMain::buildFilterBar()
{
    txtFilter = new QLineEdit(picListPane);
    txtFilter->setObjectName(QStringLiteral("txtFilter"));
    txtFilter->setPlaceholderText(kFilterPrompt);
    txtFilter->setClearButtonEnabled(true);
    txtFilter->installEventFilter(new FilterKeys(*this));
    chkMissing = new QCheckBox(kMissingOnly, picListPane);
    chkMissing->setObjectName(QStringLiteral("chkMissing"));

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(2, 2, 2, 2);
    bar->addWidget(txtFilter, 1);
    bar->addWidget(chkMissing);
    auto *layout = new QVBoxLayout(picListPane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(bar);
    layout->addWidget(lstGames, 1);

    connect(txtFilter, &QLineEdit::textChanged, this, [this] { txtFilter_Change(); });
    connect(chkMissing, &QCheckBox::toggled, this, [this] { chkMissing_Click(); });
    QHeaderView *header = lstGames->header();
    header->setSectionsClickable(true);
    connect(header, &QHeaderView::sectionClicked, this, &frmMain::header_Click);

    auto *find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        txtFilter->setFocus(Qt::ShortcutFocusReason);
        txtFilter->selectAll();
    });
    auto *refresh = new QShortcut(QKeySequence::Refresh, this);
    connect(refresh, &QShortcut::activated, this, [this] { refreshRomFiles(); });
}

void frmMain::txtFilter_Change()
{
    m_proxy->setFilterText(txtFilter->text());
    afterFilterChange();
}

void frmMain::chkMissing_Click()
{
    if (chkMissing->isChecked()) {
        m_romFiles.update(m_state.paths[PathKind::Rom]);
        m_proxy->setSlotFilter(
            [this](int slot) { return !m_romFiles.holds(m_state.database.Get(slot).RomFile); });
    } else {
        m_proxy->setSlotFilter({});
    }
    afterFilterChange();
}

// A click sorts by the column, a second click the other way, a third gives back the
// catalogue's own order.
void frmMain::header_Click(int column)
{
    const SortColumn clicked = sortColumnOf(column);
    QHeaderView *header = lstGames->header();
    if (clicked == SortColumn::None || clicked != m_proxy->sortColumn()) {
        m_proxy->setSort(clicked, Qt::AscendingOrder);
    } else if (m_proxy->sortOrder() == Qt::AscendingOrder) {
        m_proxy->setSort(clicked, Qt::DescendingOrder);
    } else {
        m_proxy->setSort(SortColumn::None, Qt::AscendingOrder);
    }
    header->setSortIndicatorShown(m_proxy->sortColumn() != SortColumn::None);
    if (m_proxy->sortColumn() != SortColumn::None)
        header->setSortIndicator(column, m_proxy->sortOrder());
    if (lstGames->currentIndex().isValid())
        lstGames->scrollTo(lstGames->currentIndex());
}

void frmMain::refreshRomFiles()
{
    m_romFiles.update(m_state.paths[PathKind::Rom], true);
    m_model->romFilesChanged();
    if (chkMissing->isChecked())
        m_proxy->refilter();
    afterFilterChange();
}

void frmMain::afterFilterChange()
{
    showEntryCount();
    const RomDatabase &database = m_state.database;
    // What the list no longer shows is no longer selected.
    if (database.SelectedIndex > kNone && m_proxy->rowOfSlot(database.SelectedIndex) < 0) {
        clearSelection();
        setRomItemsEnabled(false);
    }
    if (listedRows() == 0)
        setRomItemsEnabled(false);
}
