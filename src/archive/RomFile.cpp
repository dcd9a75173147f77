#include "archive/RomFile.h"

#include "archive/Archive.h"
#include "core/FileRead.h"

namespace {

// The first `count` bytes of a plain file, and its size.
RomFileBytes readPlainHead(const QString &path, qint64 count)
{
    RomFileBytes out;
    out.name = Archive::baseName(path);
    QFile file;
    out.reason = openRegularFile(path, file);
    if (!out.reason.isEmpty())
        return out;
    out.size = file.size();
    out.bytes = file.read(std::min(out.size, count));
    if (file.error() != QFileDevice::NoError) {
        out.bytes.clear();
        out.reason = file.errorString();
        return out;
    }
    out.ok = true;
    return out;
}

// The whole file, or its first `head` bytes when `head` is not negative.
RomFileBytes readRom(const QString &path, qint64 head)
{
    RomFileBytes out;
    if (!Archive::isArchiveName(path)) {
        if (head >= 0)
            return readPlainHead(path, head);
        FileBytes file = readRegularFile(path);
        out.ok = file.ok;
        out.bytes = std::move(file.bytes);
        out.size = out.bytes.size();
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
    MemberBytes bytes = head >= 0 ? Archive::readMemberHead(source, *member, head)
                                  : Archive::readMember(source, *member);
    if (!bytes.ok) {
        out.reason = Archive::unableToRead(path, bytes.reason);
        return out;
    }
    out.ok = true;
    out.bytes = std::move(bytes.bytes);
    out.size = member->size;
    out.name = Archive::baseName(member->name);
    return out;
}

} // namespace

RomFileBytes readRomFile(const QString &path)
{
    return readRom(path, -1);
}

RomFileBytes readRomFileHead(const QString &path, qint64 count)
{
    return readRom(path, std::max<qint64>(count, 0));
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

QString droppedEntryName(const QString &kindName)
{
    const qsizetype dot = kindName.lastIndexOf(u'.');
    return dot < 0 ? kindName : QString(kindName).remove(kindName.mid(dot));
}
