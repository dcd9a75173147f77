#include "interchange/ImportRun.h"

#include "core/DatFile.h"
#include "core/FileLookup.h"
#include "core/FileRead.h"
#include "interchange/ImportFiles.h"
#include "interchange/PocketDatabase.h"
#include "interchange/SgdImport.h"

#include <QElapsedTimer>

namespace {

constexpr qint64 kRepaintIntervalMs = 50;

// Hands the caller the progress between files, and between records no more often than a
// repaint is worth.
class ProgressThrottle
{
public:
    ProgressThrottle(const ImportProgressCallback &callback, int files)
        : m_callback(callback)
    {
        m_state.files = files;
        m_timer.start();
    }

    void file(int index, const QString &name)
    {
        m_state.file = index;
        m_state.fileName = name;
        m_state.record = 0;
        m_state.records = 0;
        report();
    }

    RecordProgress records()
    {
        if (!m_callback)
            return {};
        return [this](qint64 done, qint64 total) {
            if (m_timer.elapsed() < kRepaintIntervalMs)
                return;
            m_state.record = done;
            m_state.records = total;
            report();
        };
    }

private:
    void report()
    {
        if (m_callback)
            m_callback(m_state);
        m_timer.restart();
    }

    const ImportProgressCallback &m_callback;
    ImportProgress m_state;
    QElapsedTimer m_timer;
};

// The file as the directory holds it, or empty. Names come from the listing, so the exact name
// is tried first; the case-insensitive lookup is for names typed by hand, and a name that
// reads as a wildcard pattern is never widened to other files.
QString existingFile(const QString &directory, const QString &name)
{
    const QString exact = directory + name;
    if (isRegularFile(exact))
        return exact;
    if (name.isEmpty() || name.contains(u'*') || name.contains(u'?'))
        return {};
    const QString found = resolveExistingFile(exact);
    return !found.isEmpty() && isRegularFile(found) ? found : QString();
}

int entriesIn(const RomDatabase &database)
{
    int entries = 0;
    for (const RomRecord &record : database.slots())
        entries += record.isEntry() ? 1 : 0;
    return entries;
}

// One file; returns false when it could not be read or was rejected (nothing replaced).
bool importOne(RomDatabase &database, SearchPaths &paths, const ImportRequest &request,
               const QString &directory, const QString &path, bool merge,
               const RecordProgress &records, ImportSummary &summary)
{
    switch (request.kind) {
    case ImportKind::Sgd: {
        const SgdLoadResult loaded = LoadSgdDataFile(path);
        summary.messages += loaded.messages;
        if (!loaded.ok)
            return false;
        const ImportResult result =
            ImportSgdRecords(database, paths, loaded.data, directory, !merge, records);
        summary.added += result.added;
        summary.skipped += result.skipped;
        return true;
    }
    case ImportKind::Own: {
        const int before = database.EntryCount();
        const DatResult result =
            merge ? MergeDatabase(database, paths, path) : LoadDatabase(database, paths, path);
        summary.messages += result.messages;
        if (!result.ok)
            return false;
        summary.added += merge ? database.EntryCount() - before : entriesIn(database);
        return true;
    }
    case ImportKind::Pocket: {
        // Read before emptying anything: an unreadable file must not cost the catalogue.
        const FileBytes file = readRegularFile(path);
        if (!file.ok) {
            summary.messages += ImportResult::unreadable(path, file.reason).messages;
            return false;
        }
        if (!merge)
            database.Reset();
        const ImportResult result = importPocketBytes(database, file.bytes, records);
        summary.added += result.added;
        summary.skipped += result.skipped;
        return true;
    }
    }
    return false;
}

} // namespace

bool saveFirstEnabled(bool overwrite, const RomDatabase &database)
{
    return overwrite && database.HasEntries();
}

SaveFirstResult saveBeforeOverwrite(RomDatabase &database, const QString &chosenPath)
{
    SaveFirstResult result;
    if (chosenPath.isEmpty() || !database.HasEntries())
        return result;
    const DatResult saved = SaveDatabase(database, chosenPath);
    result.messages = saved.messages;
    if (!saved.ok) {
        result.proceed = false;
        return result;
    }
    result.saved = true;
    database.LastDatabase.clear();
    database.Reset();
    database.SelectedIndex = kNone;
    return result;
}

QString ImportSummary::statusText() const
{
    return QStringLiteral("%1 %2 added, %3 skipped")
        .arg(added)
        .arg(added == 1 ? QStringLiteral("entry") : QStringLiteral("entries"))
        .arg(skipped);
}

ImportSummary runImport(RomDatabase &database, SearchPaths &paths, const ImportRequest &request,
                        const ImportProgressCallback &progress)
{
    ImportSummary summary;
    const QString directory = importSourceDirectory(request.directory);
    ProgressThrottle throttle(progress, int(request.fileNames.size()));
    for (int i = 0; i < request.fileNames.size(); ++i) {
        const QString &name = request.fileNames.at(i);
        throttle.file(i, name);
        const QString path = existingFile(directory, name);
        if (path.isEmpty())
            continue;
        const bool merge = !request.overwrite || summary.replaced;
        if (importOne(database, paths, request, directory, path, merge, throttle.records(),
                      summary)) {
            ++summary.filesRead;
            summary.replaced = summary.replaced || !merge;
        } else {
            ++summary.filesFailed;
        }
    }
    throttle.file(int(request.fileNames.size()), QString());
    if (summary.replaced || !database.isEntrySlot(database.SelectedIndex))
        database.SelectedIndex = kNone;
    return summary;
}
