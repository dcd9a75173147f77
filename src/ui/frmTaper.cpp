#include "ui/frmTaper.h"

#include "tape/TapeListing.h"
#include "tape/TapeReader.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { BlockColumn, DescriptionColumn, SizeColumn };

// Wide enough for a decoded header and the missing-datablock note without eliding.
constexpr int kDescriptionChars = 44;
constexpr int kVisibleRows = 24;

// The descriptions are padded with blanks to line up, so they need a fixed-width font.
QFont fixedFont()
{
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

} // namespace

frmTaper::frmTaper(AppState &state, Dialogs &dialogs, const QString &path, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_path(path)
{
    setObjectName(QStringLiteral("frmTaper"));
    setWindowTitle(kTaperCaption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    lstTaper = new QTreeWidget(this);
    lstTaper->setObjectName(QStringLiteral("lstTaper"));
    lstTaper->setColumnCount(3);
    lstTaper->setHeaderLabels({QStringLiteral("Block"), QString(), QStringLiteral("Size")});
    lstTaper->headerItem()->setTextAlignment(BlockColumn, Qt::AlignRight | Qt::AlignVCenter);
    lstTaper->headerItem()->setTextAlignment(SizeColumn, Qt::AlignRight | Qt::AlignVCenter);
    lstTaper->setRootIsDecorated(false);
    lstTaper->setUniformRowHeights(true);
    lstTaper->setAllColumnsShowFocus(true);
    lstTaper->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstTaper->setSelectionMode(QAbstractItemView::SingleSelection);

    const QFontMetrics plainMetrics(lstTaper->font());
    const QFontMetrics fixedMetrics(fixedFont());
    const int padding = 2 * plainMetrics.horizontalAdvance(u' ') + 12;
    const int numberWidth = plainMetrics.horizontalAdvance(QStringLiteral("000000")) + padding;
    const int descriptionWidth =
        fixedMetrics.horizontalAdvance(QString(kDescriptionChars, u'0')) + padding;

    QHeaderView *header = lstTaper->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(DescriptionColumn, QHeaderView::Stretch);
    header->resizeSection(BlockColumn, numberWidth);
    header->resizeSection(SizeColumn, numberWidth);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(lstTaper);

    const int rowHeight = std::max(plainMetrics.height(), fixedMetrics.height()) + 4;
    resize(2 * numberWidth + descriptionWidth + 40, kVisibleRows * rowHeight + 60);

    Form_Load();
}

void frmTaper::Form_Load()
{
    if (const auto message = ReadTapeImage(m_state.tape, m_path))
        m_dialogs.show(this, *message);
    ListTapeBlocks();
}

void frmTaper::ListTapeBlocks()
{
    lstTaper->clear();
    const QFont fixed = fixedFont();
    const QList<TapeRow> rows = ::ListTapeBlocks(m_state.tape);

    QList<QTreeWidgetItem *> items;
    items.reserve(rows.size());
    for (const TapeRow &row : rows) {
        auto *item = new QTreeWidgetItem({row.block, row.description, row.size});
        item->setTextAlignment(BlockColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(SizeColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setFont(DescriptionColumn, fixed);
        if (row.colour != TapeRow::Colour::Default) {
            const QColor colour =
                row.colour == TapeRow::Colour::Blue ? QColor(0, 0, 255) : QColor(0, 0, 0);
            item->setForeground(DescriptionColumn, colour);
            item->setForeground(SizeColumn, colour);
        }
        items.append(item);
    }
    // One insertion for the whole tape: a long image lists without a repaint per row.
    lstTaper->addTopLevelItems(items);
}
