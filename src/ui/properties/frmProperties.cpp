#include "ui/properties/frmProperties.h"

#include "archive/Archive.h"
#include "archive/RomFile.h"
#include "core/Cp1252.h"
#include "core/PathText.h"
#include "render/PictureLoader.h"
#include "state/AppState.h"
#include "state/ScreenshotList.h"
#include "tape/TapeCard.h"
#include "tape/TapeReader.h"
#include "ui/common/CatalogueView.h"
#include "ui/common/Dialogs.h"
#include "ui/common/DroppedFiles.h"
#include "ui/common/Mnemonics.h"
#include "ui/properties/CommandPreview.h"
#include "ui/properties/DetailsTab.h"
#include "ui/properties/NamedControls.h"
#include "ui/properties/NotesTab.h"
#include "ui/properties/RunTab.h"
#include "ui/tape/frmTaper.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
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
constexpr int kNotesCaption = 5;      // lang005
constexpr int kOkCaption = 6;         // lang006
constexpr int kCancelCaption = 7;     // lang007
constexpr int kTitleCaption = 8;      // lang008
constexpr int kImagesCaption = 9;     // lang009
constexpr int kFilesCaption = 10;     // lang010
constexpr int kRomFileCaption = 11;   // lang011
constexpr int kAudioFileCaption = 12; // lang012
constexpr int kDetailsCaption = 16;   // lang016
constexpr int kBlocksCaption = 32;    // lang028

constexpr int kNewEntryType = 15; // "Arcade - [uncategorized]"
// A cancelled dialog gives the empty path; anything this short is no file either.
constexpr qsizetype kShortestPath = 5;
constexpr int kRomFilterAllFiles = 6;
// More unkept characters than this are cut short: the question stays readable.
constexpr qsizetype kUnkeptShown = 10;

const QString kFilledPrefix = QStringLiteral("Filled from the tape: ");
const QString kNothingFilled = QStringLiteral("Nothing filled: the tape has nothing for the "
                                              "empty boxes.");
const QString kBrowseCaption = QStringLiteral("...");

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

// The name a drop gives an entry: its rom file's name without the extension.
QString droppedName(const QString &romFile)
{
    const qsizetype dot = romFile.lastIndexOf(u'.');
    return dot < 0 ? romFile : QString(romFile).remove(romFile.mid(dot));
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
    imagesTab = new ImagesTab(m_state, m_dialogs, m_pictures, SSTab1);
    SSTab1->addTab(imagesTab, QString());
    buildFilesTab();
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
    connect(cmdLocate, &QPushButton::clicked, this, [this] { cmdLocate_Click(); });
    connect(cmdFindMusic, &QPushButton::clicked, this, [this] { cmdFindMusic_Click(); });
    connect(cmdRunTaper, &QPushButton::clicked, this, [this] { cmdRunTaper_Click(); });
    connect(cmdFillFromTape, &QPushButton::clicked, this, [this] { cmdFillFromTape_Click(); });
    connect(txtRom, &QLineEdit::textChanged, this, [this] { txtRom_Change(); });
    connect(imagesTab, &ImagesTab::loadingScreenWanted, this, [this] {
        imagesTab->addLoadingScreen(txtRom->text().trimmed(), foundLoadingScreen());
    });

    Form_Load();
    // The captions are known now; the dialog starts at its least size or a little larger.
    const QSize least = layout->totalMinimumSize();
    setMinimumSize(least);
    resize(std::max(least.width(), 520), std::max(least.height(), 440));
}

void frmProperties::buildFilesTab()
{
    auto *page = new QWidget(SSTab1);
    page->setObjectName(QStringLiteral("tabFiles"));
    txtRom = namedLineEdit(page, "txtRom");
    cmdLocate = namedButton(page, "cmdLocate");
    cmdLocate->setText(kBrowseCaption);
    cmdLocate->setFixedWidth(browseButtonWidth(cmdLocate));
    cmdRunTaper = namedButton(page, "cmdRunTaper");
    cmdRunTaper->setEnabled(false);
    cmdFillFromTape = namedButton(page, "cmdFillFromTape");
    cmdFillFromTape->setText(kFillFromTapeCaption);
    cmdFillFromTape->setEnabled(false);
    txtMusicFile = namedLineEdit(page, "txtMusicFile");
    cmdFindMusic = namedButton(page, "cmdFindMusic");
    cmdFindMusic->setText(kBrowseCaption);
    cmdFindMusic->setFixedWidth(browseButtonWidth(cmdFindMusic));
    Label6 = namedLabel(page, "Label6", txtRom);
    Label7 = namedLabel(page, "Label7", txtMusicFile);
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
    detailsTab->setCaptions();
    Label6->setText(language.at(kRomFileCaption));
    Label7->setText(language.at(kAudioFileCaption));
    cmdRunTaper->setText(language.at(kBlocksCaption));
    cmdOK->setText(language.at(kOkCaption));
    cmdCancel->setText(language.at(kCancelCaption));
    imagesTab->setCaptions();
    const QList<QPushButton *> &actions = imagesTab->cmdAction;
    giveMnemonics({cmdOK, cmdCancel, actions[ActionAdd], actions[ActionRemove],
                   actions[ActionClear], cmdRunTaper, cmdFillFromTape,
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
    txtRom_Change();
    SSTab1->setCurrentIndex(TabDetails);
    detailsTab->txtGameName->setFocus();
}

void frmProperties::ShowEntry(const RomRecord &record)
{
    m_working = record;
    detailsTab->showRecord(record);
    notesTab->showRecord(record);
    txtRom->setText(record.RomFile);
    txtMusicFile->setText(record.AudioFile);
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
    m_working.RomFile = txtRom->text();
    m_working.AudioFile = txtMusicFile->text();
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
    imagesTab->cmdAddLoadingScreen->setEnabled(foundLoadingScreen().ok);
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
    // A dropped entry is named after its file (an archive's: the file inside): that name gives
    // way to the tape's.
    const QString typed = txtRom->text().trimmed();
    QStringList filled = detailsTab->fillEmptyBoxes(
        card, droppedName(Archive::isArchiveName(typed) ? tapeName : typed));
    if (notesTab->fillIfEmpty(card.comment))
        filled.append(m_state.language.at(kNotesCaption));
    lblFilled->setText(filled.isEmpty() ? kNothingFilled
                                        : kFilledPrefix + filled.join(QStringLiteral(", ")));
}
