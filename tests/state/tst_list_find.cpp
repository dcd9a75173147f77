// Finding and ordering entries: folding for search, the filter's words, natural order, years,
// and which rom files the rom paths hold.
#include "TestSupport.h"

#include "state/ListFilter.h"
#include "state/ListOrder.h"
#include "state/RomFileIndex.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace testsupport;

class tst_ListFind : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void folding_data();
    void folding();
    void filterMatches_data();
    void filterMatches();
    void searchTextsNarrowRowByRow();
    void naturalOrder();
    void sortByColumn();
    void romFileIndex();
};

namespace {

RomRecord entry(const QString &name, const QString &publisher = {}, qint32 year = 0)
{
    RomRecord record;
    record.RomName = name;
    record.Publisher = publisher;
    record.Year = year;
    return record;
}

QStringList namesInOrder(const QList<RomRecord> &records, SortColumn column, Qt::SortOrder order)
{
    QList<const RomRecord *> pointers;
    for (const RomRecord &record : records)
        pointers.append(&record);
    QStringList names;
    for (const int position : sortedOrder(pointers, column, order))
        names.append(records.at(position).RomName);
    return names;
}

} // namespace

void tst_ListFind::folding_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("folded");
    // Case and accents go, whatever the script; what has no accent stays.
    QTest::newRow("ASCII") << "Manic MINER"
                           << "manic miner";
    QTest::newRow("accents") << QStringLiteral("Café Élan Ñandú") << "cafe elan nandu";
    QTest::newRow("decomposed input") << QStringLiteral("Cafe\u0301") << "cafe";
    QTest::newRow("German sharp s") << QStringLiteral("Straße") << QStringLiteral("strasse");
    QTest::newRow("Cyrillic") << QStringLiteral("ИВАН") << QStringLiteral("иван");
    QTest::newRow("digits and signs") << "3D Ant-Attack!"
                                      << "3d ant-attack!";
}

void tst_ListFind::folding()
{
    QFETCH(QString, text);
    QFETCH(QString, folded);
    QCOMPARE(foldForSearch(text), folded);
}

void tst_ListFind::filterMatches_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("matches");
    // The entry: "Jet Set Willy", Software Projects, 1984, M. Smith, type 11, JSW.TAP.
    // Every word must occur somewhere; no word may span two fields.
    QTest::newRow("nothing typed") << "" << true;
    QTest::newRow("blanks only") << "   " << true;
    QTest::newRow("name word") << "willy" << true;
    QTest::newRow("two fields") << "set projects" << true;
    QTest::newRow("year") << "1984" << true;
    QTest::newRow("author") << "SMITH" << true;
    QTest::newRow("type name") << "single screen" << true;
    QTest::newRow("rom file") << "jsw.tap" << true;
    QTest::newRow("accent typed") << QStringLiteral("wílly") << true;
    QTest::newRow("one word missing") << "willy manic" << false;
    QTest::newRow("across two fields") << "willysoftware" << false;
    QTest::newRow("no year is no 0") << "0" << false;
}

void tst_ListFind::filterMatches()
{
    QFETCH(QString, typed);
    QFETCH(bool, matches);
    RomRecord record =
        entry(QStringLiteral("Jet Set Willy"), QStringLiteral("Software Projects"), 1984);
    record.Authors = QStringLiteral("M. Smith");
    record.RomType = 11; // "Arcade - Platformer (Single Screen)"
    record.RomFile = QStringLiteral("JSW.TAP");
    const GameTypeTable types;
    QCOMPARE(matchesWords(searchText(record, types), filterWords(typed)), matches);
    RomRecord noYear = entry(QStringLiteral("Nothing"));
    QVERIFY(!matchesWords(searchText(noYear, types), filterWords(QStringLiteral("0"))));
}

void tst_ListFind::searchTextsNarrowRowByRow()
{
    // One buffer for all rows: a hit belongs to its own row only, rows between hits lack the
    // word, and the first and the last row are not lost at the buffer's ends.
    const GameTypeTable types;
    SearchTexts texts;
    const QStringList names = {"Zap", "Alpha Zap", "Beta", "Gamma", "zap"};
    for (const QString &name : names)
        texts.append(entry(name), types);
    const auto kept = [&](const QString &typed) {
        QList<bool> keep(texts.size(), true);
        texts.narrow(WordFilter(typed), keep);
        QStringList left;
        for (int row = 0; row < keep.size(); ++row) {
            if (keep.at(row))
                left.append(names.at(row));
        }
        return left;
    };
    QCOMPARE(kept(QStringLiteral("zap")), (QStringList{"Zap", "Alpha Zap", "zap"}));
    QCOMPARE(kept(QStringLiteral("a")), (QStringList{"Zap", "Alpha Zap", "Beta", "Gamma", "zap"}));
    QCOMPARE(kept(QStringLiteral("alpha zap")), QStringList{"Alpha Zap"});
    QCOMPARE(kept(QStringLiteral("gamma")), QStringList{"Gamma"});
    QCOMPARE(kept(QStringLiteral("pbeta")), QStringList()); // "Zap" ends a row, "Beta" starts one
    QCOMPARE(kept(QStringLiteral("")), names);
}

