// Find and sort through the real main window: the filter box, "Missing files only", sorting by
// a header, type-to-find, and every command acting on the entries the user sees.
#include "TestSupport.h"
#include "WindowFixture.h"

#include "ui/list/GameListModel.h"
#include "ui/list/GameListView.h"

#include <QCheckBox>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace testsupport;
using Answer = Dialogs::Answer;

namespace {

RomRecord entry(const QString &name, const QString &publisher, qint32 year, const QString &file)
{
    RomRecord record;
    record.RomName = name;
    record.Publisher = publisher;
    record.Year = year;
    record.RomFile = file;
    return record;
}

// Six entries in catalogue order; two of their rom files are in roms/.
struct FindFixture : WindowFixture
{
    FindFixture()
    {
        QLocale::setDefault(QLocale::c());
        touch(path("roms/game10.tap"));
        touch(path("roms/CAFE.TZX"));
        writeFile(path("kivo.ini"), QStringLiteral("[kivo]\r\nview=1\r\n[RomPaths]\r\nnum=1\r\n"
                                                   "path00=%1/\r\n")
                                        .arg(path("roms"))
                                        .toUtf8());
        frmMain &w = open();
        for (const RomRecord &record :
             {entry("Game 10", "Ocean", 1986, "game10.tap"),
              entry("Game 2", "Imagine", 0, "g2.tap"),
              entry(QStringLiteral("Café Royale"), "Ocean", 1984, "cafe.tzx"),
              entry("Zebra", "Bug-Byte", 1983, "zebra.z80"), entry("Alpha", "", 1985, ""),
              entry("Game 1", "Ocean", 1986, "g1.sna")})
            state.database.Add(record);
        w.RefillGameList();
        w.resize(800, 600);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }
    frmMain &w() { return *window; }
    QStringList listed()
    {
        QStringList names;
        for (int row = 0; row < w().gameListModel()->rowCount(); ++row)
            names.append(w().gameListModel()->index(row, 0).data().toString());
        return names;
    }
    void click(int row)
    {
        const QRect rect = w().lstGames->visualRect(w().gameListModel()->index(row, 0));
        QTest::mouseClick(w().lstGames->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void selectRows(const QList<int> &rows)
    {
        w().lstGames->clearSelection();
        for (const int row : rows)
            w().lstGames->selectionModel()->select(w().gameListModel()->index(row, 0),
                                                   QItemSelectionModel::Select |
                                                       QItemSelectionModel::Rows);
    }
    void typeFilter(const QString &text) { w().txtFilter->setText(text); }
    QStringList catalogue()
    {
        QStringList names;
        for (const RomRecord &record : state.database.slots()) {
            if (record.isEntry())
                names.append(record.RomName);
        }
        return names;
    }
};

} // namespace

class tst_Find : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every word, anywhere in the entry, without regard to case or accents; the count says how
    // many of how many.
    void filterBox()
    {
        FindFixture f;
        f.typeFilter(QStringLiteral("OCEAN game"));
        QCOMPARE(f.listed(), (QStringList{"Game 10", "Game 1"}));
        QCOMPARE(f.w().lblEntries->text(), QStringLiteral("2 of 6 entries"));
        f.typeFilter(QStringLiteral("cafe"));
        QCOMPARE(f.listed(), QStringList{QStringLiteral("Café Royale")});
        f.typeFilter(QStringLiteral("1983"));
        QCOMPARE(f.listed(), QStringList{"Zebra"});
        f.typeFilter(QString());
        QCOMPARE(f.listed().size(), 6);
        QCOMPARE(f.w().lblEntries->text(), QStringLiteral("6 entries"));
    }

