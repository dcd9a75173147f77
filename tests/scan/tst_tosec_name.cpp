// Reading a file or game name the TOSEC way: where the title ends, what the date and publisher
// give, which groups are media and which are flags, and names that do not follow it.
#include "scan/TosecName.h"

#include <QTest>

Q_DECLARE_METATYPE(TosecName)

namespace {

TosecName parsed(const QString &title, qint32 year, const QString &publisher,
                 const QString &media = {}, const QStringList &flags = {})
{
    return TosecName{true, title, year, publisher, media, flags};
}

TosecName unparsed(const QString &name)
{
    TosecName result;
    result.title = name;
    return result;
}

} // namespace

class TestTosecName : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<TosecName>("expected");
        // The title ends at the first " (": commas and brackets before it are the title's.
        QTest::newRow("title with comma")
            << "Great Escape, The (1986)(Ocean)" << parsed("Great Escape, The", 1986, "Ocean");
        QTest::newRow("title with brackets")
            << "Match Day II [128K] (1987)(Ocean)" << parsed("Match Day II [128K]", 1987, "Ocean");
        QTest::newRow("title with parenthesis not after a blank")
            << "R-Type(Rev) (1988)(Electric Dreams)"
            << parsed("R-Type(Rev)", 1988, "Electric Dreams");
        // Every date form gives its year; unknown digits give none.
        QTest::newRow("year and month")
            << "Jetpac (1983-05)(Ultimate)" << parsed("Jetpac", 1983, "Ultimate");
        QTest::newRow("full date")
            << "Jetpac (1983-05-12)(Ultimate)" << parsed("Jetpac", 1983, "Ultimate");
        QTest::newRow("decade only")
            << "Jetpac (198x)(Ultimate)" << parsed("Jetpac", 0, "Ultimate");
        QTest::newRow("century only")
            << "Jetpac (19xx)(Ultimate)" << parsed("Jetpac", 0, "Ultimate");
        QTest::newRow("no publisher") << "Demo Tape (1985)(-)" << parsed("Demo Tape", 1985, "");
        QTest::newRow("several publishers kept as written")
            << "Head over Heels (1987)(Ocean - Imagine)"
            << parsed("Head over Heels", 1987, "Ocean - Imagine");
        // Media groups are told from other groups and flags, wherever they stand.
        QTest::newRow("side") << "Elite (1985)(Firebird)(Side B)"
                              << parsed("Elite", 1985, "Firebird", "Side B");
        QTest::newRow("part with flags")
            << "Lords (1984)(Beyond)(Part 1 of 2)[a2][!]"
            << parsed("Lords", 1984, "Beyond", "Part 1 of 2", {"[a2]", "[!]"});
        QTest::newRow("disk and side")
            << "Game (1990)(Co)(Disk 2 of 2)(Side A)(128K)"
            << parsed("Game", 1990, "Co", "Disk 2 of 2 Side A", {"(128K)"});
        QTest::newRow("tape") << "Game (1990)(Co)(Tape 1 of 3)"
                              << parsed("Game", 1990, "Co", "Tape 1 of 3");
        QTest::newRow("demo before the date")
            << "Game (demo) (1990)(Co)" << parsed("Game", 1990, "Co", "", {"(demo)"});
        QTest::newRow("blanks between groups")
            << "Game (1990) (Co) [cr]" << parsed("Game", 1990, "Co", "", {"[cr]"});
        // Anything else is no TOSEC name: the whole name is the title.
        QTest::newRow("no groups") << "Manic Miner" << unparsed("Manic Miner");
        QTest::newRow("no publisher group") << "Game (1990)" << unparsed("Game (1990)");
        QTest::newRow("first group no date")
            << "Game (Ocean)(1990)" << unparsed("Game (Ocean)(1990)");
        QTest::newRow("text after the groups")
            << "Game (1990)(Co) copy" << unparsed("Game (1990)(Co) copy");
        QTest::newRow("unclosed group") << "Game (1990)(Co" << unparsed("Game (1990)(Co");
        QTest::newRow("nothing before the groups") << " (1990)(Co)" << unparsed(" (1990)(Co)");
        QTest::newRow("empty") << "" << unparsed("");
    }
    void readsNames()
    {
        QFETCH(QString, name);
        QFETCH(TosecName, expected);
        const TosecName actual = readTosecName(name);
        QCOMPARE(actual.parsed, expected.parsed);
        QCOMPARE(actual.title, expected.title);
        QCOMPARE(actual.year, expected.year);
        QCOMPARE(actual.publisher, expected.publisher);
        QCOMPARE(actual.media, expected.media);
        QCOMPARE(actual.flags, expected.flags);
    }

    // The order parts are listed in: by letter and by number, not as text ("Part 10" after
    // "Part 9").
    void ordersMedia_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("sides") << "Side A"
                               << "Side B";
        QTest::newRow("parts by number") << "Part 9 of 10"
                                         << "Part 10 of 10";
        QTest::newRow("disk before its side") << "Disk 1 of 2 Side B"
                                              << "Disk 2 of 2 Side A";
        QTest::newRow("lower-case side") << "Side a"
                                         << "Side B";
    }
    void ordersMedia()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QVERIFY(mediaOrder(first) < mediaOrder(second));
        QVERIFY(!(mediaOrder(second) < mediaOrder(first)));
    }
};

QTEST_GUILESS_MAIN(TestTosecName)
#include "tst_tosec_name.moc"
