#include "archive/ArchiveMember.h"

#include "archive/Archive.h"

ArchiveSource ArchiveSource::file(const QString &path)
{
    return {Archive::baseName(path), path, {}};
}