    // Removal under a filter removes exactly the rows shown and selected; "all games" only when
    // every listed row is selected.
    void removalUnderAFilter()
    {
        FindFixture f;
        f.typeFilter(QStringLiteral("ocean"));
        QCOMPARE(f.listed(), (QStringList{"Game 10", QStringLiteral("Café Royale"), "Game 1"}));
        f.click(0);
        f.selectRows({0, 2});
        f.dialogs.answers.enqueue(Answer::Yes);
        f.w().mnuRoms[2]->trigger();
        QCOMPARE(f.dialogs.messages().value(0).text,
                 QStringLiteral("Are you sure you want to remove 2 games?"));
        QCOMPARE(f.catalogue(),
                 (QStringList{"Game 2", QStringLiteral("Café Royale"), "Zebra", "Alpha"}));
        QCOMPARE(f.listed(), QStringList{QStringLiteral("Café Royale")});

        f.click(0);
        f.selectRows({0});
        f.dialogs.answers.enqueue(Answer::No);
        f.w().mnuRoms[2]->trigger();
        QCOMPARE(f.dialogs.messages().value(1).text,
                 QStringLiteral("Are you sure you want to remove 1 game?"));

        f.typeFilter(QStringLiteral("a"));
        f.click(0);
        f.selectRows({0, 1, 2, 3});
        f.dialogs.answers.enqueue(Answer::No);
        f.w().mnuRoms[2]->trigger();
        QCOMPARE(f.dialogs.messages().value(2).text,
                 QStringLiteral("Are you sure you want to remove all games?"));
        f.selectRows({0, 1});
        f.dialogs.answers.enqueue(Answer::No);
        f.w().mnuRoms[2]->trigger();
        QCOMPARE(f.dialogs.messages().value(3).text,
                 QStringLiteral("Are you sure you want to remove 2 games?"));
    }

    // A filter that hides the selected entry, or matches nothing, leaves nothing selected.
    void filterHidingTheSelection()
    {
        FindFixture f;
        f.click(3);
        QVERIFY(f.w().infoText().startsWith("Rom Name: Zebra"));
        QVERIFY(f.w().mnuRoms[4]->isEnabled());
        f.typeFilter(QStringLiteral("ocean"));
        QCOMPARE(f.state.database.SelectedIndex, -99);
        QCOMPARE(f.w().infoText(), QString());
        QVERIFY(!f.w().mnuRoms[2]->isEnabled());
        QVERIFY(!f.w().mnuRoms[4]->isEnabled());
        f.click(1);
        QVERIFY(f.w().infoText().startsWith(QStringLiteral("Rom Name: Café Royale")));
        f.typeFilter(QStringLiteral("nothing like this"));
        QCOMPARE(f.listed(), QStringList());
        QCOMPARE(f.state.database.SelectedIndex, -99);
        QCOMPARE(f.w().txtInfo->toPlainText(), QString());
        QVERIFY(!f.w().mnuRoms[4]->isEnabled());
        QCOMPARE(f.w().lblEntries->text(), QStringLiteral("0 of 6 entries"));
    }

    // A header click sorts, a second reverses, a third gives catalogue order back; the
    // selection stays on the same entry, and a click picks the entry it lands on.
    void sortByHeader()
    {
        FindFixture f;
        f.click(3); // Zebra
        QHeaderView *header = f.w().lstGames->header();
        header->sectionClicked(GameListModel::NameColumn);
        QCOMPARE(f.listed(), (QStringList{"Alpha", QStringLiteral("Café Royale"), "Game 1",
                                          "Game 2", "Game 10", "Zebra"}));
        QCOMPARE(f.w().lstGames->currentIndex().row(), 5);
        QCOMPARE(f.w().lstGames->selectionModel()->selectedRows().value(0).row(), 5);
        QCOMPARE(f.state.database.SelectedIndex, 3);
        header->sectionClicked(GameListModel::NameColumn);
        QCOMPARE(f.listed().first(), QStringLiteral("Zebra"));
        header->sectionClicked(GameListModel::NameColumn);
        QCOMPARE(f.listed(), f.catalogue());
        QVERIFY(!header->isSortIndicatorShown());

        header->sectionClicked(GameListModel::YearColumn);
        QCOMPARE(f.listed().last(), QStringLiteral("Game 2")); // no year last
        f.click(0);
        QCOMPARE(f.state.database.SelectedIndex, 3); // Zebra, 1983
        QVERIFY(f.w().infoText().startsWith("Rom Name: Zebra"));
        // Run starts the entry clicked, not the one in that catalogue row.
        f.state.emulators.entries = {{QStringLiteral("Emu"), KIVO_TOOL_argdump}};
        f.state.emulators.defaultIndex = 0;
        f.state.paths[PathKind::Rom].setDirs({f.path("roms") + '/'});
        touch(f.path("roms/zebra.z80"));
        f.w().lstGames_DblClick();
        QCOMPARE(f.starter.starts.value(0).arguments, QStringList{f.path("roms/zebra.z80")});

        // The sort is kept while the catalogue changes.
        touch(f.path("drop/Aardvark.tap"));
        f.w().lstGames_OLEDragDrop({f.path("drop/Aardvark.tap")});
        QCOMPARE(f.listed().size(), 7);
        QCOMPARE(f.listed().first(), QStringLiteral("Zebra"));
        QCOMPARE(f.listed().last(), QStringLiteral("Aardvark")); // no year, after Game 2
    }

