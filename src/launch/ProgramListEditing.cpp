#include "launch/ProgramListEditing.h"

#include "core/PathText.h"

namespace {

const QString kDefaultMark = QStringLiteral(" (default)");

} // namespace

QList<ProgramListRow> programListRows(ProgramList &list)
{
    QList<ProgramListRow> rows;
    bool defaultFound = false;
    if (list.isUsed()) {
        for (qsizetype i = 0; i < list.entries.size(); ++i) {
            const ProgramEntry &entry = list.entries.at(i);
            if (entry.name.isEmpty() || entry.path.isEmpty())
                continue;
            if (i == list.defaultIndex) {
                rows.append({i, entry.name + kDefaultMark});
                defaultFound = true;
            } else {
                rows.append({i, entry.name});
            }
        }
    }
    if (!defaultFound)
        list.defaultIndex = kNone;
    return rows;
}

QString defaultProgramName(const QString &path)
{
    return fileNamePart(path).remove(QStringLiteral(".exe"), Qt::CaseSensitive);
}

void addProgramEntry(ProgramList &list, const QString &path, const QString &name)
{
    const qsizetype position = list.isUsed() ? list.entries.size() : 0;
    if (list.entries.size() <= position)
        list.entries.resize(position + 1);
    list.entries[position] = {name.isEmpty() ? defaultProgramName(path) : name, path};
}

void removeProgramEntry(ProgramList &list, qsizetype index)
{
    if (index < 0 || index >= list.entries.size())
        return;
    if (list.entries.size() == 1) {
        // Showing the list clears a default that pointed here.
        list.entries[0] = {};
        return;
    }
    if (index != list.entries.size() - 1) {
        if (index == list.defaultIndex)
            list.defaultIndex = kNone;
        else if (index < list.defaultIndex)
            --list.defaultIndex;
    }
    list.entries.removeAt(index);
}
