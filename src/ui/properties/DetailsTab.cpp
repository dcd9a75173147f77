#include "ui/properties/DetailsTab.h"

#include "core/Numbers.h"
#include "core/RomRecord.h"
#include "state/AppState.h"
#include "tape/TapeCard.h"
#include "ui/properties/NamedControls.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>

namespace {

// LanguageTable indices of the tab's captions.
constexpr int kNameCaption = 0;      // lang000
constexpr int kPublisherCaption = 1; // lang001
constexpr int kYearCaption = 2;      // lang002
constexpr int kAuthorsCaption = 3;   // lang003
constexpr int kTypesCaption = 4;     // lang004

constexpr int kWidestTypeChars = 60;

// A year box that would store no year: empty, or the 0 an entry without a year shows.
bool isEmptyYear(const QString &text)
{
    const QString trimmed = text.trimmed();
    return trimmed.isEmpty() || trimmed == u"0";
}

} // namespace

DetailsTab::DetailsTab(const AppState &state, QWidget *parent)
    : QWidget(parent)
    , m_state(state)
{
    setObjectName(QStringLiteral("tabDetails"));
    txtGameName = namedLineEdit(this, "txtGameName");
    lstType = new QListWidget(this);
    lstType->setObjectName(QStringLiteral("lstType"));
    lstType->setSelectionMode(QAbstractItemView::SingleSelection);
    txtYear = namedLineEdit(this, "txtYear");
    txtPublisher = namedLineEdit(this, "txtPublisher");
    txtAuthors = namedLineEdit(this, "txtAuthors");
    Label1 = namedLabel(this, "Label1", txtGameName);
    Label2 = namedLabel(this, "Label2", lstType);
    Label3 = namedLabel(this, "Label3", txtYear);
    Label4 = namedLabel(this, "Label4", txtPublisher);
    Label5 = namedLabel(this, "Label5", txtAuthors);

    auto *grid = new QGridLayout(this);
    const std::pair<QLabel *, QWidget *> rows[] = {{Label1, txtGameName},
                                                   {Label2, lstType},
                                                   {Label3, txtYear},
                                                   {Label4, txtPublisher},
                                                   {Label5, txtAuthors}};
    int row = 0;
    for (const auto &[label, field] : rows) {
        grid->addWidget(label, row, 0,
                        Qt::AlignLeft | (field == lstType ? Qt::AlignTop : Qt::AlignVCenter));
        grid->addWidget(field, row, 1);
        ++row;
    }
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(1, 1);
}

void DetailsTab::setCaptions()
{
    const LanguageTable &language = m_state.language;
    Label1->setText(language.at(kNameCaption));
    Label2->setText(language.at(kTypesCaption));
    Label3->setText(language.at(kYearCaption));
    Label4->setText(language.at(kPublisherCaption));
    Label5->setText(language.at(kAuthorsCaption));
}

void DetailsTab::listTypes()
{
    lstType->clear();
    lstType->addItems(m_state.gameTypes.names);
    // Wide enough for every type name, unless a language file makes one absurdly long: that one
    // scrolls.
    const int widest = std::min(lstType->sizeHintForColumn(0),
                                lstType->fontMetrics().averageCharWidth() * kWidestTypeChars);
    lstType->setMinimumWidth(widest + 2 * lstType->frameWidth() +
                             lstType->verticalScrollBar()->sizeHint().width() + 4);
}

void DetailsTab::showRecord(const RomRecord &record)
{
    txtGameName->setText(record.RomName);
    txtYear->setText(QString::number(record.Year));
    txtPublisher->setText(record.Publisher);
    txtAuthors->setText(record.Authors);
    // A type outside the table (imported data) selects no row; OK then keeps it.
    lstType->setCurrentRow(record.RomType >= 0 && record.RomType < lstType->count() ? record.RomType
                                                                                    : -1);
    centreType();
}

void DetailsTab::readInto(RomRecord &record) const
{
    record.RomName = txtGameName->text();
    if (lstType->currentRow() >= 0)
        record.RomType = lstType->currentRow();
    // A number too large for the field is held at the largest year it can store.
    record.Year = nearestInteger(leadingNumber(txtYear->text()));
    record.Publisher = txtPublisher->text();
    record.Authors = txtAuthors->text();
}

void DetailsTab::centreType()
{
    if (lstType->currentItem() != nullptr)
        lstType->scrollToItem(lstType->currentItem(), QAbstractItemView::PositionAtCenter);
}

QStringList DetailsTab::fillEmptyBoxes(const TapeCard &card, const QString &droppedName)
{
    const LanguageTable &language = m_state.language;
    QStringList filled;
    const auto fill = [&](QLineEdit *box, const QString &value, int caption) {
        const QString held = box->text().trimmed();
        if (value.isEmpty() || !(held.isEmpty() || (box == txtGameName && held == droppedName)))
            return;
        box->setText(value);
        filled.append(language.at(caption));
    };
    fill(txtGameName, card.title.isEmpty() ? card.programName : card.title, kNameCaption);
    fill(txtPublisher, card.publisher, kPublisherCaption);
    fill(txtAuthors, card.authors, kAuthorsCaption);
    if (card.year != 0 && isEmptyYear(txtYear->text())) {
        txtYear->setText(QString::number(card.year));
        filled.append(language.at(kYearCaption));
    }
    return filled;
}
