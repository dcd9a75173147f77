#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <array>

// Entries store bare file names; the directories they live in are kept once, in three ordered
// lists, and a file is found by trying each directory of its list in turn.
enum class PathKind { Rom = 0, Screenshot = 1, Music = 2 };

// An ordered list of directories. It is never an empty container: "no directory" is one empty
// text, and a list whose first entry is empty holds no directory.
class SearchPathList
{
public:
    bool IsListUsed() const { return !m_dirs.isEmpty() && !m_dirs.first().isEmpty(); }
    void reset();

    const QStringList &dirs() const { return m_dirs; }
    // Replaces the whole list (settings file, paths dialog); an empty list becomes one empty text.
    void setDirs(QStringList dirs);
    // The directories a lookup tries: none when the list is not used.
    QStringList usedDirs() const { return IsListUsed() ? m_dirs : QStringList(); }

    // Compared without regard to case, in time that does not grow with the list: an old
    // catalogue can bring thousands of directories.
    bool contains(const QString &directory) const;
    // Appends, or makes the list exactly `directory` when it is empty. No duplicate test.
    void append(const QString &directory);

private:
    static QString folded(const QString &directory) { return directory.toCaseFolded(); }

    QStringList m_dirs{QString()};
    QSet<QString> m_folded; // every entry of m_dirs, case-folded
};

class SearchPaths
{
public:
    SearchPathList &operator[](PathKind kind) { return m_lists[static_cast<int>(kind)]; }
    const SearchPathList &operator[](PathKind kind) const
    {
        return m_lists[static_cast<int>(kind)];
    }

    void resetAll();

    // Ends `directory` with a separator (the caller sees it) and adds it unless the list already
    // holds it, compared without regard to case.
    void AddSearchPath(PathKind kind, QString &directory);
    // Compares `directory` exactly as passed, without regard to case.
    bool HasSearchPath(PathKind kind, const QString &directory) const;
    // The first directory of the list, in order, that holds `fileName`, joined with the name as
    // it is spelt on disk; empty when none does.
    QString FindInSearchPaths(PathKind kind, const QString &fileName) const;

private:
    std::array<SearchPathList, 3> m_lists;
};
