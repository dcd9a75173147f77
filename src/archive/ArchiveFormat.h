#pragma once

#include "archive/ArchiveMember.h"

// The reader of one archive format. Another format (.7z, .rar) slots in as one more subclass
// and one more line in Archive.cpp's table of endings; the checks every member must pass before
// it is inflated (size, ratio, encryption) are made once, above the formats.
class ArchiveFormat
{
public:
    virtual ~ArchiveFormat() = default;

    virtual ArchiveListing list(const ArchiveSource &source) const = 0;
    // Inflates `member` (from this format's list of the same source), never holding more than its
    // declared size; more bytes than declared, fewer, or a CRC that differs is a failure.
    virtual MemberBytes read(const ArchiveSource &source, const ArchiveMember &member) const = 0;
    // Inflates only the first `count` bytes of `member`, fewer than its declared size, and stops
    // there: the CRC and the size cannot be checked without the rest, so only a member that
    // ends before `count` bytes is a failure.
    virtual MemberBytes readHead(const ArchiveSource &source, const ArchiveMember &member,
                                 qint64 count) const = 0;
};
