#pragma once

#include "core/SearchPathList.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

// Which rom files the rom paths hold, from one listing per directory, so the list can show at a
// glance which entries have no file without one file-system call per row. A directory is
// listed when it joins the paths or when asked to look again (F5); files that appear on disk
// in between are seen at the next look.
class RomFileIndex
{
public:
    // Lists the directories of `roms` not listed yet and forgets those no longer in it; with
    // `again`, lists every directory afresh. True when anything changed.
    bool update(const SearchPathList &roms, bool again = false);

    // Files the catalogue just started to name (a drop, Add Rom, Properties, an import) may
    // have appeared in listed directories since they were listed: each is looked for again, by
    // the name as given.
    // True when any was found that was not known.
    bool lookAgain(const QStringList &romFiles);
    // True when some rom directory holds an ordinary file of that name, compared without regard
    // to case as the lookup does. An empty name is in no directory.
    bool holds(const QString &romFile) const;

    int listedDirectories() const { return int(m_names.size()); }
    // False until the first update: nothing is known to be missing yet.
    bool isListed() const { return m_listed; }

private:
    static QString folded(const QString &name) { return name.toCaseFolded(); }

    QStringList m_dirs;                    // as listed, in path order
    QHash<QString, QSet<QString>> m_names; // directory -> its files' folded names
    QSet<QString> m_all;                   // every directory's names, for one lookup an entry
    bool m_listed = false;
};
