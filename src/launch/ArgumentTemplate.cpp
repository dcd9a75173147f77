#include "launch/ArgumentTemplate.h"

#include <QList>

#include <optional>

// How a template is read, where the header leaves it open:
// - blanks are spaces, tabs and line breaks;
// - outside quotes "[" opens a group and "]" closes the innermost open one; both also end the
//   token before them, so "-x[{dir}]" is "-x" and a group. A "]" with no group open is an
//   ordinary character; a group still open at the end closes there. Groups nest, and each is
//   judged by its own tokens alone;
// - a quote left open runs to the end of the template;
// - \" is a quote character, in quotes or out of them;
// - placeholder names match without regard to case; a quoted "{machine}" is one argument.

namespace {

struct Token
{
    QString text;
    bool quoted = false;
    int group = -1; // the innermost group it is in; -1: none
};

struct Split
{
    QList<Token> tokens;
    QList<int> parents; // of each group
};

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

Split split(const QString &text, bool brackets)
{
    Split out;
    Token current;
    bool started = false;
    bool inQuotes = false;
    int group = -1;
    const auto flush = [&] {
        if (started) {
            current.group = group;
            out.tokens.append(current);
        }
        current = Token{};
        started = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\\' && i + 1 < text.size() && text.at(i + 1) == u'"') {
            current.text += u'"';
            started = true;
            ++i;
        } else if (c == u'"') {
            inQuotes = !inQuotes;
            current.quoted = true;
            started = true;
        } else if (inQuotes) {
            current.text += c;
        } else if (isBlank(c)) {
            flush();
        } else if (brackets && c == u'[') {
            flush();
            out.parents.append(group);
            group = int(out.parents.size() - 1);
        } else if (brackets && c == u']' && group >= 0) {
            flush();
            group = out.parents.at(group);
        } else {
            current.text += c;
            started = true;
        }
    }
    flush();
    return out;
}

// The value a placeholder's name stands for inside a longer token; nothing for another name.
std::optional<QString> valueOf(QStringView name, const TemplateValues &values)
{
    if (name.compare(u"file", Qt::CaseInsensitive) == 0)
        return values.file;
    if (name.compare(u"dir", Qt::CaseInsensitive) == 0)
        return values.dir;
    if (name.compare(u"name", Qt::CaseInsensitive) == 0)
        return values.name;
    if (name.compare(u"machine", Qt::CaseInsensitive) == 0)
        return values.machine.join(u' ');
    return std::nullopt;
}

struct Filled
{
    QStringList arguments;
    bool cameToNothing = false; // a placeholder in it was empty
};

// One pass over the token: what a value holds is copied, never looked at again.
Filled fill(const Token &token, const TemplateValues &values)
{
    Filled out;
    if (!token.quoted && token.text.compare(u"{machine}", Qt::CaseInsensitive) == 0) {
        out.arguments = values.machine;
        out.cameToNothing = values.machine.isEmpty();
        return out;
    }
    const QString &text = token.text;
    QString result;
    result.reserve(text.size() + values.file.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype open = text.indexOf(u'{', i);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u'}', open + 1);
        if (close < 0) {
            result += QStringView(text).mid(i);
            break;
        }
        result += QStringView(text).mid(i, open - i);
        if (const std::optional<QString> value =
                valueOf(QStringView(text).mid(open + 1, close - open - 1), values)) {
            result += *value;
            out.cameToNothing = out.cameToNothing || value->isEmpty();
            i = close + 1;
        } else {
            result += u'{'; // another "{" may still open a placeholder: "{{file}"
            i = open + 1;
        }
    }
    // A literal "" is an empty argument; a token emptied by its placeholders is none.
    if (!result.isEmpty() || text.isEmpty())
        out.arguments.append(result);
    return out;
}

bool isAllBlank(const QString &text)
{
    for (const QChar c : text) {
        if (!isBlank(c))
            return false;
    }
    return true;
}

} // namespace

QStringList expandArguments(const QString &argumentTemplate, const TemplateValues &values)
{
    const Split parts =
        split(isAllBlank(argumentTemplate) ? kDefaultArgumentTemplate : argumentTemplate, true);
    QList<Filled> filled;
    filled.reserve(parts.tokens.size());
    QList<bool> dropped(parts.parents.size(), false);
    for (const Token &token : parts.tokens) {
        filled.append(fill(token, values));
        if (token.group >= 0 && filled.last().cameToNothing)
            dropped[token.group] = true;
    }
    const auto isDropped = [&](int group) {
        for (; group >= 0; group = parts.parents.at(group)) {
            if (dropped.at(group))
                return true;
        }
        return false;
    };
    QStringList arguments;
    for (qsizetype i = 0; i < parts.tokens.size(); ++i) {
        if (!isDropped(parts.tokens.at(i).group))
            arguments += filled.at(i).arguments;
    }
    return arguments;
}

QStringList splitArguments(const QString &text)
{
    QStringList arguments;
    for (const Token &token : split(text, false).tokens)
        arguments.append(token.text);
    return arguments;
}

QString quotedForDisplay(const QString &argument)
{
    static const QString kPlain = QStringLiteral("_@%+=:,./-");
    bool plain = !argument.isEmpty();
    for (const QChar c : argument) {
        if (!c.isLetterOrNumber() && !kPlain.contains(c)) {
            plain = false;
            break;
        }
    }
    if (plain)
        return argument;
    return u'\'' + QString(argument).replace(u'\'', QStringLiteral("'\\''")) + u'\'';
}
