#include "ui/tape/frmTaper.h"

#include "tape/TapeReader.h"
#include "ui/tape/TapeListModel.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Wide enough for a decoded header and the missing-datablock note without eliding.
constexpr int kDescriptionChars = 44;
constexpr int kVisibleRows = 24;

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

    m_model = new TapeListModel(this);
    lstTaper = new QTableView(this);
    lstTaper->setObjectName(QStringLiteral("lstTaper"));
    lstTaper->setModel(m_model);
    lstTaper->setShowGrid(false);
    lstTaper->setWordWrap(false);
    lstTaper->verticalHeader()->hide();
    lstTaper->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstTaper->setSelectionMode(QAbstractItemView::SingleSelection);
    lstTaper->setSelectionBehavior(QAbstractItemView::SelectRows);

    const QFontMetrics plainMetrics(lstTaper->font());
    const QFontMetrics fixedMetrics(TapeListModel::descriptionFont());
    const int padding = 2 * plainMetrics.horizontalAdvance(u' ') + 12;
    const int numberWidth = plainMetrics.horizontalAdvance(QStringLiteral("000000")) + padding;
    const int descriptionWidth =
        fixedMetrics.horizontalAdvance(QString(kDescriptionChars, u'0')) + padding;

    const int rowHeight = std::max(plainMetrics.height(), fixedMetrics.height()) + 4;
    lstTaper->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lstTaper->verticalHeader()->setDefaultSectionSize(rowHeight);
    QHeaderView *header = lstTaper->horizontalHeader();
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(TapeListModel::DescriptionColumn, QHeaderView::Stretch);
    header->resizeSection(TapeListModel::BlockColumn, numberWidth);
    header->resizeSection(TapeListModel::SizeColumn, numberWidth);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(lstTaper);

    resize(2 * numberWidth + descriptionWidth + 40, kVisibleRows * rowHeight + 60);

    Form_Load();
}

void frmTaper::Form_Load()
{
    const auto message = ReadTapeImage(m_state.tape, m_path);
    m_loaded = !message.has_value();
    if (message)
        m_dialogs.show(this, *message);
    ListTapeBlocks();
}

void frmTaper::ListTapeBlocks()
{
    m_model->setTape(m_state.tape);
}
