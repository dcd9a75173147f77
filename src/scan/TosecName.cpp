#include "scan/TosecName.h"

#include <QRegularExpression>

namespace {

struct Group
{
    QChar open;   // '(' or '['
    QString text; // without the brackets
};

// The groups after the title; false when anything but groups and blanks follows it.
bool splitGroups(QStringView rest, QList<Group> &groups)
{
    qsizetype i = 0;
    while (i < rest.size()) {
        const QChar c = rest.at(i);
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c != u'(' && c != u'[')
            return false;
        const QChar close = c == u'(' ? u')' : u']';
        const qsizetype end = rest.indexOf(close, i + 1);
        if (end < 0)
            return false;
        groups.append(Group{c, rest.mid(i + 1, end - i - 1).toString()});
        i = end + 1;
    }
    return true;
}

bool isDate(const QString &text, qint32 &year)
{
    static const QRegularExpression kDate(QStringLiteral("^([0-9xX]{4})(-[0-9xX]{2}){0,2}$"));
    const QRegularExpressionMatch match = kDate.match(text);
    if (!match.hasMatch())
        return false;
    bool numeric = false;
    const int value = match.captured(1).toInt(&numeric);
    year = numeric ? value : 0;
    return true;
}

const QRegularExpression &mediaPattern()
{
    static const QRegularExpression kMedia(
        QStringLiteral("^(Side|Part|Disk|Disc|Tape|File) [0-9A-Za-z]+( of [0-9]+)?$"));
    return kMedia;
}

} // namespace

TosecName readTosecName(const QString &baseName)
{
    TosecName unparsed;
    unparsed.title = baseName;
    // The title ends at the first " (": commas and "[...]" before it belong to it.
    const qsizetype open = baseName.indexOf(QStringLiteral(" ("));
    if (open <= 0)
        return unparsed;
    TosecName name;
    name.title = baseName.left(open).trimmed();
    QList<Group> groups;
    if (name.title.isEmpty() || !splitGroups(QStringView(baseName).mid(open), groups))
        return unparsed;

    qsizetype next = 0;
    if (next < groups.size() && groups.at(next).open == u'(' &&
        groups.at(next).text.startsWith(QStringLiteral("demo"), Qt::CaseInsensitive))
        name.flags.append(QStringLiteral("(") + groups.at(next++).text + QStringLiteral(")"));
    // The date and the publisher are not optional.
    if (next + 1 >= groups.size() || groups.at(next).open != u'(' ||
        groups.at(next + 1).open != u'(' || !isDate(groups.at(next).text, name.year))
        return unparsed;
    const QString publisher = groups.at(next + 1).text.trimmed();
    name.publisher = publisher == u"-" ? QString() : publisher;
    for (next += 2; next < groups.size(); ++next) {
        const Group &group = groups.at(next);
        if (group.open == u'(' && mediaPattern().match(group.text).hasMatch()) {
            name.media += name.media.isEmpty() ? group.text : u' ' + group.text;
            continue;
        }
        const QChar close = group.open == u'(' ? u')' : u']';
        name.flags.append(group.open + group.text + close);
    }
    name.parsed = true;
    return name;
}

QList<int> mediaOrder(const QString &media)
{
    static const QRegularExpression kPlace(
        QStringLiteral("(?:Side|Part|Disk|Disc|Tape|File) ([0-9]+|[A-Za-z])\\b"));
    QList<int> order;
    for (const QRegularExpressionMatch &match : kPlace.globalMatch(media)) {
        const QString place = match.captured(1);
        bool numeric = false;
        const int number = place.toInt(&numeric);
        order.append(numeric ? number : place.at(0).toUpper().unicode() - u'A' + 1);
    }
    return order;
}
