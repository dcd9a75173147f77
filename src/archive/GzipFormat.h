#pragma once

#include "archive/ArchiveFormat.h"

// A .gz holds one file, read through zlib. Its member is named after the archive without ".gz"
// ("jsw.tzx.gz" holds "jsw.tzx"), which is the name the user sees in the folder; only when that
// name has no Spectrum ending and the name stored in the gzip header (its base name) has one is
// the stored name taken ("jsw.gz" made from "jsw.tap"). Size and CRC come from the trailer; the
// size there is modulo 4 GB, so it is checked, like the CRC, against what inflating gives.
class GzipFormat : public ArchiveFormat
{
public:
    ArchiveListing list(const ArchiveSource &source) const override;
    MemberBytes read(const ArchiveSource &source, const ArchiveMember &member) const override;
    MemberBytes readHead(const ArchiveSource &source, const ArchiveMember &member,
                         qint64 count) const override;
};
