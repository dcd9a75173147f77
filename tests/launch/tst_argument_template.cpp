#include "launch/ArgumentTemplate.h"

#include <QTest>

class tst_ArgumentTemplate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void expand_data();
    void expand();
    void split();
};

// Catches a file name split or read again, a group kept or dropped wrongly, {machine} given as
// one argument where it stands alone, and an empty argument lost or made up.
void tst_ArgumentTemplate::expand_data()
{
    QTest::addColumn<QString>("argumentTemplate");
    QTest::addColumn<QStringList>("values"); // file, dir, name, then the machine's arguments
    QTest::addColumn<QStringList>("expected");
    const QStringList jet{"/my roms/jet pac.tap", "/my roms", "jet pac"};
    const QString odd = QStringLiteral("/r/it's [a] \"q\" {name} {.tap");
    QTest::newRow("blank") << " \t " << jet << QStringList{jet[0]};
    QTest::newRow("quotes") << "-a \"b  c\"d \"\"" << jet << QStringList{"-a", "b  cd", ""};
    QTest::newRow("odd file name") << "{file}" << QStringList{odd, "/r", "x"} << QStringList{odd};
    QTest::newRow("group kept") << "[--rom {dir}/x.rom] {name}" << jet
                                << QStringList{"--rom", "/my roms/x.rom", "jet pac"};
    QTest::newRow("group with an empty placeholder")
        << "-m [--rom {dir}/x.rom]{file}" << QStringList{jet[0], "", ""}
        << QStringList{"-m", jet[0]};
    QTest::newRow("nested group") << "[-a [-b {dir}] -c]" << QStringList{"f", "", ""}
                                  << QStringList{"-a", "-c"};
    QTest::newRow("group without machine") << "[-o {machine}] {file}" << jet << QStringList{jet[0]};
    QTest::newRow("machine, none") << "{machine} {file}" << jet << QStringList{jet[0]};
    QTest::newRow("machine, one") << "{machine} {file}" << jet + QStringList{"-128"}
                                  << QStringList{"-128", jet[0]};
    QTest::newRow("machine, two") << "{MACHINE} {file}" << jet + QStringList{"-m", "128"}
                                  << QStringList{"-m", "128", jet[0]};
    QTest::newRow("machine in a token")
        << "-o={machine} \"{machine}\"" << jet + QStringList{"-m", "2"}
        << QStringList{"-o=-m 2", "-m 2"};
    QTest::newRow("unknown stays")
        << "{x} {{file}} {dir" << jet << QStringList{"{x}", "{" + jet[0] + "}", "{dir"};
    QTest::newRow("emptied token goes")
        << "{name} \"{name}\" {file}" << QStringList{"f", "", ""} << QStringList{"f"};
    QTest::newRow("open quote") << "-a \"b [c" << jet << QStringList{"-a", "b [c"};
    QTest::newRow("open group") << "{file} [-x {dir}" << QStringList{"f", "", ""}
                                << QStringList{"f"};
    QTest::newRow("stray bracket") << "a] \\\"{name}" << jet << QStringList{"a]", "\"jet pac"};
}

void tst_ArgumentTemplate::expand()
{
    QFETCH(QString, argumentTemplate);
    QFETCH(QStringList, values);
    QFETCH(QStringList, expected);
    const TemplateValues filled{values.at(0), values.at(1), values.at(2), values.mid(3)};
    QCOMPARE(expandArguments(argumentTemplate, filled), expected);
}

// Blanks and quotes only: a machine's arguments hold no placeholders or groups.
void tst_ArgumentTemplate::split()
{
    QCOMPARE(splitArguments(" -r  \"a \\\"b\\\" [c]\" \"\" {x}"),
             (QStringList{"-r", "a \"b\" [c]", "", "{x}"}));
}

QTEST_GUILESS_MAIN(tst_ArgumentTemplate)
#include "tst_argument_template.moc"
