#include "core/SearchPathList.h"

#include "core/FileLookup.h"
#include "core/PathText.h"

void SearchPathList::reset()
{
    setDirs({});
}

void SearchPathList::setDirs(QStringList dirs)
{
    m_dirs = dirs.isEmpty() ? QStringList{QString()} : std::move(dirs);
    m_folded.clear();
    for (const QString &dir : std::as_const(m_dirs))
        m_folded.insert(folded(dir));
}

bool SearchPathList::contains(const QString &directory) const
{
    return m_folded.contains(folded(directory));
}

void SearchPathList::append(const QString &directory)
{
    if (IsListUsed()) {
        m_dirs.append(directory);
        m_folded.insert(folded(directory));
    } else {
        setDirs({directory});
    }
}

void SearchPaths::resetAll()
{
    for (SearchPathList &list : m_lists)
        list.reset();
}

void SearchPaths::AddSearchPath(PathKind kind, QString &directory)
{
    if (!endsWithSeparator(directory))
        directory += nativeSeparator();
    SearchPathList &list = (*this)[kind];
    if (list.IsListUsed() && list.contains(directory))
        return;
    list.append(directory);
}

bool SearchPaths::HasSearchPath(PathKind kind, const QString &directory) const
{
    const SearchPathList &list = (*this)[kind];
    return list.IsListUsed() && list.contains(directory);
}

QString SearchPaths::FindInSearchPaths(PathKind kind, const QString &fileName) const
{
    for (const QString &dir : (*this)[kind].usedDirs()) {
        const QString found = resolveExistingFile(dir + fileName);
        if (!found.isEmpty())
            return found;
    }
    return {};
}
