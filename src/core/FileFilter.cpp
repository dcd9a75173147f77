#include "core/FileFilter.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// Windows lists patterns with ";", and some of our filters with ","; Qt wants blanks.
QString caseVariants(const QString &patterns)
{
    static const QRegularExpression separators(QStringLiteral("[;,\\s]+"));
    QStringList out;
    for (const QString &pattern : patterns.split(separators, Qt::SkipEmptyParts)) {
        // On Windows "*.*" matches every name, also one without a dot; in Qt it does not.
        const QString wanted = pattern == u"*.*" ? QStringLiteral("*") : pattern;
        for (const QString &variant : {wanted.toLower(), wanted.toUpper()}) {
            if (!out.contains(variant))
                out.append(variant);
        }
    }
    return out.join(u' ');
}

// "Kivo data file (*.dat)" -> "Kivo data file": Qt reads the patterns from the parentheses.
QString withoutPatternSuffix(const QString &description)
{
    const QString trimmed = description.trimmed();
    if (trimmed.endsWith(u')')) {
        const qsizetype open = trimmed.lastIndexOf(u'(');
        if (open > 0)
            return trimmed.left(open).trimmed();
    }
    return trimmed;
}

} // namespace

QString toQtFilter(const QString &windowsFilter)
{
    const QStringList parts = windowsFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters.append(withoutPatternSuffix(parts.at(i)) + QStringLiteral(" (") +
                       caseVariants(parts.at(i + 1)) + QLatin1Char(')'));
    return filters.join(QStringLiteral(";;"));
}
