#include "ui/properties/FilesTab.h"

#include "archive/Archive.h"
#include "archive/RomFile.h"
#include "core/PathText.h"
#include "core/RomRecord.h"
#include "render/PictureLoader.h"
#include "scan/Identify.h"
#include "state/AppState.h"
#include "tape/TapeReader.h"
#include "ui/common/Dialogs.h"
#include "ui/properties/CommandPreview.h"
#include "ui/properties/NamedControls.h"
#include "ui/tape/frmTaper.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

// LanguageTable indices of the tab's captions.
constexpr int kRomFileCaption = 11;   // lang011
constexpr int kAudioFileCaption = 12; // lang012
constexpr int kBlocksCaption = 32;    // lang028

// A cancelled dialog gives the empty path; anything this short is no file either.
constexpr qsizetype kShortestPath = 5;
constexpr int kRomFilterAllFiles = 6;

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

constexpr int kDatPollMs = 50;

} // namespace

FilesTab::FilesTab(AppState &state, Dialogs &dialogs, PictureLoader &pictures, QWidget *parent)
    : QWidget(parent)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_pictures(pictures)
{
    setObjectName(QStringLiteral("tabFiles"));
    txtRom = namedLineEdit(this, "txtRom");
    cmdLocate = namedButton(this, "cmdLocate");
    cmdLocate->setText(kBrowseCaption);
    cmdLocate->setFixedWidth(browseButtonWidth(cmdLocate));
    cmdRunTaper = namedButton(this, "cmdRunTaper");
    cmdRunTaper->setEnabled(false);
    cmdFillFromTape = namedButton(this, "cmdFillFromTape");
    cmdFillFromTape->setText(kFillFromTapeCaption);
    cmdFillFromTape->setEnabled(false);
    txtMusicFile = namedLineEdit(this, "txtMusicFile");
    cmdFindMusic = namedButton(this, "cmdFindMusic");
    cmdFindMusic->setText(kBrowseCaption);
    cmdFindMusic->setFixedWidth(browseButtonWidth(cmdFindMusic));
    Label6 = namedLabel(this, "Label6", txtRom);
    Label7 = namedLabel(this, "Label7", txtMusicFile);
    lblFilled = new QLabel(this);
    lblFilled->setObjectName(QStringLiteral("lblFilled"));
    lblFilled->setWordWrap(true);
    lblMatched = new QLabel(this);
    lblMatched->setObjectName(QStringLiteral("lblMatched"));
    lblMatched->setWordWrap(true);
    lblMatched->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *tapeButtons = new QHBoxLayout;
    tapeButtons->addWidget(cmdRunTaper);
    tapeButtons->addWidget(cmdFillFromTape);
    tapeButtons->addStretch();

    auto *grid = new QGridLayout(this);
    grid->addWidget(Label6, 0, 0);
    grid->addWidget(txtRom, 0, 1);
    grid->addWidget(cmdLocate, 0, 2);
    grid->addLayout(tapeButtons, 1, 1, 1, 2);
    grid->addWidget(lblFilled, 2, 1, 1, 2);
    grid->addWidget(Label7, 3, 0);
    grid->addWidget(txtMusicFile, 3, 1);
    grid->addWidget(cmdFindMusic, 3, 2);
    commandPreview = new CommandPreview(m_state, this);
    grid->addWidget(commandPreview, 4, 0, 1, 3);
    grid->addWidget(lblMatched, 5, 0, 1, 3);
    grid->setRowMinimumHeight(2, lblFilled->fontMetrics().height() * 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(6, 1);

    connect(cmdLocate, &QPushButton::clicked, this, [this] { cmdLocate_Click(); });
    connect(cmdFindMusic, &QPushButton::clicked, this, [this] { cmdFindMusic_Click(); });
    connect(cmdRunTaper, &QPushButton::clicked, this, [this] { cmdRunTaper_Click(); });
    connect(cmdFillFromTape, &QPushButton::clicked, this, [this] { cmdFillFromTape_Click(); });
    connect(txtRom, &QLineEdit::textChanged, this, [this] { txtRom_Change(); });
}

void FilesTab::setCaptions()
{
    const LanguageTable &language = m_state.language;
    Label6->setText(language.at(kRomFileCaption));
    Label7->setText(language.at(kAudioFileCaption));
    cmdRunTaper->setText(language.at(kBlocksCaption));
}

void FilesTab::showRecord(const RomRecord &record)
{
    txtRom->setText(record.RomFile);
    txtMusicFile->setText(record.AudioFile);
}

void FilesTab::readInto(RomRecord &record) const
{
    record.RomFile = txtRom->text();
    record.AudioFile = txtMusicFile->text();
}

void FilesTab::cmdLocate_Click()
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
    const QString path = m_dialogs.openFile(window(), request);
    if (path.size() <= kShortestPath)
        return;
    QString directory = directoryPart(path);
    if (!directory.isEmpty())
        m_state.paths.AddSearchPath(PathKind::Rom, directory);
    txtRom->setText(fileNamePart(path));
    updateTapeButtons(); // the same name may now be found in the new directory
}

