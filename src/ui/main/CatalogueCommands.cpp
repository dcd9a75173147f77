#include "ui/main/CatalogueCommands.h"

#include "archive/Archive.h"
#include "archive/RomFile.h"
#include "core/Cp1252.h"
#include "core/DatFile.h"
#include "core/FileLookup.h"
#include "core/PathText.h"
#include "interchange/PocketDatabase.h"
#include "state/AppState.h"
#include "ui/common/BusyCursor.h"
#include "ui/common/CatalogueView.h"
#include "ui/import/frmImpWiz.h"

#include <QFileInfo>

#include <algorithm>

namespace {

const QString kSaveFirstText = QStringLiteral("Save current database first?");
const QString kNewDatabaseTitle = QStringLiteral("New Database");
const QString kSaveOnExitText = QStringLiteral("Save Database?");
const QString kSaveDialogTitle = QStringLiteral("Save Database");
const QString kLoadDialogTitle = QStringLiteral("Load Database");
const QString kRemovalTitle = QStringLiteral("Game Removal");
const QString kExportDialogTitle = QStringLiteral("Export Database");
const QString kOpenElsewhere = QStringLiteral("%1 is open in another Kivo window.");
const QString kChangedElsewhere =
    QStringLiteral("%1 was changed by another program since it was loaded. Replace it with this "
                   "catalogue?");
const QString kUnkeptCharactersStatus =
    QStringLiteral("Entries named with characters the catalogue file cannot keep: %1. Those "
                   "characters will be saved as \"?\".");
const QString kAddDirectoryText =
    QStringLiteral("do you wish to add the contents of this directory?");
const QString kNoSpectrumFileStatus =
    QStringLiteral("Archives not added, unreadable or holding no tape, snapshot or disk image: %1");

constexpr int kDroppedRomType = 15; // "Arcade - [uncategorized]"

// The first matching rule gives the text: removing the only entry of a catalogue asks about
// "1 game", not "all games".
QString removalQuestion(int count, int listedRows)
{
    if (count == 1)
        return QStringLiteral("Are you sure you want to remove 1 game?");
    if (count == listedRows)
        return QStringLiteral("Are you sure you want to remove all games?");
    return QStringLiteral("Are you sure you want to remove %1 games?").arg(count);
}

Message question(const QString &text, const QString &title, MessageButtons buttons)
{
    return Message{text, title, MessageIcon::None, buttons};
}

} // namespace

CatalogueCommands::CatalogueCommands(AppState &state, Dialogs &dialogs, CatalogueView &view,
                                     QWidget *parent)
    : m_state(state)
    , m_dialogs(dialogs)
    , m_view(view)
    , m_parent(parent)
{
}

void CatalogueCommands::loadLastDatabase()
{
    const QString last = m_state.database.LastDatabase;
    if (m_state.LoadLastDatabase == 1 && !last.isEmpty() && FileExists(last))
        loadFile(last);
}

void CatalogueCommands::saveAtShutdown()
{
    if (!m_state.database.HasEntries() ||
        ask(question(kSaveOnExitText, kApplicationTitle, MessageButtons::YesNo)) !=
            Dialogs::Answer::Yes)
        return;
    // A full disk must not silently drop the catalogue in memory.
    SaveOutcome outcome = save();
    while (outcome == SaveOutcome::Failed)
        outcome = saveAs(m_state.database.LastDatabase);
}

CatalogueCommands::SaveFirst CatalogueCommands::offerSaveFirst()
{
    if (!m_state.database.HasEntries())
        return SaveFirst::NotSaved;
    switch (ask(question(kSaveFirstText, kNewDatabaseTitle, MessageButtons::YesNoCancel))) {
    case Dialogs::Answer::Yes:
        return save() == SaveOutcome::Saved ? SaveFirst::Saved : SaveFirst::Stop;
    case Dialogs::Answer::No:
        return SaveFirst::NotSaved;
    default:
        return SaveFirst::Stop;
    }
}

void CatalogueCommands::newDatabase()
{
    RomDatabase &database = m_state.database;
    if (!database.HasEntries())
        return;
    switch (offerSaveFirst()) {
    case SaveFirst::Stop:
        return;
    case SaveFirst::Saved:
        database.LastDatabase.clear();
        break;
    case SaveFirst::NotSaved:
        break;
    }
    database.Reset();
    m_state.boundDatabase.clear();
    m_state.library.startNew();
    afterCatalogueReplaced();
}

