#include "ui/properties/frmProperties.h"

#include "core/Cp1252.h"
#include "render/PictureLoader.h"
#include "state/AppState.h"
#include "state/ScreenshotList.h"
#include "tape/TapeCard.h"
#include "ui/common/CatalogueView.h"
#include "ui/common/Dialogs.h"
#include "ui/common/DroppedFiles.h"
#include "ui/common/Mnemonics.h"
#include "ui/properties/CommandPreview.h"
#include "ui/properties/DetailsTab.h"
#include "ui/properties/FilesTab.h"
#include "ui/properties/NamedControls.h"
#include "ui/properties/NotesTab.h"
#include "ui/properties/RunTab.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// LanguageTable indices of the dialog's captions.
constexpr int kNotesCaption = 5;    // lang005
constexpr int kOkCaption = 6;       // lang006
constexpr int kCancelCaption = 7;   // lang007
constexpr int kTitleCaption = 8;    // lang008
constexpr int kImagesCaption = 9;   // lang009
constexpr int kFilesCaption = 10;   // lang010
constexpr int kDetailsCaption = 16; // lang016

constexpr int kNewEntryType = 15; // "Arcade - [uncategorized]"
// More unkept characters than this are cut short: the question stays readable.
constexpr qsizetype kUnkeptShown = 10;

} // namespace

frmProperties::frmProperties(AppState &state, Dialogs &dialogs, CatalogueView &view,
                             PictureLoader &pictures, bool adding, QWidget *parent)
    : QDialog(parent)
    , boolAdding(adding)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_view(view)
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
    detailsTab = new DetailsTab(m_state, SSTab1);
    SSTab1->addTab(detailsTab, QString());
    notesTab = new NotesTab(SSTab1);
    SSTab1->addTab(notesTab, QString());
    imagesTab = new ImagesTab(m_state, m_dialogs, pictures, SSTab1);
    SSTab1->addTab(imagesTab, QString());
    filesTab = new FilesTab(m_state, m_dialogs, pictures, SSTab1);
    SSTab1->addTab(filesTab, QString());
    runTab = new RunTab(m_state, SSTab1);
    SSTab1->addTab(runTab, kRunCaption);

    cmdOK = namedButton(this, "cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = namedButton(this, "cmdCancel");
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
    // What the Files tab names ties the other tabs together: Run follows the rom file, the Images
    // tab keeps its loading screen, and the tape fills empty boxes on Details and Notes.
    connect(filesTab, &FilesTab::romFileEdited, this, &frmProperties::romFileEdited);
    connect(filesTab, &FilesTab::romFileLookedUp, this, [this] {
        imagesTab->cmdAddLoadingScreen->setEnabled(filesTab->foundLoadingScreen().ok);
    });
    connect(imagesTab, &ImagesTab::loadingScreenWanted, this, [this] {
        imagesTab->addLoadingScreen(filesTab->txtRom->text().trimmed(),
                                    filesTab->foundLoadingScreen());
    });
    connect(filesTab, &FilesTab::tapeCardRead, this, &frmProperties::fillFromTape);

    Form_Load();
    // The captions are known now; the dialog starts at its least size or a little larger.
    const QSize least = layout->totalMinimumSize();
    setMinimumSize(least);
    resize(std::max(least.width(), 520), std::max(least.height(), 440));
}

void frmProperties::buildTabOrder()
{
    const QList<QWidget *> chain = {SSTab1,
                                    detailsTab->txtGameName,
                                    detailsTab->lstType,
                                    detailsTab->txtYear,
                                    detailsTab->txtPublisher,
                                    detailsTab->txtAuthors,
                                    notesTab->txtNotes,
                                    imagesTab->cmdAction[ActionPrevious],
                                    imagesTab->cmdAction[ActionNext],
                                    imagesTab->cmdAction[ActionAdd],
                                    imagesTab->cmdAction[ActionRemove],
                                    imagesTab->cmdAction[ActionClear],
                                    filesTab->txtRom,
                                    filesTab->cmdLocate,
                                    filesTab->cmdRunTaper,
                                    filesTab->cmdFillFromTape,
                                    filesTab->txtMusicFile,
                                    filesTab->cmdFindMusic,
                                    filesTab->commandPreview->txtCommand,
                                    filesTab->commandPreview->cmdCopyCommand,
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
    detailsTab->setCaptions();
    imagesTab->setCaptions();
    filesTab->setCaptions();
    cmdOK->setText(language.at(kOkCaption));
    cmdCancel->setText(language.at(kCancelCaption));
    const QList<QPushButton *> &actions = imagesTab->cmdAction;
    giveMnemonics({cmdOK, cmdCancel, actions[ActionAdd], actions[ActionRemove],
                   actions[ActionClear], filesTab->cmdRunTaper, filesTab->cmdFillFromTape,
                   imagesTab->cmdAddLoadingScreen},
                  LanguageTable::defaults() << kFillFromTapeCaption << kAddLoadingScreenCaption);
}

void frmProperties::Form_Load()
{
    setCaptions();
    detailsTab->listTypes();

    const RomDatabase &database = m_state.database;
    if (boolAdding) {
        detailsTab->lstType->setCurrentRow(kNewEntryType);
        m_working = RomRecord{};
        m_working.RomType = kNewEntryType;
        imagesTab->showRecord(m_working);
    } else if (database.isEntrySlot(database.SelectedIndex)) {
        m_slot = database.SelectedIndex;
        ShowEntry(database.Get(m_slot));
    } else {
        imagesTab->ShowScreenshot();
    }
    filesTab->txtRom_Change();
    SSTab1->setCurrentIndex(TabDetails);
    detailsTab->txtGameName->setFocus();
}

void frmProperties::ShowEntry(const RomRecord &record)
{
    m_working = record;
    detailsTab->showRecord(record);
    notesTab->showRecord(record);
    filesTab->showRecord(record);
    imagesTab->showRecord(record);
    m_shownKey = LibraryKey::of(record);
    runTab->showChoice(m_state.library.row(m_shownKey).run, record);
}

void frmProperties::Form_OLEDragDrop(const QStringList &paths)
{
    // Dropped pictures join the working list as Add's do: the catalogue has them with OK.
    if (imagesTab->appendDropped(paths))
        SSTab1->setCurrentIndex(TabImages);
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
    detailsTab->readInto(m_working);
    notesTab->readInto(m_working);
    imagesTab->readInto(m_working);
    filesTab->readInto(m_working);
}

void frmProperties::cmdOK_Click()
{
    if (detailsTab->txtGameName->text().trimmed().isEmpty()) {
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
    detailsTab->centreType();
}

void frmProperties::reject()
{
    boolAdding = false;
    imagesTab->removeKeptScreens();
    QDialog::reject();
}

void frmProperties::romFileEdited()
{
    RomRecord edited = m_working;
    edited.RomFile = filesTab->txtRom->text();
    filesTab->commandPreview->showFor(edited, runTab->choice());
    runTab->entryEdited(edited);
}

void frmProperties::fillFromTape(const TapeCard &card, const QString &droppedName)
{
    QStringList filled = detailsTab->fillEmptyBoxes(card, droppedName);
    if (notesTab->fillIfEmpty(card.comment))
        filled.append(m_state.language.at(kNotesCaption));
    filesTab->showFilled(filled);
}
