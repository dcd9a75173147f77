#pragma once

#include "core/Message.h"
#include "core/RomDatabase.h"
#include "interchange/ImportProgress.h"
#include "interchange/ImportResult.h"

#include <QByteArray>
#include <QString>

// The pocket catalogue (.kvl): Windows-1252 text, lines ended by CR LF. The first line is
// "KIVOPPC1"; then one line per entry holding the nine record fields in record order, separated
// by the byte 0xDE (Þ). In Notes and Authors every CR LF pair is written as "%%NL%%".
//
// The format has no escaping, so the writer keeps every line readable: a Þ in any field, and a
// CR or LF in any field but Notes and Authors, is written as a blank. A lone CR or LF in Notes
// or Authors is written unchanged: lines end only at a CR LF pair, so it reads back as it was.

inline const QString kPocketFilter = QStringLiteral("Kivo PPC data file (*.kvl)|*.kvl");
inline const QByteArray kPocketHeader = QByteArrayLiteral("KIVOPPC1");
constexpr char kPocketSeparator = '\xDE';

struct ExportResult
{
    bool ok = true;    // false: nothing was written
    Messages messages; // to show the user
};

// The whole file: the header line and one line per entry, in catalogue order.
QByteArray pocketExportBytes(const RomDatabase &database);

// Writes the file through a temporary file, so a failed write leaves any old file as it was.
// A catalogue without entries writes nothing ("No data to save"); the menu command never gets
// here with one.
ExportResult ExportPocketDatabase(const RomDatabase &database, const QString &path);

// Appends one entry per data line. Blank lines and lines without the separator (the header
// among them) are passed over; a data line with fewer than nine fields, a type or year that is
// not a decimal integer, or an empty name is skipped and counted in `skipped`. The catalogue is
// not emptied first.
ImportResult importPocketBytes(RomDatabase &database, const QByteArray &bytes,
                               const RecordProgress &progress = {});
// The count the import wizard lists for a pocket file: lines that are not blank, less the
// header line.
qint64 pocketEntryCount(const QByteArray &bytes);

// Reads a regular file; an unreadable one changes nothing and says why.
ImportResult ImportPocketDatabase(RomDatabase &database, const QString &path,
                                  const RecordProgress &progress = {});