void CatalogueCommands::loadDatabase()
{
    RomDatabase &database = m_state.database;
    const bool hadEntries = database.HasEntries();
    if (offerSaveFirst() == SaveFirst::Stop)
        return;
    // A cancelled dialog or a rejected file leaves the catalogue in memory as it is.
    const QString path = m_dialogs.openFile(
        m_parent,
        {kLoadDialogTitle, kDatabaseFilter, hadEntries ? database.LastDatabase : QString(), {}});
    if (path.isEmpty())
        return;
    database.LastDatabase = path;
    if (loadFile(path))
        afterCatalogueReplaced();
}

bool CatalogueCommands::loadFile(const QString &path)
{
    DatResult result;
    {
        BusyCursor busy;
        result = LoadDatabase(m_state.database, m_state.paths, path);
    }
    showMessages(result.messages);
    if (!result.ok)
        return false;
    // What a damaged file left is not that file's catalogue: saving it asks for a name first.
    bool elsewhere = false;
    if (result.damaged) {
        m_state.boundDatabase.clear();
    } else if (m_state.boundDatabase.bind(path) == CatalogueBinding::Bind::HeldElsewhere) {
        elsewhere = true;
        m_dialogs.show(m_parent, Message{kOpenElsewhere.arg(path), kApplicationTitle,
                                         MessageIcon::Information, MessageButtons::Ok});
    }
    // The other window records the plays; this one only reads what it has recorded.
    const std::optional<Message> library = m_state.library.open(
        path, elsewhere ? Library::Access::ReadOnly : Library::Access::ReadWrite);
    if (library)
        m_dialogs.show(m_parent, *library);
    if (m_state.library.isReadOnly())
        m_view.showStatus(m_state.library.readOnlyText());
    return true;
}

void CatalogueCommands::afterCatalogueReplaced()
{
    m_view.clearSelection();
    m_view.RefillGameList();
    m_view.ArrangePanes();
    if (m_view.listedRows() > 0)
        m_view.lstClick();
}

CatalogueCommands::SaveOutcome CatalogueCommands::save()
{
    const QString last = m_state.database.LastDatabase;
    const CatalogueBinding &bound = m_state.boundDatabase;
    // Only the file this catalogue came from (or a new one) is written without asking: the
    // remembered LastDatabase of an earlier run may hold another whole catalogue. A file another
    // window has open, or another program changed since, is not replaced unasked either.
    if (last.isEmpty() || bound.isReadOnly())
        return saveAs(last);
    if (last == bound.path()) {
        if (!bound.changedOnDisk() || ask(question(kChangedElsewhere.arg(last), kSaveDialogTitle,
                                                   MessageButtons::YesNo)) == Dialogs::Answer::Yes)
            return saveTo(last);
        return saveAs(last);
    }
    return QFileInfo::exists(last) ? saveAs(last) : saveTo(last);
}

CatalogueCommands::SaveOutcome CatalogueCommands::saveAs()
{
    return saveAs(m_state.database.LastDatabase);
}

CatalogueCommands::SaveOutcome CatalogueCommands::saveAs(const QString &proposed)
{
    const QString path = m_dialogs.saveFile(
        m_parent, {kSaveDialogTitle, kDatabaseFilter, proposed, QStringLiteral("dat")});
    return path.isEmpty() ? SaveOutcome::Cancelled : saveTo(path);
}

CatalogueCommands::SaveOutcome CatalogueCommands::saveTo(const QString &path)
{
    // Saving over a catalogue open in another window would lose what is done there.
    if (!m_state.boundDatabase.holdsLockOf(path) && CatalogueBinding::isHeldElsewhere(path)) {
        m_dialogs.show(m_parent, Message::critical(kOpenElsewhere.arg(path), kSaveDialogTitle));
        return SaveOutcome::Failed;
    }
    DatResult result;
    {
        BusyCursor busy;
        result = SaveDatabase(m_state.database, path);
    }
    showMessages(result.messages);
    if (!result.ok)
        return SaveOutcome::Failed;
    m_state.database.LastDatabase = path;
    m_state.boundDatabase.bind(path);
    // The library goes with the catalogue, written at its first save and taken along by Save
    // as; the catalogue is saved whatever becomes of it.
    if (!m_state.library.isReadOnly() && m_state.library.path() != Library::pathFor(path)) {
        if (const std::optional<Message> library = m_state.library.saveAs(path))
            m_dialogs.show(m_parent, *library);
    }
    return SaveOutcome::Saved;
}

