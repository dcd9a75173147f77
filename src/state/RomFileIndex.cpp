#include "state/RomFileIndex.h"

#include "core/FileLookup.h"
#include "core/PathText.h"

#include <QFileInfo>

bool RomFileIndex::update(const SearchPathList &roms, bool again)
{
    const QStringList dirs = roms.usedDirs();
    const bool first = !m_listed;
    m_listed = true;
    if (!again && dirs == m_dirs)
        return first;
    QHash<QString, QSet<QString>> names;
    for (const QString &dir : dirs) {
        if (names.contains(dir))
            continue;
        if (!again && m_names.contains(dir)) {
            names.insert(dir, m_names.take(dir));
            continue;
        }
        QSet<QString> &listed = names[dir];
        for (const QString &name : listOrdinaryFiles(dir, QStringLiteral("*")))
            listed.insert(folded(name));
    }
    m_names = std::move(names);
    m_dirs = dirs;
    m_all.clear();
    for (const QSet<QString> &listed : std::as_const(m_names))
        m_all.unite(listed);
    return true;
}

bool RomFileIndex::holds(const QString &romFile) const
{
    if (romFile.isEmpty())
        return false;
    return m_all.contains(folded(romFile));
}

bool RomFileIndex::lookAgain(const QStringList &romFiles)
{
    bool found = false;
    for (const QString &romFile : romFiles) {
        if (romFile.isEmpty() || holds(romFile))
            continue;
        // The name as given, one stat a folder: drops and the file choosers give names as they
        // are on disk; a name typed in another letter case is found by the next full listing.
        for (const QString &dir : std::as_const(m_dirs)) {
            if (!QFileInfo(toFileSystemPath(dir + romFile)).isFile())
                continue;
            m_names[dir].insert(folded(romFile));
            m_all.insert(folded(romFile));
            found = true;
            break;
        }
    }
    return found;
}