void tst_ListFind::naturalOrder()
{
    // Numbers by value, then text; case and accents do not count.
    const QList<RomRecord> records = {
        entry("Game 10"),  entry("game 2"),  entry("Game"), entry(QStringLiteral("Émerald")),
        entry("Game 007"), entry("Game 2b"), entry("zap"),  entry("Alpha")};
    QCOMPARE(namesInOrder(records, SortColumn::Name, Qt::AscendingOrder),
             (QStringList{"Alpha", QStringLiteral("Émerald"), "Game", "game 2", "Game 2b",
                          "Game 007", "Game 10", "zap"}));
    QCOMPARE(namesInOrder(records, SortColumn::Name, Qt::DescendingOrder).first(),
             QStringLiteral("zap"));
    QVERIFY(naturalSortKey(u"Game 9") < naturalSortKey(u"Game 10"));
    QVERIFY(naturalSortKey(u"a99999999999999999999") < naturalSortKey(u"a100000000000000000000"));
}

void tst_ListFind::sortByColumn()
{
    const QList<RomRecord> records = {entry("A", "Ocean", 1986), entry("B", "", 0),
                                      entry("C", "imagine", 1984), entry("D", "Ocean", 0),
                                      entry("E", "Bug-Byte", 1986)};
    // Years by number with no year last both ways; equal keys keep catalogue order.
    QCOMPARE(namesInOrder(records, SortColumn::Year, Qt::AscendingOrder),
             (QStringList{"C", "A", "E", "B", "D"}));
    QCOMPARE(namesInOrder(records, SortColumn::Year, Qt::DescendingOrder),
             (QStringList{"A", "E", "C", "B", "D"}));
    QCOMPARE(namesInOrder(records, SortColumn::Publisher, Qt::AscendingOrder),
             (QStringList{"B", "E", "C", "A", "D"}));
    QCOMPARE(namesInOrder(records, SortColumn::None, Qt::DescendingOrder),
             (QStringList{"A", "B", "C", "D", "E"}));
}

void tst_ListFind::romFileIndex()
{
    QTemporaryDir dir;
    touch(dir.filePath("one/Manic.TAP"));
    touch(dir.filePath("two/jsw.tzx"));
    touch(dir.filePath("two/.hidden.tap"));
    QDir().mkpath(dir.filePath("two/folder.tap"));
    SearchPathList roms;
    roms.setDirs({dir.filePath("one") + '/'});
    RomFileIndex index;
    QVERIFY(index.update(roms));
    QVERIFY(index.holds(QStringLiteral("manic.tap"))); // case does not count, as in the lookup
    QVERIFY(!index.holds(QStringLiteral("jsw.tzx")));
    QVERIFY(!index.holds(QString()));

    // A directory joins: it is listed; the same list again lists nothing.
    roms.setDirs({dir.filePath("one") + '/', dir.filePath("two") + '/'});
    QVERIFY(index.update(roms));
    QVERIFY(index.holds(QStringLiteral("JSW.TZX")));
    QVERIFY(!index.holds(QStringLiteral(".hidden.tap")));
    QVERIFY(!index.holds(QStringLiteral("folder.tap")));
    QVERIFY(!index.update(roms));

    // A file that appears is seen when asked to look again, not before.
    touch(dir.filePath("one/new.z80"));
    QVERIFY(!index.update(roms));
    QVERIFY(!index.holds(QStringLiteral("new.z80")));
    QVERIFY(index.update(roms, true));
    QVERIFY(index.holds(QStringLiteral("new.z80")));

    // A directory that leaves takes its files with it.
    roms.setDirs({dir.filePath("two") + '/'});
    QVERIFY(index.update(roms));
    QVERIFY(!index.holds(QStringLiteral("manic.tap")));
    QCOMPARE(index.listedDirectories(), 1);
}

QTEST_GUILESS_MAIN(tst_ListFind)
#include "tst_list_find.moc"
