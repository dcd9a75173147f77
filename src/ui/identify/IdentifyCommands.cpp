#include "ui/identify/IdentifyCommands.h"

#include "state/AppState.h"
#include "ui/common/CatalogueView.h"
#include "ui/common/Dialogs.h"
#include "ui/identify/frmDatFiles.h"
#include "ui/identify/frmDuplicates.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

namespace {

constexpr int kProgressMs = 50;
// A run shorter than this shows no progress dialog at all.
constexpr int kQuietMs = 400;

QList<int> everyEntry(const RomDatabase &database)
{
    QList<int> slots;
    for (int slot = 0; slot < database.EntryCount(); ++slot) {
        if (database.isEntrySlot(slot))
            slots.append(slot);
    }
    return slots;
}

Message information(const QString &text, const QString &title)
{
    return Message{text, title, MessageIcon::Information, MessageButtons::Ok};
}

} // namespace

IdentifyCommands::IdentifyCommands(AppState &state, Dialogs &dialogs, CatalogueView &view,
                                   Remover remove, QWidget *parent)
    : m_state(state)
    , m_dialogs(dialogs)
    , m_view(view)
    , m_remove(std::move(remove))
    , m_parent(parent)
{
}

std::optional<IdentifyResult> IdentifyCommands::run(const QList<int> &slots, bool withDats,
                                                    const QString &label)
{
    // What the worker needs, copied: it never touches the catalogue or the paths.
    QList<std::pair<int, QString>> files;
    for (const int slot : slots) {
        const QString &romFile = m_state.database.Get(slot).RomFile;
        if (!romFile.trimmed().isEmpty())
            files.append({slot, romFile});
    }
    const SearchPaths paths = m_state.paths;
    const std::shared_future<DatShelf::Read> dats =
        withDats ? m_state.dats.reading() : std::shared_future<DatShelf::Read>();

    std::atomic<int> done = 0;
    std::atomic<int> total = int(files.size());
    std::atomic<bool> cancel = false;
    IdentifyResult result;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        QList<IdentifyJob> jobs;
        for (const auto &[slot, romFile] : std::as_const(files)) {
            if (cancel)
                return;
            const QString path = paths.FindInSearchPaths(PathKind::Rom, romFile);
            if (!path.isEmpty())
                jobs.append({slot, path});
        }
        static const DatCatalogue none;
        const DatCatalogue &dat = dats.valid() ? *dats.get().catalogue : none;
        result = identifyFiles(
            jobs, dat,
            [&](int jobsDone, int jobCount) {
                done = jobsDone;
                total = jobCount;
            },
            &cancel);
    }));

    QProgressDialog progress(label, QStringLiteral("Cancel"), 0, std::max(1, total.load()),
                             m_parent);
    progress.setWindowTitle(withDats ? kIdentifyTitle : kDuplicatesTitle);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kQuietMs);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    QObject::connect(&progress, &QProgressDialog::canceled, [&] { cancel = true; });
    QTimer tick;
    tick.setInterval(kProgressMs);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        progress.setMaximum(std::max(1, total.load()));
        progress.setValue(done);
    });
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    tick.start();
    loop.exec();
    worker->wait();
    if (cancel || result.cancelled)
        return std::nullopt;
    return result;
}

int IdentifyCommands::apply(const IdentifyResult &result)
{
    RomDatabase &database = m_state.database;
    int matched = 0;
    for (const IdentifyMatch &match : result.matches) {
        if (!database.isEntrySlot(match.slot))
            continue;
        ++matched;
        RomRecord record = database.Get(match.slot);
        if (fillEmptyFields(record, match.entry))
            database.Set(match.slot, record);
    }
    return matched;
}

void IdentifyCommands::tellDatMessages()
{
    for (const Message &message : m_state.dats.takeMessages())
        m_dialogs.show(m_parent, message);
}

void IdentifyCommands::identify(QList<int> slots)
{
    if (m_state.dats.files().isEmpty()) {
        m_dialogs.show(m_parent, information(kNoDatFilesText, kIdentifyTitle));
        return;
    }
    identifySlots(slots.isEmpty() ? everyEntry(m_state.database) : slots, true);
}

void IdentifyCommands::identifyNew(int firstSlot)
{
    if (m_state.dats.files().isEmpty())
        return;
    QList<int> slots;
    for (int slot = std::max(0, firstSlot); slot < m_state.database.EntryCount(); ++slot) {
        if (m_state.database.isEntrySlot(slot))
            slots.append(slot);
    }
    if (!slots.isEmpty())
        identifySlots(slots, false);
}

void IdentifyCommands::identifySlots(const QList<int> &slots, bool tellNone)
{
    m_last = run(slots, true, kIdentifyingText.arg(slots.size()));
    tellDatMessages();
    if (!m_last)
        return;
    const int matched = apply(*m_last);
    if (matched == 0 && !tellNone)
        return;
    m_view.RefillGameList();
    m_view.lstClick();
    m_view.showStatus(kIdentifiedText.arg(matched).arg(slots.size()));
}

bool IdentifyCommands::compareFiles()
{
    const QList<int> slots = everyEntry(m_state.database);
    m_last = run(slots, false, kComparingText.arg(slots.size()));
    if (!m_last)
        return false;
    if (m_last->duplicates.isEmpty()) {
        m_dialogs.show(m_parent, information(kNoDuplicatesText, kDuplicatesTitle));
        return false;
    }
    return true;
}

void IdentifyCommands::findDuplicates()
{
    if (!compareFiles())
        return;
    frmDuplicates dialog(m_state.database, m_last->duplicates, m_parent);
    if (dialog.exec() == QDialog::Accepted)
        applyDuplicates(dialog);
}

void IdentifyCommands::applyDuplicates(const frmDuplicates &dialog)
{
    if (!dialog.tickedSlots().isEmpty())
        m_remove(dialog.tickedSlots());
}

void IdentifyCommands::editDatFiles()
{
    frmDatFiles dialog(m_dialogs, m_state.dats.files(), m_parent);
    if (dialog.exec() == QDialog::Accepted)
        applyDatFiles(dialog);
}

void IdentifyCommands::applyDatFiles(const frmDatFiles &dialog)
{
    m_state.dats.setFiles(dialog.files());
}