void CatalogueCommands::removeEntries(QList<int> slots)
{
    if (slots.isEmpty())
        return;
    std::sort(slots.begin(), slots.end());
    slots.erase(std::unique(slots.begin(), slots.end()), slots.end());
    const QString text = removalQuestion(int(slots.size()), m_view.listedRows());
    if (ask(question(text, kRemovalTitle, MessageButtons::YesNo)) == Dialogs::Answer::Yes) {
        BusyCursor busy;
        m_state.database.RemoveEntries(slots);
        m_view.clearSelection();
    }
    m_view.RefillGameList();
    if (m_view.listedRows() == 0)
        m_view.clearSelection();
    m_view.lstClick();
}

void CatalogueCommands::dropOnList(const QStringList &paths)
{
    BusyCursor busy;
    const int before = m_state.database.EntryCount();
    int withoutSpectrumFile = 0;
    const auto add = [&](const QString &directory, const QString &name) {
        if (addDroppedFile(directory, name) == DropOutcome::NoSpectrumFile)
            ++withoutSpectrumFile;
    };
    for (const QString &path : paths) {
        // The file system says what a directory is: names like "Games.old" or ".local" hold dots.
        if (QFileInfo(toFileSystemPath(path)).isDir()) {
            if (ask(question(kAddDirectoryText, kApplicationTitle, MessageButtons::YesNo)) !=
                Dialogs::Answer::Yes)
                continue;
            const QString directory = endsWithSeparator(path) ? path : path + nativeSeparator();
            for (const QString &name : listOrdinaryFiles(directory, QStringLiteral("*.*")))
                add(path, name);
        } else {
            add(directoryPart(path), fileNamePart(path));
        }
    }
    m_view.RefillGameList();
    int unkept = 0;
    for (int slot = before; slot < m_state.database.EntryCount(); ++slot)
        unkept += unkeptCp1252Characters(m_state.database.Get(slot).RomFile).isEmpty() ? 0 : 1;
    QStringList notes;
    if (unkept > 0)
        notes.append(kUnkeptCharactersStatus.arg(unkept));
    if (withoutSpectrumFile > 0)
        notes.append(kNoSpectrumFileStatus.arg(withoutSpectrumFile));
    if (!notes.isEmpty())
        m_view.showStatus(notes.join(u' '));
}

CatalogueCommands::DropOutcome CatalogueCommands::addDroppedFile(const QString &directory,
                                                                 const QString &name)
{
    QString kindName = name;
    if (Archive::isArchiveName(name)) {
        // Named after what the emulator will load; only the archive's directory is read.
        const QString path =
            (endsWithSeparator(directory) ? directory : directory + nativeSeparator()) + name;
        kindName = romFileKindName(path);
        if (kindName.isEmpty())
            return DropOutcome::NoSpectrumFile;
    } else if (!Archive::isSpectrumName(name)) {
        return DropOutcome::Refused;
    }
    RomRecord record;
    record.RomName = droppedEntryName(kindName);
    if (record.RomName.isEmpty())
        return DropOutcome::Refused; // ".tap" alone would make an entry without a name
    record.RomFile = name;
    record.RomType = kDroppedRomType;
    m_state.database.Add(std::move(record));
    if (!m_state.paths.HasSearchPath(PathKind::Rom, directory)) {
        QString added = directory;
        m_state.paths.AddSearchPath(PathKind::Rom, added);
    }
    return DropOutcome::Added;
}

void CatalogueCommands::importDatabases()
{
    frmImpWiz wizard(m_state, m_dialogs, m_view, m_parent);
    wizard.exec();
}

void CatalogueCommands::exportPocketDatabase()
{
    const RomDatabase &database = m_state.database;
    if (!database.HasEntries())
        return;
    // The catalogue's own name, as a pocket file beside it.
    QString proposed;
    if (!database.LastDatabase.isEmpty()) {
        const QString name = fileNamePart(database.LastDatabase);
        const qsizetype dot = name.lastIndexOf(u'.');
        proposed = directoryPart(database.LastDatabase) + (dot > 0 ? name.left(dot) : name) +
                   QStringLiteral(".kvl");
    }
    const QString path = m_dialogs.saveFile(
        m_parent, {kExportDialogTitle, kPocketFilter, proposed, QStringLiteral("kvl")});
    if (path.isEmpty())
        return;
    ExportResult result;
    {
        BusyCursor busy;
        result = ExportPocketDatabase(database, path);
    }
    showMessages(result.messages);
}

Dialogs::Answer CatalogueCommands::ask(const Message &message)
{
    return m_dialogs.show(m_parent, message);
}

void CatalogueCommands::showMessages(const Messages &messages)
{
    for (const Message &message : messages)
        m_dialogs.show(m_parent, message);
}
