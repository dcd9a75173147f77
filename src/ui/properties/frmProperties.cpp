#include "ui/properties/frmProperties.h"

#include "archive/Archive.h"
#include "archive/RomFile.h"
#include "core/Cp1252.h"
#include "core/Numbers.h"
#include "core/PathText.h"
#include "render/NoScreenshot.h"
#include "render/PictureLoader.h"
#include "state/AppState.h"
#include "state/ScreenshotList.h"
#include "tape/TapeCard.h"
#include "tape/TapeReader.h"
#include "ui/common/CatalogueView.h"
#include "ui/common/Dialogs.h"
#include "ui/common/DroppedFiles.h"
#include "ui/common/KeepLoadingScreen.h"
#include "ui/common/Mnemonics.h"
#include "ui/properties/CommandPreview.h"
#include "ui/properties/RunTab.h"
#include "ui/tape/frmTaper.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// LanguageTable indices of the dialog's captions.
constexpr int kNameCaption = 0;       // lang000
constexpr int kPublisherCaption = 1;  // lang001
constexpr int kYearCaption = 2;       // lang002
constexpr int kAuthorsCaption = 3;    // lang003
constexpr int kTypesCaption = 4;      // lang004
constexpr int kNotesCaption = 5;      // lang005
constexpr int kOkCaption = 6;         // lang006
constexpr int kCancelCaption = 7;     // lang007
constexpr int kTitleCaption = 8;      // lang008
constexpr int kImagesCaption = 9;     // lang009
constexpr int kFilesCaption = 10;     // lang010
constexpr int kRomFileCaption = 11;   // lang011
constexpr int kAudioFileCaption = 12; // lang012
constexpr int kDetailsCaption = 16;   // lang016
constexpr int kAddCaption = 22;       // lang018
constexpr int kRemoveCaption = 23;    // lang019
constexpr int kClearCaption = 31;     // lang027
constexpr int kBlocksCaption = 32;    // lang028

constexpr int kNewEntryType = 15; // "Arcade - [uncategorized]"
constexpr int kWidestTypeChars = 60;
constexpr QSize kPreviewSize(256, 192);
// A cancelled dialog gives the empty path; anything this short is no file either.
constexpr qsizetype kShortestPath = 5;
constexpr int kRomFilterAllFiles = 6;
constexpr int kImageFilterAllPictures = 0;
// More unkept characters than this are cut short: the question stays readable.
constexpr qsizetype kUnkeptShown = 10;

const QString kFilledPrefix = QStringLiteral("Filled from the tape: ");
const QString kNothingFilled = QStringLiteral("Nothing filled: the tape has nothing for the "
                                              "empty boxes.");
const QString kNotFoundTip = QStringLiteral("Unable to locate file [%1]");
const QString kBrowseCaption = QStringLiteral("...");
const QString kAddLoadingScreenCaption = QStringLiteral("Add loading screen");

// "..." needs no more than a little room around it, not a push button's usual least width.
int browseButtonWidth(const QPushButton *button)
{
    return button->fontMetrics().horizontalAdvance(QStringLiteral("  ...  ")) + 16;
}

bool isTapeName(const QString &romFile)
{
    const QString extension = lowerExtension(romFile.trimmed());
    return extension == u"tzx" || extension == u"tap";
}

// A year box that would store no year: empty, or the 0 an entry without a year shows.
bool isEmptyYear(const QString &text)
{
    const QString trimmed = text.trimmed();
    return trimmed.isEmpty() || trimmed == u"0";
}

QPushButton *makeButton(QWidget *parent, const char *name)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QLineEdit *makeLineEdit(QWidget *parent, const char *name)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QLabel *makeLabel(QWidget *parent, const char *name, QWidget *buddy)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setBuddy(buddy);
    return label;
}

} // namespace

