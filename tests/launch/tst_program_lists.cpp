#include "launch/ProgramListEditing.h"

#include <QTest>

namespace {

// Lists are written "name=path" per element, so a table row shows a whole list.
ProgramList makeList(const QStringList &elements, qint32 defaultIndex = -99)
{
    ProgramList list;
    for (const QString &element : elements) {
        const qsizetype eq = element.indexOf(u'=');
        list.entries.append({element.left(eq), element.mid(eq + 1)});
    }
    list.defaultIndex = defaultIndex;
    return list;
}

QStringList describe(const ProgramList &list)
{
    QStringList out;
    for (const ProgramEntry &entry : list.entries)
        out.append(entry.name + u'=' + entry.path);
    return out;
}

} // namespace

class tst_ProgramLists : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultName_data();
    void defaultName();
    void add_data();
    void add();
    void remove_data();
    void remove();
    void rows_data();
    void rows();
};

// Catches a case-insensitive or first-occurrence-only ".exe" removal and a split at one kind of
// separator only.
void tst_ProgramLists::defaultName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("exe removed") << "C:\\Emus\\Zxemu.exe"
                                 << "Zxemu";
    QTest::newRow("upper-case ending kept") << "C:\\Emus\\ZXEMU.EXE"
                                            << "ZXEMU.EXE";
    QTest::newRow("every occurrence") << "C:\\x.exe.exe"
                                      << "x";
    QTest::newRow("inside the name too") << "/opt/my.exefile"
                                         << "myfile";
    QTest::newRow("no ending") << "/usr/bin/fuse-sdl"
                               << "fuse-sdl";
    QTest::newRow("mixed separators") << "C:/Emus\\Real/Zxemu.exe"
                                      << "Zxemu";
}

void tst_ProgramLists::defaultName()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(defaultProgramName(path), name);
}

// Catches appending after a blank element 0 instead of taking its place, and an empty name
// stored instead of the default name.
void tst_ProgramLists::add_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("no elements") << QStringList() << "/e/Zxemu.exe"
                                 << "Speccy" << QStringList{"Speccy=/e/Zxemu.exe"};
    QTest::newRow("blank element 0") << QStringList{"="} << "/e/Zxemu.exe"
                                     << "" << QStringList{"Zxemu=/e/Zxemu.exe"};
    QTest::newRow("element 0 without path, rest kept") << QStringList{"old=", "b=/b"} << "/e/a"
                                                       << "a" << QStringList{"a=/e/a", "b=/b"};
    QTest::newRow("appended") << QStringList{"a=/a", "b=/b"} << "/e/c.exe"
                              << "" << QStringList{"a=/a", "b=/b", "c=/e/c.exe"};
}

void tst_ProgramLists::add()
{
    QFETCH(QStringList, before);
    QFETCH(QString, path);
    QFETCH(QString, name);
    QFETCH(QStringList, after);
    ProgramList list = makeList(before);
    addProgramEntry(list, path, name);
    QCOMPARE(describe(list), after);
}

// Catches a default left on the wrong program after removing above, at or below it, and a list
// shrunk to no elements.
void tst_ProgramLists::remove_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("defaultIndex");
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("defaultAfter");
    const QStringList abc{"a=/a", "b=/b", "c=/c"};
    QTest::newRow("above the default") << abc << 2 << 0 << QStringList{"b=/b", "c=/c"} << 1;
    QTest::newRow("just above the default") << abc << 2 << 1 << QStringList{"a=/a", "c=/c"} << 1;
    QTest::newRow("the default, last") << abc << 2 << 2 << QStringList{"a=/a", "b=/b"} << -99;
    QTest::newRow("the default, middle") << abc << 1 << 1 << QStringList{"a=/a", "c=/c"} << -99;
    QTest::newRow("below the default") << abc << 0 << 1 << QStringList{"a=/a", "c=/c"} << 0;
    QTest::newRow("last, below the default") << abc << 0 << 2 << QStringList{"a=/a", "b=/b"} << 0;
    QTest::newRow("no default stays none") << abc << -99 << 0 << QStringList{"b=/b", "c=/c"} << -99;
    QTest::newRow("out of range") << abc << 1 << 3 << abc << 1;
    QTest::newRow("the only element is blanked")
        << QStringList{"a=/a"} << 0 << 0 << QStringList{"="} << -99;
}

void tst_ProgramLists::remove()
{
    QFETCH(QStringList, before);
    QFETCH(int, defaultIndex);
    QFETCH(int, index);
    QFETCH(QStringList, after);
    QFETCH(int, defaultAfter);
    ProgramList list = makeList(before, defaultIndex);
    removeProgramEntry(list, index);
    programListRows(list);
    QCOMPARE(describe(list), after);
    QCOMPARE(list.defaultIndex, defaultAfter);
}

// Catches rows for hand-edited elements without name or path, row numbers used as list indices
// and a default kept although it names no row.
void tst_ProgramLists::rows_data()
{
    QTest::addColumn<QStringList>("elements");
    QTest::addColumn<int>("defaultIndex");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<qsizetype>>("indices");
    QTest::addColumn<int>("defaultAfter");
    QTest::newRow("default marked")
        << QStringList{"a=/a", "b=/b"} << 1 << QStringList{"a", "b (default)"}
        << QList<qsizetype>{0, 1} << 1;
    QTest::newRow("incomplete elements skipped")
        << QStringList{"a=/a", "=/x", "y=", "d=/d"} << 3 << QStringList{"a", "d (default)"}
        << QList<qsizetype>{0, 3} << 3;
    QTest::newRow("default on a skipped element")
        << QStringList{"a=/a", "y="} << 1 << QStringList{"a"} << QList<qsizetype>{0} << -99;
    QTest::newRow("element 0 without path: empty list")
        << QStringList{"a=", "b=/b"} << 1 << QStringList() << QList<qsizetype>() << -99;
    QTest::newRow("default past the end")
        << QStringList{"a=/a"} << 4 << QStringList{"a"} << QList<qsizetype>{0} << -99;
    QTest::newRow("default -1 (Set default without a row)")
        << QStringList{"a=/a"} << -1 << QStringList{"a"} << QList<qsizetype>{0} << -99;
}

void tst_ProgramLists::rows()
{
    QFETCH(QStringList, elements);
    QFETCH(int, defaultIndex);
    QFETCH(QStringList, texts);
    QFETCH(QList<qsizetype>, indices);
    QFETCH(int, defaultAfter);
    ProgramList list = makeList(elements, defaultIndex);
    QStringList shownTexts;
    QList<qsizetype> shownIndices;
    for (const ProgramListRow &row : programListRows(list)) {
        shownTexts.append(row.text);
        shownIndices.append(row.index);
    }
    QCOMPARE(shownTexts, texts);
    QCOMPARE(shownIndices, indices);
    QCOMPARE(list.defaultIndex, defaultAfter);
}

QTEST_GUILESS_MAIN(tst_ProgramLists)
#include "tst_program_lists.moc"
