#pragma once

#include "archive/ArchiveFormat.h"

// .zip through libzip. Names are decoded as libzip guesses (UTF-8 when flagged or valid, else
// code page 437). A CRC that differs from the directory's fails the read.
class ZipFormat : public ArchiveFormat
{
public:
    ArchiveListing list(const ArchiveSource &source) const override;
    MemberBytes read(const ArchiveSource &source, const ArchiveMember &member) const override;
    MemberBytes readHead(const ArchiveSource &source, const ArchiveMember &member,
                         qint64 count) const override;
};
