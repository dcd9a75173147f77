#pragma once

#include <QString>

#include <functional>

// Where a running import is, for the wizard's progress bar.
struct ImportProgress
{
    int file = 0;  // index of the file being read; equal to files once all are done
    int files = 0; // files selected
    QString fileName;
    qint64 record = 0;  // records or lines of the current file read so far
    qint64 records = 0; // records or lines the current file holds; 0 when not known
};

using ImportProgressCallback = std::function<void(const ImportProgress &)>;

// Called by the readers every few hundred records with (done, total), so an import can hand the
// interface a chance to repaint without paying for a clock read per record.
using RecordProgress = std::function<void(qint64 done, qint64 total)>;
inline constexpr qint64 kRecordProgressStride = 256;
