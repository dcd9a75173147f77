#pragma once

#include "core/Message.h"
#include "scan/DatCatalogue.h"

#include <QStringList>

#include <future>
#include <memory>

// The DAT files Kivo identifies entries with, kept in the settings. They are read once per run,
// when first needed, on a thread of their own, into one catalogue; a changed list is read again
// when next needed. A catalogue handed out stays as it is while it is used.
class DatShelf
{
public:
    struct Read
    {
        std::shared_ptr<const DatCatalogue> catalogue;
        Messages messages; // files that are no DAT or cannot be read
    };

    const QStringList &files() const { return m_files; }
    void setFiles(const QStringList &files);

    // The reading of the files, begun unless it had been: any thread may wait for it.
    std::shared_future<Read> reading();
    // The catalogue once read; nullptr while it is being read (the reading begins).
    std::shared_ptr<const DatCatalogue> readCatalogue();
    // What the reading said of files that are no DAT or cannot be read, the first time only.
    Messages takeMessages();

private:
    QStringList m_files;
    std::shared_future<Read> m_reading;
    bool m_told = false;
};