void FilesTab::cmdFindMusic_Click()
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
        m_dialogs.openFile(window(), {kSelectFileTitle, kMusicFileFilter, proposed, QString()});
    if (path.size() <= kShortestPath)
        return;
    QString directory = directoryPart(path);
    if (!directory.isEmpty())
        m_state.paths.AddSearchPath(PathKind::Music, directory);
    txtMusicFile->setText(fileNamePart(path));
}

void FilesTab::txtRom_Change()
{
    updateTapeButtons();
    Q_EMIT romFileEdited();
}

QString FilesTab::foundRomFile() const
{
    const QString romFile = txtRom->text();
    if (romFile.trimmed().isEmpty())
        return {};
    return m_state.paths.FindInSearchPaths(PathKind::Rom, romFile);
}

// The lookup may list every rom directory; while a name is being typed it runs only once the
// name ends in a tape or archive extension, and an archive's directory is read only then.
void FilesTab::showMatch()
{
    lblMatched->clear();
    const QString romFile = txtRom->text().trimmed();
    if (m_state.dats.files().isEmpty() ||
        !(Archive::isSpectrumName(romFile) || Archive::isArchiveName(romFile)))
        return;
    const QString found = foundRomFile();
    if (found.isEmpty())
        return;
    const Fingerprint print = fingerprintOf(found);
    if (!print.ok)
        return;
    // The DAT files are read the first time anything needs them, this included; the tab looks
    // again once they are, and never waits for them.
    const std::shared_ptr<const DatCatalogue> dats = m_state.dats.readCatalogue();
    if (!dats) {
        QTimer::singleShot(kDatPollMs, this, [this] { showMatch(); });
        return;
    }
    if (const DatEntry *entry = dats->entryOf(print.size, print.crc))
        lblMatched->setText(
            kMatchedText.arg(entry->game, fileNamePart(dats->files().at(entry->file).path)));
}

void FilesTab::updateTapeButtons()
{
    Q_EMIT romFileLookedUp();
    showMatch();
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

LoadedPicture FilesTab::foundLoadingScreen() const
{
    // Only names of the kinds that can hold a screen are looked up while one is typed.
    const QString extension = lowerExtension(txtRom->text().trimmed());
    static const QStringList kinds = {"tap", "tzx", "sna", "z80", "szx", "zip", "gz"};
    if (!kinds.contains(extension))
        return {};
    const QString found = foundRomFile();
    return found.isEmpty() ? LoadedPicture{} : m_pictures.loadLoadingScreen(found);
}

void FilesTab::cmdRunTaper_Click()
{
    const QString path = foundRomFile();
    if (path.isEmpty()) {
        m_dialogs.show(window(), Message{kRomNotFoundMessage, kRomNotFoundTitle,
                                         MessageIcon::Information, MessageButtons::Ok});
        return;
    }
    frmTaper viewer(m_state, m_dialogs, path, window());
    if (viewer.loaded())
        viewer.exec();
}

void FilesTab::cmdFillFromTape_Click()
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
        m_dialogs.show(window(), *message);
        return;
    }
    // A dropped entry is named after its file (an archive's: the file inside): that name gives
    // way to the tape's.
    const QString typed = txtRom->text().trimmed();
    Q_EMIT tapeCardRead(readTapeCard(tape),
                        droppedEntryName(Archive::isArchiveName(typed) ? tapeName : typed));
}

void FilesTab::showFilled(const QStringList &captions)
{
    lblFilled->setText(captions.isEmpty() ? kNothingFilled
                                          : kFilledPrefix + captions.join(QStringLiteral(", ")));
}
