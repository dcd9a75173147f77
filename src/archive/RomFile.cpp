#include "archive/RomFile.h"

#include "archive/Archive.h"
#include "core/FileRead.h"

RomFileBytes readRomFile(const QString &path)
{
    RomFileBytes out;
    if (!Archive::isArchiveName(path)) {
        FileBytes file = readRegularFile(path);
        out.ok = file.ok;
        out.bytes = std::move(file.bytes);
        out.name = Archive::baseName(path);
        out.reason = file.reason;
        return out;
    }
    out.archive = path;
    const ArchiveSource source = ArchiveSource::file(path);
    const ArchiveListing listing = Archive::listMembers(source);
    if (!listing.ok) {
        out.reason = Archive::unableToRead(path, listing.reason);
        return out;
    }
    const std::optional<ArchiveMember> member = Archive::spectrumMember(listing.members);
    if (!member) {
        out.reason = Archive::unableToRead(path, Archive::kNoSpectrumFile);
        return out;
    }
    MemberBytes bytes = Archive::readMember(source, *member);
    if (!bytes.ok) {
        out.reason = Archive::unableToRead(path, bytes.reason);
        return out;
    }
    out.ok = true;
    out.bytes = std::move(bytes.bytes);
    out.name = Archive::baseName(member->name);
    return out;
}

QString romFileKindName(const QString &path)
{
    if (!Archive::isArchiveName(path))
        return Archive::baseName(path);
    const ArchiveListing listing = Archive::listMembers(path);
    const std::optional<ArchiveMember> member =
        listing.ok ? Archive::spectrumMember(listing.members) : std::nullopt;
    return member ? Archive::baseName(member->name) : QString();
}
