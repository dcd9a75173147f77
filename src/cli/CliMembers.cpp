// members: what an archive holds, and which member is the one a rom file stands for.
#include "cli/CliSupport.h"

#include "archive/Archive.h"

int cmdMembers(const QStringList &arguments)
{
    if (arguments.size() != 1)
        return usageError(QStringLiteral("members needs one archive: members FILE"));
    const QString path = arguments.first();
    if (!Archive::isArchiveName(path)) {
        printMessage(Message{QStringLiteral("%1 is not an archive (zip or gz).").arg(path),
                             QStringLiteral("kivo-cli")});
        return kExitFailure;
    }
    const ArchiveListing listing = Archive::listMembers(path);
    if (!listing.ok) {
        printMessage(
            Message::critical(Archive::unableToRead(path, listing.reason), kApplicationTitle));
        return kExitFailure;
    }
    const std::optional<ArchiveMember> spectrum = Archive::spectrumMember(listing.members);
    Json members = Json::array();
    for (const ArchiveMember &member : listing.members) {
        Json item = Json::object();
        item["name"] = utf8(member.name);
        item["size"] = member.size;
        item["crc32"] = utf8(QStringLiteral("%1").arg(uint(member.crc32), 8, 16, QChar(u'0')));
        item["spectrum"] = spectrum && spectrum->index == member.index;
        members.push_back(std::move(item));
    }
    printJson(members);
    return kExitOk;
}