    // "Missing files only", and the grey italics of such rows in every view; F5 looks at the
    // rom paths again.
    void missingFiles()
    {
        FindFixture f;
        const QModelIndex found = f.w().gameListModel()->index(0, 0);
        const QModelIndex missing = f.w().gameListModel()->index(1, 0);
        QVERIFY(!found.data(Qt::ForegroundRole).isValid());
        QCOMPARE(missing.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::gray));
        QVERIFY(missing.data(Qt::FontRole).value<QFont>().italic());
        QCOMPARE(missing.data().toString(), QStringLiteral("Game 2"));

        f.w().chkMissing->setChecked(true);
        QCOMPARE(f.listed(), (QStringList{"Game 2", "Zebra", "Alpha", "Game 1"}));
        QCOMPARE(f.w().lblEntries->text(), QStringLiteral("4 of 6 entries"));
        touch(f.path("roms/zebra.z80"));
        QCOMPARE(f.listed().size(), 4); // not seen until asked
        QTest::keyClick(&f.w(), Qt::Key_F5);
        QCOMPARE(f.listed(), (QStringList{"Game 2", "Alpha", "Game 1"}));
        f.typeFilter(QStringLiteral("game"));
        QCOMPARE(f.listed(), (QStringList{"Game 2", "Game 1"}));
        f.w().chkMissing->setChecked(false);
        QCOMPARE(f.listed(), (QStringList{"Game 10", "Game 2", "Game 1"}));
    }

    // A file dropped (or named by an edit) in a rom directory listed before it appeared is
    // not missing: the listing is brought up to date for it, without F5.
    void newFileInAListedDirectoryIsFound()
    {
        FindFixture f;
        f.w().chkMissing->setChecked(true);
        touch(f.path("roms/new.tzx"));
        f.w().lstGames_OLEDragDrop({f.path("roms/new.tzx")});
        QTRY_COMPARE(f.listed(), (QStringList{"Game 2", "Zebra", "Alpha", "Game 1"}));
        touch(f.path("roms/g2.tap"));
        f.w().entryChanged(1); // as Properties OK reports an edited entry

        QTRY_COMPARE(f.listed(), (QStringList{"Zebra", "Alpha", "Game 1"}));
    }

    // The keyboard: Ctrl+F to the box, Down into the list, Enter runs the first match, Escape
    // clears and goes back to the list; typing in the list jumps to a name.
    void keyboard()
    {
        FindFixture f;
        f.w().activateWindow();
        f.w().lstGames->setFocus();
        QTest::keySequence(&f.w(), QKeySequence::Find);
        QVERIFY(f.w().txtFilter->hasFocus());
        QTest::keyClicks(f.w().txtFilter, QStringLiteral("zeb"));
        QCOMPARE(f.listed(), QStringList{"Zebra"});
        QTest::keyClick(f.w().txtFilter, Qt::Key_Down);
        QVERIFY(f.w().lstGames->hasFocus());
        QCOMPARE(f.state.database.SelectedIndex, 3);

        f.state.emulators.entries = {{QStringLiteral("Emu"), KIVO_TOOL_argdump}};
        f.state.emulators.defaultIndex = 0;
        touch(f.path("roms/g1.sna"));
        f.w().txtFilter->setFocus();
        f.typeFilter(QStringLiteral("game 1"));
        QTest::keyClick(f.w().txtFilter, Qt::Key_Return);
        QCOMPARE(f.starter.starts.size(), 1); // Game 10 is the first match
        QCOMPARE(f.starter.starts.first().arguments, QStringList{f.path("roms/game10.tap")});

        QTest::keyClick(f.w().txtFilter, Qt::Key_Escape);
        QCOMPARE(f.w().txtFilter->text(), QString());
        QVERIFY(f.w().lstGames->hasFocus());
        QCOMPARE(f.listed().size(), 6);

        f.click(0);
        QTest::keyClicks(f.w().lstGames, QStringLiteral("ze"));
        QCOMPARE(f.w().lstGames->currentIndex().row(), 3);
        QCOMPARE(f.state.database.SelectedIndex, 3);
    }
};

QTEST_MAIN(tst_Find)
#include "tst_find.moc"
