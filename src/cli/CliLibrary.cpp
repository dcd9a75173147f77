// library: what a catalogue's library remembers of its entries, and another catalogue's library
// merged into it.
#include "cli/CliSupport.h"

#include "library/Library.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>

namespace {

Json rowJson(const LibraryRow &row)
{
    Json item = Json::object();
    item["key"] = utf8(row.key.text);
    item["keyKind"] = row.key.kind == LibraryKey::Kind::Name ? "name" : "romFile";
    item["favourite"] = row.favourite;
    item["tags"] = stringList(row.tags);
    item["plays"] = row.plays;
    item["lastPlayed"] =
        row.plays > 0
            ? Json(utf8(
                  QDateTime::fromSecsSinceEpoch(row.lastPlayed, Qt::UTC).toString(Qt::ISODate)))
            : Json();
    item["seconds"] = row.secondsPlayed;
    item["emulator"] = utf8(row.run.emulator);
    item["machine"] = utf8(row.run.machine);
    item["arguments"] = utf8(row.run.arguments);
    return item;
}

void printRows(const Library &library)
{
    QList<LibraryRow> rows = library.rows();
    std::sort(rows.begin(), rows.end(), [](const LibraryRow &a, const LibraryRow &b) {
        const int order = a.key.folded().compare(b.key.folded());
        return order != 0 ? order < 0 : a.key.kind < b.key.kind;
    });
    Json out = Json::array();
    for (const LibraryRow &row : rows)
        out.push_back(rowJson(row));
    printJson(out);
}

// False when `catalogue` is no file or its library cannot be read.
bool opened(Library &library, const QString &catalogue, Library::Access access)
{
    if (!QFileInfo(catalogue).isFile()) {
        printMessage(Message{QStringLiteral("%1 is not a catalogue file.").arg(catalogue),
                             QStringLiteral("kivo-cli")});
        return false;
    }
    const std::optional<Message> message = library.open(catalogue, access);
    if (message)
        printMessage(*message);
    // Opened for reading, a library is always read-only; for writing, only when it cannot be used.
    const bool damaged = message && library.isReadOnly();
    return !damaged;
}

} // namespace

int cmdLibrary(const QStringList &arguments)
{
    const bool merging = arguments.size() == 3 && arguments.at(1) == u"--import";
    if (arguments.size() != 1 && !merging)
        return usageError(QStringLiteral("library FILE.dat [--import OTHER.dat]"));
    Library library;
    if (!merging) {
        if (!opened(library, arguments.first(), Library::Access::ReadOnly))
            return kExitFailure;
        if (library.readOnlyReason() == Library::ReadOnlyReason::Newer)
            printMessage(Message{library.readOnlyText(), QStringLiteral("Library")});
        printRows(library);
        return kExitOk;
    }
    Library other;
    if (!opened(library, arguments.first(), Library::Access::ReadWrite) ||
        !opened(other, arguments.at(2), Library::Access::ReadOnly))
        return kExitFailure;
    const LibraryWrite merged = library.mergeFrom(other);
    if (!merged.ok) {
        printMessage(merged.message);
        return kExitFailure;
    }
    printRows(library);
    return kExitOk;
}
