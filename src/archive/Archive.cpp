#include "archive/Archive.h"

#include "archive/GzipFormat.h"
#include "archive/ZipFormat.h"

#include <array>

namespace {

const ZipFormat kZip;
const GzipFormat kGzip;

struct Ending
{
    QLatin1StringView suffix;
    const ArchiveFormat *format;
};
const std::array kEndings = {Ending{QLatin1StringView(".zip"), &kZip},
                             Ending{QLatin1StringView(".gz"), &kGzip}};

const std::array kSpectrumEndings = {QLatin1StringView(".tap"), QLatin1StringView(".tzx"),
                                     QLatin1StringView(".z80"), QLatin1StringView(".sna"),
                                     QLatin1StringView(".szx"), QLatin1StringView(".dsk"),
                                     QLatin1StringView(".trd"), QLatin1StringView(".scl")};

const ArchiveFormat *formatOf(const QString &name)
{
    for (const Ending &ending : kEndings) {
        if (name.endsWith(ending.suffix, Qt::CaseInsensitive))
            return ending.format;
    }
    return nullptr;
}

QStringView lastPart(QStringView path)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(slash + 1);
}

} // namespace

namespace Archive {

bool isArchiveName(const QString &name)
{
    return formatOf(name) != nullptr;
}

bool isSpectrumName(const QString &name)
{
    for (const QLatin1StringView ending : kSpectrumEndings) {
        if (name.endsWith(ending, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

ArchiveListing listMembers(const QString &path)
{
    return listMembers(ArchiveSource::file(path));
}

ArchiveListing listMembers(const ArchiveSource &source)
{
    const ArchiveFormat *format = formatOf(source.name);
    if (!format)
        return {false, {}, kNotAnArchive};
    return format->list(source);
}

std::optional<ArchiveMember> spectrumMember(const QList<ArchiveMember> &members)
{
    const ArchiveMember *first = nullptr;
    for (const ArchiveMember &member : members) {
        if (!isSpectrumName(member.name) || baseName(member.name).isEmpty())
            continue;
        if (!first) {
            first = &member;
            continue;
        }
        const int order = member.name.compare(first->name, Qt::CaseInsensitive);
        if (order < 0 || (order == 0 && member.name < first->name))
            first = &member;
    }
    if (!first)
        return std::nullopt;
    return *first;
}

QString refusal(const ArchiveMember &member)
{
    const QString name = baseName(member.name);
    if (member.encrypted)
        return kEncrypted.arg(name);
    if (member.size < 0 || member.size > kMaxMemberSize)
        return kTooLarge.arg(name);
    // Also a member that declares bytes but takes none.
    if (member.compressedSize < 0 ||
        (member.compressedSize < kMaxMemberSize && member.size > kMaxRatio * member.compressedSize))
        return kTooCompressed.arg(name);
    return {};
}

MemberBytes readMember(const ArchiveSource &source, const ArchiveMember &member)
{
    const ArchiveFormat *format = formatOf(source.name);
    if (!format)
        return {false, {}, kNotAnArchive};
    if (const QString reason = refusal(member); !reason.isEmpty())
        return {false, {}, reason};
    return format->read(source, member);
}

MemberBytes readMemberHead(const ArchiveSource &source, const ArchiveMember &member, qint64 count)
{
    if (count >= member.size)
        return readMember(source, member);
    const ArchiveFormat *format = formatOf(source.name);
    if (!format)
        return {false, {}, kNotAnArchive};
    if (const QString reason = refusal(member); !reason.isEmpty())
        return {false, {}, reason};
    return format->readHead(source, member, count);
}

QString baseName(const QString &memberName)
{
    const QStringView last = lastPart(memberName);
    if (last == u"." || last == u"..")
        return {};
    return last.toString();
}

QString unableToRead(const QString &archivePath, const QString &reason)
{
    return kUnableToRead.arg(lastPart(archivePath).toString(), reason);
}

} // namespace Archive
