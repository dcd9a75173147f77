#include "scan/DatNaming.h"

#include "scan/TosecName.h"

#include <QSet>

namespace {

// Enough games to tell the convention of any DAT, spread over the whole file, so a DAT of
// 100,000 games is not parsed twice over.
constexpr qsizetype kConventionSample = 1024;

bool isRegionWord(QStringView word)
{
    static const QSet<QString> kRegions = {
        QStringLiteral("Europe"),
        QStringLiteral("USA"),
        QStringLiteral("Japan"),
        QStringLiteral("World"),
        QStringLiteral("UK"),
        QStringLiteral("Spain"),
        QStringLiteral("Germany"),
        QStringLiteral("France"),
        QStringLiteral("Italy"),
        QStringLiteral("Netherlands"),
        QStringLiteral("Sweden"),
        QStringLiteral("Norway"),
        QStringLiteral("Denmark"),
        QStringLiteral("Finland"),
        QStringLiteral("Scandinavia"),
        QStringLiteral("Portugal"),
        QStringLiteral("Poland"),
        QStringLiteral("Greece"),
        QStringLiteral("Russia"),
        QStringLiteral("Czech"),
        QStringLiteral("Hungary"),
        QStringLiteral("Austria"),
        QStringLiteral("Switzerland"),
        QStringLiteral("Belgium"),
        QStringLiteral("Australia"),
        QStringLiteral("Canada"),
        QStringLiteral("Brazil"),
        QStringLiteral("Argentina"),
        QStringLiteral("Mexico"),
        QStringLiteral("Korea"),
        QStringLiteral("China"),
        QStringLiteral("Taiwan"),
        QStringLiteral("Hong Kong"),
        QStringLiteral("Asia"),
        QStringLiteral("Latin America"),
    };
    return kRegions.contains(word.trimmed().toString());
}

// "Title (Europe) (Rev 1)", "Title (USA, Europe)": some group of the name holds regions only.
bool namesRegion(const QString &name)
{
    qsizetype open = name.indexOf(u'(');
    while (open >= 0) {
        const qsizetype close = name.indexOf(u')', open + 1);
        if (close < 0)
            return false;
        bool regions = close > open + 1;
        for (const QStringView item :
             QStringView(name).sliced(open + 1, close - open - 1).tokenize(u',')) {
            regions = regions && isRegionWord(item);
        }
        if (regions)
            return true;
        open = name.indexOf(u'(', close + 1);
    }
    return false;
}

// Where the balanced "(...)" that ends the name opens; -1 when the name ends otherwise.
qsizetype trailingGroup(QStringView name)
{
    if (!name.endsWith(u')'))
        return -1;
    int depth = 0;
    for (qsizetype i = name.size() - 1; i >= 0; --i) {
        if (name[i] == u')')
            ++depth;
        else if (name[i] == u'(' && --depth == 0)
            return i;
    }
    return -1;
}

QString authorsOf(const QString &manufacturer)
{
    // Most games have one author, written plainly: the entry shares the DAT's text.
    if (!manufacturer.contains(u'|') && manufacturer.trimmed().size() == manufacturer.size())
        return manufacturer;
    QStringList authors;
    for (const QStringView author : QStringView(manufacturer).tokenize(u'|')) {
        if (const QStringView trimmed = author.trimmed(); !trimmed.isEmpty())
            authors.append(trimmed.toString());
    }
    return authors.join(QStringLiteral(", "));
}

} // namespace

DatConvention conventionOf(const QList<DatGame> &games)
{
    if (games.isEmpty())
        return DatConvention::Tosec;
    const qsizetype step = std::max<qsizetype>(1, games.size() / kConventionSample);
    qsizetype sampled = 0;
    qsizetype tosec = 0;
    qsizetype regions = 0;
    for (qsizetype i = 0; i < games.size(); i += step) {
        const DatGame &game = games.at(i);
        ++sampled;
        tosec += readTosecName(game.name).parsed ? 1 : 0;
        regions += game.region || namesRegion(game.name) ? 1 : 0;
    }
    if (tosec * 2 > sampled)
        return DatConvention::Tosec;
    if (regions * 2 > sampled)
        return DatConvention::NoIntro;
    return DatConvention::TitlePublisher;
}

DatEntry namedEntry(const DatGame &game, DatConvention convention)
{
    DatEntry entry;
    entry.game = game.name;
    switch (convention) {
    case DatConvention::Tosec:
        entry.tosec = readTosecName(game.name);
        entry.title = entry.tosec.title;
        entry.year = entry.tosec.year;
        entry.publisher = entry.tosec.publisher;
        return entry;
    case DatConvention::TitlePublisher: {
        const QString name = game.name.trimmed();
        const qsizetype open = trailingGroup(name);
        const QString title = open > 0 ? name.left(open).trimmed() : QString();
        entry.title = title.isEmpty() ? name : title;
        if (!title.isEmpty())
            entry.publisher = name.sliced(open + 1, name.size() - open - 2).trimmed();
        break;
    }
    case DatConvention::NoIntro: {
        const qsizetype open = game.name.indexOf(QStringLiteral(" ("));
        const QString title = open > 0 ? game.name.left(open).trimmed() : QString();
        entry.title = title.isEmpty() ? game.name.trimmed() : title;
        break;
    }
    }
    entry.year = game.year;
    entry.authors = authorsOf(game.manufacturer);
    return entry;
}