frmProperties::frmProperties(AppState &state, Dialogs &dialogs, CatalogueView &view,
                             PictureLoader &pictures, bool adding, QWidget *parent)
    : QDialog(parent)
    , boolAdding(adding)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_view(view)
    , m_pictures(pictures)
    , m_placeholder(drawPicNoSS())
{
    setObjectName(QStringLiteral("frmProperties"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    setAcceptDrops(true);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    // Every tab caption whole, however long the language file makes it: the tab bar then sets
    // the dialog's least width.
    SSTab1->tabBar()->setUsesScrollButtons(false);
    SSTab1->tabBar()->setElideMode(Qt::ElideNone);
    buildDetailsTab();
    buildNotesTab();
    buildImagesTab();
    buildFilesTab();
    runTab = new RunTab(m_state, SSTab1);
    SSTab1->addTab(runTab, kRunCaption);

    cmdOK = makeButton(this, "cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = makeButton(this, "cmdCancel");
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1, 1);
    layout->addLayout(buttons);
    buildTabOrder();

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdLocate, &QPushButton::clicked, this, [this] { cmdLocate_Click(); });
    connect(cmdFindMusic, &QPushButton::clicked, this, [this] { cmdFindMusic_Click(); });
    connect(cmdRunTaper, &QPushButton::clicked, this, [this] { cmdRunTaper_Click(); });
    connect(cmdFillFromTape, &QPushButton::clicked, this, [this] { cmdFillFromTape_Click(); });
    connect(txtRom, &QLineEdit::textChanged, this, [this] { txtRom_Change(); });
    for (int i = 0; i < ActionCount; ++i)
        connect(cmdAction.at(i), &QPushButton::clicked, this, [this, i] { cmdAction_Click(i); });

    Form_Load();
    // The captions are known now; the dialog starts at its least size or a little larger.
    const QSize least = layout->totalMinimumSize();
    setMinimumSize(least);
    resize(std::max(least.width(), 520), std::max(least.height(), 440));
}

void frmProperties::buildDetailsTab()
{
    auto *page = new QWidget(SSTab1);
    page->setObjectName(QStringLiteral("tabDetails"));
    txtGameName = makeLineEdit(page, "txtGameName");
    lstType = new QListWidget(page);
    lstType->setObjectName(QStringLiteral("lstType"));
    lstType->setSelectionMode(QAbstractItemView::SingleSelection);
    txtYear = makeLineEdit(page, "txtYear");
    txtPublisher = makeLineEdit(page, "txtPublisher");
    txtAuthors = makeLineEdit(page, "txtAuthors");
    Label1 = makeLabel(page, "Label1", txtGameName);
    Label2 = makeLabel(page, "Label2", lstType);
    Label3 = makeLabel(page, "Label3", txtYear);
    Label4 = makeLabel(page, "Label4", txtPublisher);
    Label5 = makeLabel(page, "Label5", txtAuthors);

    auto *grid = new QGridLayout(page);
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
    SSTab1->addTab(page, QString());
}

void frmProperties::buildNotesTab()
{
    auto *page = new QWidget(SSTab1);
    page->setObjectName(QStringLiteral("tabNotes"));
    txtNotes = new QPlainTextEdit(page);
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setTabChangesFocus(true);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(txtNotes);
    SSTab1->addTab(page, QString());
}

void frmProperties::buildImagesTab()
{
    auto *page = new QWidget(SSTab1);
    page->setObjectName(QStringLiteral("tabImages"));
    picScrShot = new QLabel(page);
    picScrShot->setObjectName(QStringLiteral("picScrShot"));
    picScrShot->setFixedSize(kPreviewSize);
    picScrShot->setAlignment(Qt::AlignCenter);
    lblScrShots = new QLabel(page);
    lblScrShots->setObjectName(QStringLiteral("lblScrShots"));
    lblScrShots->setAlignment(Qt::AlignCenter);

    static const char *const names[ActionCount] = {"cmdAction0", "cmdAction1", "cmdAction2",
                                                   "cmdAction3", "cmdAction4"};
    for (const char *name : names)
        cmdAction.append(makeButton(page, name));
    cmdAction[ActionPrevious]->setText(QStringLiteral("<"));
    cmdAction[ActionNext]->setText(QStringLiteral(">"));

    auto *stepping = new QHBoxLayout;
    stepping->addWidget(cmdAction[ActionPrevious]);
    stepping->addWidget(lblScrShots, 1);
    stepping->addWidget(cmdAction[ActionNext]);
    auto *editing = new QHBoxLayout;
    editing->addStretch();
    for (const int action : {ActionAdd, ActionRemove, ActionClear})
        editing->addWidget(cmdAction[action]);
    editing->addStretch();

    cmdAddLoadingScreen = makeButton(page, "cmdAddLoadingScreen");
    cmdAddLoadingScreen->setText(kAddLoadingScreenCaption);
    connect(cmdAddLoadingScreen, &QPushButton::clicked, this,
            [this] { cmdAddLoadingScreen_Click(); });
    auto *loadingScreen = new QHBoxLayout;
    loadingScreen->addStretch();
    loadingScreen->addWidget(cmdAddLoadingScreen);
    loadingScreen->addStretch();

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(picScrShot, 0, Qt::AlignHCenter);
    layout->addLayout(stepping);
    layout->addLayout(editing);
    layout->addLayout(loadingScreen);
    layout->addStretch();
    SSTab1->addTab(page, QString());
}

void frmProperties::buildFilesTab()
{
    auto *page = new QWidget(SSTab1);
    page->setObjectName(QStringLiteral("tabFiles"));
    txtRom = makeLineEdit(page, "txtRom");
    cmdLocate = makeButton(page, "cmdLocate");
    cmdLocate->setText(kBrowseCaption);
    cmdLocate->setFixedWidth(browseButtonWidth(cmdLocate));
    cmdRunTaper = makeButton(page, "cmdRunTaper");
    cmdRunTaper->setEnabled(false);
    cmdFillFromTape = makeButton(page, "cmdFillFromTape");
    cmdFillFromTape->setText(kFillFromTapeCaption);
    cmdFillFromTape->setEnabled(false);
    txtMusicFile = makeLineEdit(page, "txtMusicFile");
    cmdFindMusic = makeButton(page, "cmdFindMusic");
    cmdFindMusic->setText(kBrowseCaption);
    cmdFindMusic->setFixedWidth(browseButtonWidth(cmdFindMusic));
    Label6 = makeLabel(page, "Label6", txtRom);
    Label7 = makeLabel(page, "Label7", txtMusicFile);
    lblFilled = new QLabel(page);
    lblFilled->setObjectName(QStringLiteral("lblFilled"));
    lblFilled->setWordWrap(true);

    auto *tapeButtons = new QHBoxLayout;
    tapeButtons->addWidget(cmdRunTaper);
    tapeButtons->addWidget(cmdFillFromTape);
    tapeButtons->addStretch();

    auto *grid = new QGridLayout(page);
    grid->addWidget(Label6, 0, 0);
    grid->addWidget(txtRom, 0, 1);
    grid->addWidget(cmdLocate, 0, 2);
    grid->addLayout(tapeButtons, 1, 1, 1, 2);
    grid->addWidget(lblFilled, 2, 1, 1, 2);
    grid->addWidget(Label7, 3, 0);
    grid->addWidget(txtMusicFile, 3, 1);
    grid->addWidget(cmdFindMusic, 3, 2);
    commandPreview = new CommandPreview(m_state, page);
    grid->addWidget(commandPreview, 4, 0, 1, 3);
    grid->setRowMinimumHeight(2, lblFilled->fontMetrics().height() * 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(5, 1);
    SSTab1->addTab(page, QString());
}

void frmProperties::buildTabOrder()
{
    const QList<QWidget *> chain = {SSTab1,
                                    txtGameName,
                                    lstType,
                                    txtYear,
                                    txtPublisher,
                                    txtAuthors,
                                    txtNotes,
                                    cmdAction[ActionPrevious],
                                    cmdAction[ActionNext],
                                    cmdAction[ActionAdd],
                                    cmdAction[ActionRemove],
                                    cmdAction[ActionClear],
                                    txtRom,
                                    cmdLocate,
                                    cmdRunTaper,
                                    cmdFillFromTape,
                                    txtMusicFile,
                                    cmdFindMusic,
                                    commandPreview->txtCommand,
                                    commandPreview->cmdCopyCommand,
                                    runTab->cboEmulator,
                                    runTab->cboMachine,
                                    runTab->txtArguments,
                                    runTab->preview->cmdCopyCommand,
                                    cmdOK,
                                    cmdCancel};
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain.at(i - 1), chain.at(i));
}

void frmProperties::setCaptions()
{
    const LanguageTable &language = m_state.language;
    setWindowTitle(language.at(kTitleCaption));
    SSTab1->setTabText(TabDetails, language.at(kDetailsCaption));
    SSTab1->setTabText(TabNotes, language.at(kNotesCaption));
    SSTab1->setTabText(TabImages, language.at(kImagesCaption));
    SSTab1->setTabText(TabFiles, language.at(kFilesCaption));
    Label1->setText(language.at(kNameCaption));
    Label2->setText(language.at(kTypesCaption));
    Label3->setText(language.at(kYearCaption));
    Label4->setText(language.at(kPublisherCaption));
    Label5->setText(language.at(kAuthorsCaption));
    Label6->setText(language.at(kRomFileCaption));
    Label7->setText(language.at(kAudioFileCaption));
    cmdRunTaper->setText(language.at(kBlocksCaption));
    cmdOK->setText(language.at(kOkCaption));
    cmdCancel->setText(language.at(kCancelCaption));
    cmdAction[ActionAdd]->setText(language.at(kAddCaption));
    cmdAction[ActionRemove]->setText(language.at(kRemoveCaption));
    cmdAction[ActionClear]->setText(language.at(kClearCaption));
    giveMnemonics({cmdOK, cmdCancel, cmdAction[ActionAdd], cmdAction[ActionRemove],
                   cmdAction[ActionClear], cmdRunTaper, cmdFillFromTape, cmdAddLoadingScreen},
                  LanguageTable::defaults() << kFillFromTapeCaption << kAddLoadingScreenCaption);
}

void frmProperties::Form_Load()
{
    m_current = 0;
    setCaptions();
    lstType->clear();
    lstType->addItems(m_state.gameTypes.names);
    // Wide enough for every type name, unless a language file makes one absurdly long: that one
    // scrolls.
    const int widest = std::min(lstType->sizeHintForColumn(0),
                                lstType->fontMetrics().averageCharWidth() * kWidestTypeChars);
    lstType->setMinimumWidth(widest + 2 * lstType->frameWidth() +
                             lstType->verticalScrollBar()->sizeHint().width() + 4);

    const RomDatabase &database = m_state.database;
    if (boolAdding) {
        lstType->setCurrentRow(kNewEntryType);
        m_working = RomRecord{};
        m_working.RomType = kNewEntryType;
        m_shots.clear();
        ShowScreenshot();
    } else if (database.isEntrySlot(database.SelectedIndex)) {
        m_slot = database.SelectedIndex;
        ShowEntry(database.Get(m_slot));
    } else {
        ShowScreenshot();
    }
    txtRom_Change();
    SSTab1->setCurrentIndex(TabDetails);
    txtGameName->setFocus();
}

QString frmProperties::shownNotes(const QString &notes)
{
    return QString(notes).replace(kCrLf, QStringLiteral("\n"));
}

void frmProperties::ShowEntry(const RomRecord &record)
{
    m_working = record;
    txtGameName->setText(record.RomName);
    txtYear->setText(QString::number(record.Year));
    txtPublisher->setText(record.Publisher);
    txtAuthors->setText(record.Authors);
    txtNotes->setPlainText(shownNotes(record.Notes));
    m_shownNotes = txtNotes->toPlainText();
    txtRom->setText(record.RomFile);
    txtMusicFile->setText(record.AudioFile);
    // A type outside the table (imported data) selects no row; OK then keeps it.
    lstType->setCurrentRow(record.RomType >= 0 && record.RomType < lstType->count() ? record.RomType
                                                                                    : -1);
    if (lstType->currentItem() != nullptr)
        lstType->scrollToItem(lstType->currentItem(), QAbstractItemView::PositionAtCenter);
    m_shots = screenshotNames(record.Screenshots);
    m_current = 0;
    ShowScreenshot();
    m_shownKey = LibraryKey::of(record);
    runTab->showChoice(m_state.library.row(m_shownKey).run, record);
}

void frmProperties::ShowScreenshot()
{
    if (m_shots.isEmpty()) {
        m_current = 0;
        lblScrShots->clear();
        showPicture(m_placeholder, QString());
        setShotButtons();
        return;
    }
    m_current = int(std::clamp<qsizetype>(m_current, 0, m_shots.size() - 1));
    lblScrShots->setText(QStringLiteral("%1 of %2").arg(m_current + 1).arg(m_shots.size()));
    const QString name = m_shots.at(m_current);
    const QString path = findScreenshot(m_state.paths, name, m_state.programDir.programDir);
    if (path.isEmpty()) {
        showPicture(m_placeholder, kNotFoundTip.arg(name));
    } else {
        const LoadedPicture picture = m_pictures.load(path);
        if (picture.ok)
            showPicture(picture.image, path);
        else
            showPicture(m_placeholder, path + u'\n' + picture.error);
    }
    setShotButtons();
}

// Each button is usable exactly when it has something to do.
void frmProperties::setShotButtons()
{
    const bool any = !m_shots.isEmpty();
    cmdAction[ActionPrevious]->setEnabled(any && m_current > 0);
    cmdAction[ActionNext]->setEnabled(any && m_current < m_shots.size() - 1);
    cmdAction[ActionAdd]->setEnabled(true);
    cmdAction[ActionRemove]->setEnabled(any);
    cmdAction[ActionClear]->setEnabled(any);
}

void frmProperties::showPicture(const QImage &image, const QString &tip)
{
    const QImage fitted =
        image.size() == kPreviewSize
            ? image
            : image.scaled(kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    picScrShot->setPixmap(QPixmap::fromImage(fitted));
    picScrShot->setToolTip(tip);
}

void frmProperties::cmdAction_Click(int index)
{
    switch (index) {
    case ActionPrevious:
        m_current = std::max(0, m_current - 1);
        break;
    case ActionNext:
        m_current = std::min(int(m_shots.size()) - 1, m_current + 1);
        break;
    case ActionAdd:
        AddScreenshot();
        return;
    case ActionRemove: {
        if (m_shots.isEmpty())
            return;
        const Message question{kRemoveShotQuestion, kApplicationTitle, MessageIcon::None,
                               MessageButtons::YesNo};
        if (m_dialogs.show(this, question) != Dialogs::Answer::Yes)
            return;
        m_shots.removeAt(m_current);
        m_working.Screenshots = m_shots.join(u',');
        m_shots = screenshotNames(m_working.Screenshots);
        if (m_current > m_shots.size() - 1)
            --m_current;
        break;
    }
    case ActionClear: {
        const Message question{kClearShotsQuestion, kApplicationTitle, MessageIcon::None,
                               MessageButtons::YesNo};
        if (m_dialogs.show(this, question) != Dialogs::Answer::Yes)
            return;
        m_current = 0;
        m_working.Screenshots.clear();
        m_shots.clear();
        break;
    }
    default:
        return;
    }
    ShowScreenshot();
}

void frmProperties::appendScreenshot(const QString &path)
{
    addScreenshotFile(m_working.Screenshots, m_state.paths, path);
    m_shots = screenshotNames(m_working.Screenshots);
}

void frmProperties::refuseCommaNames(const QStringList &names)
{
    for (const QString &name : names)
        m_dialogs.show(this, commaInScreenshotName(name));
}

void frmProperties::AddScreenshot()
{
    Dialogs::FileRequest request{kLocateImageTitle, kImageFilter, QString(), QString()};
    request.selectedFilter = kImageFilterAllPictures;
    request.directory = m_state.paths[PathKind::Screenshot].dirs().value(0);
    const QString path = m_dialogs.openFile(this, request);
    if (path.isEmpty())
        return;
    if (!fitsScreenshotList(fileNamePart(path))) {
        refuseCommaNames({fileNamePart(path)});
        return;
    }
    appendScreenshot(path);
    m_current = int(m_shots.size()) - 1;
    ShowScreenshot();
}

void frmProperties::Form_OLEDragDrop(const QStringList &paths)
{
    // Dropped pictures join the working list as Add's do: the catalogue has them with OK.
    QStringList withComma;
    const int added = addScreenshotFiles(m_working.Screenshots, m_state.paths, paths,
                                         ScrFiles::Accepted, &withComma);
    refuseCommaNames(withComma);
    if (added == 0)
        return;
    m_shots = screenshotNames(m_working.Screenshots);
    m_current = int(m_shots.size()) - 1;
    SSTab1->setCurrentIndex(TabImages);
    ShowScreenshot();
}

// A drag of nothing that would be taken shows the refusing pointer.
void frmProperties::dragEnterEvent(QDragEnterEvent *event)
{
    answerDrag(event, anyPictureName(droppedPaths(event->mimeData()), ScrFiles::Accepted));
}

void frmProperties::dragMoveEvent(QDragMoveEvent *event)
{
    answerDrag(event, anyPictureName(droppedPaths(event->mimeData()), ScrFiles::Accepted));
}

void frmProperties::dropEvent(QDropEvent *event)
{
    const QStringList paths = acceptDrop(event);
    if (!paths.isEmpty())
        Form_OLEDragDrop(paths);
}

void frmProperties::readControls()
{
    m_working.RomName = txtGameName->text();
    if (lstType->currentRow() >= 0)
        m_working.RomType = lstType->currentRow();
    // A number too large for the field is held at the largest year it can store.
    m_working.Year = nearestInteger(leadingNumber(txtYear->text()));
    m_working.Publisher = txtPublisher->text();
    m_working.Authors = txtAuthors->text();
    const QString notes = txtNotes->toPlainText();
    if (notes != m_shownNotes)
        m_working.Notes = QString(notes).replace(u'\n', kCrLf);
    m_working.RomFile = txtRom->text();
    m_working.AudioFile = txtMusicFile->text();
}

void frmProperties::cmdOK_Click()
{
    if (txtGameName->text().trimmed().isEmpty()) {
        m_dialogs.show(this, Message{kNoNameMessage, kApplicationTitle, MessageIcon::Information,
                                     MessageButtons::Ok});
        return;
    }
    RomDatabase &database = m_state.database;
    if (!boolAdding && !database.isEntrySlot(m_slot)) {
        reject(); // nothing was there to edit
        return;
    }
    readControls();
    if (!confirmUnkeptCharacters())
        return;
    storeLibraryChanges();
    if (boolAdding) {
        database.Add(m_working);
        m_view.RefillGameList();
    } else {
        database.Set(m_slot, m_working);
        m_view.entryChanged(m_slot);
        m_view.lstClick();
    }
    accept();
}

void frmProperties::storeLibraryChanges()
{
    Library &library = m_state.library;
    const LibraryKey key = LibraryKey::of(m_working);
    LibraryWrite written;
    if (!boolAdding && !key.matches(m_shownKey) && library.contains(m_shownKey))
        written = library.renameKey(m_shownKey, key);
    const EntryRunChoice choice = runTab->choice();
    if (written.ok && choice != library.row(key).run)
        written = library.setRunChoice(key, choice);
    // The entry is stored all the same: the library says why it kept nothing.
    if (!written.ok)
        m_view.showStatus(written.message.text);
}

bool frmProperties::confirmUnkeptCharacters()
{
    const RomRecord &r = m_working;
    const QStringList unkept = unkeptCp1252Characters(
        r.RomName + r.Publisher + r.Authors + r.Notes + r.RomFile + r.AudioFile + r.Screenshots);
    if (unkept.isEmpty())
        return true;
    QString shown = unkept.mid(0, kUnkeptShown).join(u' ');
    if (unkept.size() > kUnkeptShown)
        shown += QStringLiteral(" \u2026");
    const Message question{kUnkeptCharactersQuestion.arg(shown), kApplicationTitle,
                           MessageIcon::Exclamation, MessageButtons::YesNo};
    return m_dialogs.show(this, question) == Dialogs::Answer::Yes;
}

void frmProperties::cmdCancel_Click()
{
    reject();
}

void frmProperties::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Only now does the list know how many rows it shows.
    if (lstType->currentItem() != nullptr)
        lstType->scrollToItem(lstType->currentItem(), QAbstractItemView::PositionAtCenter);
}

void frmProperties::reject()
{
    boolAdding = false;
    for (const QString &path : std::as_const(m_keptScreens))
        QFile::remove(toFileSystemPath(path));
    m_keptScreens.clear();
    QDialog::reject();
}

void frmProperties::cmdLocate_Click()
{
    // The dialog starts at the selected entry's rom file when the rom paths find it.
    QString proposed;
    const RomDatabase &database = m_state.database;
    if (database.isEntrySlot(database.SelectedIndex)) {
        const QString romFile = database.Get(database.SelectedIndex).RomFile;
        if (!romFile.isEmpty())
            proposed = m_state.paths.FindInSearchPaths(PathKind::Rom, romFile);
    }
    Dialogs::FileRequest request{kSelectFileTitle, kRomFileFilter, proposed, QString()};
    request.selectedFilter = kRomFilterAllFiles;
    request.directory = m_state.paths[PathKind::Rom].dirs().value(0);
    const QString path = m_dialogs.openFile(this, request);
    if (path.size() <= kShortestPath)
        return;
    QString directory = directoryPart(path);
    if (!directory.isEmpty())
        m_state.paths.AddSearchPath(PathKind::Rom, directory);
    txtRom->setText(fileNamePart(path));
    updateTapeButtons(); // the same name may now be found in the new directory
}

void frmProperties::cmdFindMusic_Click()
{
    QString proposed;
    const RomDatabase &database = m_state.database;
    if (database.isEntrySlot(database.SelectedIndex)) {
        const QString audioFile = database.Get(database.SelectedIndex).AudioFile;
        const QString found = audioFile.isEmpty()
                                  ? QString()
                                  : m_state.paths.FindInSearchPaths(PathKind::Music, audioFile);
        proposed = found.isEmpty() ? audioFile : found;
    }
    const QString path =
        m_dialogs.openFile(this, {kSelectFileTitle, kMusicFileFilter, proposed, QString()});
    if (path.size() <= kShortestPath)
        return;
    QString directory = directoryPart(path);
    if (!directory.isEmpty())
        m_state.paths.AddSearchPath(PathKind::Music, directory);
    txtMusicFile->setText(fileNamePart(path));
}

void frmProperties::txtRom_Change()
{
    updateTapeButtons();
    RomRecord edited = m_working;
    edited.RomFile = txtRom->text();
    if (runTab == nullptr)
        return;
    commandPreview->showFor(edited, runTab->choice());
    runTab->entryEdited(edited);
}

QString frmProperties::foundRomFile() const
{
    const QString romFile = txtRom->text();
    if (romFile.trimmed().isEmpty())
        return {};
    return m_state.paths.FindInSearchPaths(PathKind::Rom, romFile);
}

// The lookup may list every rom directory; while a name is being typed it runs only once the
// name ends in a tape or archive extension, and an archive's directory is read only then.
void frmProperties::updateTapeButtons()
{
    cmdAddLoadingScreen->setEnabled(foundLoadingScreen().ok);
    const QString romFile = txtRom->text().trimmed();
    if (!Archive::isArchiveName(romFile)) {
        cmdRunTaper->setEnabled(isTapeName(romFile));
        cmdFillFromTape->setEnabled(isTapeName(romFile) && !foundRomFile().isEmpty());
        return;
    }
    // Only an archive found can be known to hold a tape. One that cannot be listed keeps the
    // viewer for the message saying why; one holding a snapshot or a disk has no blocks.
    const QString found = foundRomFile();
    const QString kind = found.isEmpty() ? QString() : romFileKindName(found);
    cmdRunTaper->setEnabled(!found.isEmpty() && (kind.isEmpty() || isTapeName(kind)));
    cmdFillFromTape->setEnabled(isTapeName(kind));
}

LoadedPicture frmProperties::foundLoadingScreen() const
{
    // Only names of the kinds that can hold a screen are looked up while one is typed.
    const QString extension = lowerExtension(txtRom->text().trimmed());
    static const QStringList kinds = {"tap", "tzx", "sna", "z80", "szx", "zip", "gz"};
    if (!kinds.contains(extension))
        return {};
    const QString found = foundRomFile();
    return found.isEmpty() ? LoadedPicture{} : m_pictures.loadLoadingScreen(found);
}

void frmProperties::cmdAddLoadingScreen_Click()
{
    const LoadedPicture screen = foundLoadingScreen();
    if (!screen.ok)
        return;
    QString written;
    const QString kept = keepLoadingScreen(m_state, m_dialogs, this, kAddLoadingScreenCaption,
                                           txtRom->text().trimmed(), screen.screen, &written);
    if (kept.isEmpty())
        return;
    m_keptScreens.append(written);
    m_shots.append(kept);
    m_working.Screenshots = m_shots.join(u',');
    m_current = int(m_shots.size()) - 1;
    ShowScreenshot();
}

void frmProperties::cmdRunTaper_Click()
{
    const QString path = foundRomFile();
    if (path.isEmpty()) {
        m_dialogs.show(this, Message{kRomNotFoundMessage, kRomNotFoundTitle,
                                     MessageIcon::Information, MessageButtons::Ok});
        return;
    }
    frmTaper viewer(m_state, m_dialogs, path, this);
    if (viewer.loaded())
        viewer.exec();
}

void frmProperties::cmdFillFromTape_Click()
{
    const QString path = foundRomFile();
    // An archive's tape is the file inside it, named by its own base name.
    const QString tapeName = path.isEmpty() ? QString() : romFileKindName(path);
    if (!isTapeName(tapeName)) {
        updateTapeButtons();
        return;
    }
    // A tape of its own: the viewer's tape index stays as the viewer left it.
    TapeIndex tape;
    if (const auto message = ReadTapeImage(tape, path)) {
        m_dialogs.show(this, *message);
        return;
    }
    const TapeCard card = readTapeCard(tape);
    const LanguageTable &language = m_state.language;
    QStringList filled;
    // A dropped entry is named after its file (an archive's: the file inside): that name gives
    // way to the tape's.
    const QString placeholderName = droppedEntryName(
        Archive::isArchiveName(txtRom->text().trimmed()) ? tapeName : txtRom->text().trimmed());
    const auto fill = [&](QLineEdit *box, const QString &value, int caption) {
        const QString held = box->text().trimmed();
        if (value.isEmpty() || !(held.isEmpty() || (box == txtGameName && held == placeholderName)))
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
    if (!card.comment.isEmpty() && txtNotes->toPlainText().trimmed().isEmpty()) {
        txtNotes->setPlainText(shownNotes(card.comment));
        filled.append(language.at(kNotesCaption));
    }
    lblFilled->setText(filled.isEmpty() ? kNothingFilled
                                        : kFilledPrefix + filled.join(QStringLiteral(", ")));
}
