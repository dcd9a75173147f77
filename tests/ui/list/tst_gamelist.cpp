// The game list: rows and slots, selection by mouse and keyboard, the details text, enable
// states, removal and files dropped on the list.
#include "TestSupport.h"
#include "WindowFixture.h"

#include "state/InfoText.h"
#include "ui/list/GameListModel.h"
#include "ui/list/GameListView.h"

#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSignalSpy>

using namespace testsupport;
using Answer = Dialogs::Answer;

namespace {

RomRecord entry(const QString &name, const QString &file = {}, const QString &audio = {})
{
    RomRecord record;
    record.RomName = name;
    record.RomFile = file;
    record.AudioFile = audio;
    return record;
}

QStringList entryNames(const RomDatabase &database)
{
    QStringList names;
    for (const RomRecord &record : database.slots()) {
        if (record.isEntry())
            names.append(record.RomName);
    }
    return names;
}

void clickRow(frmMain &w, int row, Qt::MouseButton button = Qt::LeftButton)
{
    const QRect rect = w.lstGames->visualRect(w.gameListModel()->index(row, 0));
    QVERIFY(rect.isValid());
    QTest::mouseClick(w.lstGames->viewport(), button, {}, rect.center());
}

void selectRows(frmMain &w, const QList<int> &rows)
{
    w.lstGames->clearSelection();
    for (int row : rows)
        w.lstGames->selectionModel()->select(w.gameListModel()->index(row, 0),
                                             QItemSelectionModel::Select |
                                                 QItemSelectionModel::Rows);
}

} // namespace

class TestGameList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void iconKeys_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("key");
        QTest::newRow("upper case") << "GAME.TZX"
                                    << "tzx";
        QTest::newRow("tap") << "x.tap"
                             << "tap";
        QTest::newRow("snapshot") << "x.Z80"
                                  << "z80";
        QTest::newRow("sna") << "x.sna"
                             << "sna";
        QTest::newRow("zip") << "game.zip"
                             << "blank";
        QTest::newRow("empty") << ""
                               << "blank";
        QTest::newRow("last dot counts") << "archive.tar.tap"
                                         << "tap";
        QTest::newRow("no dot") << "tap"
                                << "blank";
    }
    void iconKeys()
    {
        QFETCH(QString, file);
        QFETCH(QString, key);
        QCOMPARE(GameListModel::iconKey(file), key);
    }

    void infoTextByteForByte()
    {
        GameTypeTable types;
        types.names[15] = QStringLiteral("Arcade - [uncategorized]");
        RomRecord record = entry("Manic Miner", "manic.tap");
        record.Publisher = QStringLiteral("Bug-Byte");
        record.Authors = QStringLiteral("Matthew Smith");
        record.Notes = QStringLiteral("Line 1\r\nLine 2");
        record.RomType = 15;
        QCOMPARE(
            InfoText(record, types),
            QStringLiteral("Rom Name: Manic Miner\r\nPublisher: Bug-Byte\r\nYear: 0\r\n"
                           "Author(s): \r\nMatthew Smith\r\nRom Type: Arcade - [uncategorized]\r\n"
                           "Notes: \r\nLine 1\r\nLine 2\r\n"));
        record.RomType = 130;
        QVERIFY(InfoText(record, types).contains("\r\nRom Type: Unknown type 130\r\n"));
        record.RomType = -1;
        QVERIFY(InfoText(record, types).contains("\r\nRom Type: Unknown type -1\r\n"));
    }

    // Empty slots from a damaged file sit between entries: each row must still select its own.
    void rowsMapToTheirOwnSlots()
    {
        WindowFixture f;
        f.state.layout.ViewMode = 1;
        frmMain &w = f.open();
        f.state.layout.ViewMode = 1;
        f.state.database.replaceSlots(
            {entry("Alpha"), RomRecord{}, RomRecord{}, entry("Beta"), RomRecord{}, entry("Gamma")});
        w.RefillGameList();
        w.show();
        QCOMPARE(w.gameListModel()->rowCount(), 3);
        QCOMPARE(w.gameListModel()->index(2, 0).data().toString(), QStringLiteral("Gamma"));
        clickRow(w, 1);
        QCOMPARE(f.state.database.SelectedIndex, 3);
        QVERIFY(w.infoText().startsWith("Rom Name: Beta\r\n"));
        QCOMPARE(w.txtInfo->toPlainText().section('\n', 0, 0), QStringLiteral("Rom Name: Beta"));

        selectRows(w, {0, 2});
        f.dialogs.answers.enqueue(Answer::Yes);
        w.mnuRoms[2]->trigger();
        QCOMPARE(entryNames(f.state.database), QStringList{"Beta"});
        QCOMPARE(f.state.database.SelectedIndex, -99);
        QCOMPARE(w.infoText(), QString());
        clickRow(w, 0);
        QVERIFY(w.infoText().startsWith("Rom Name: Beta\r\n"));
    }

    void yearColumnAndInfoPaneViews()
    {
        WindowFixture f;
        frmMain &w = f.open();
        RomRecord noYear = entry("Zero");
        RomRecord withYear = entry("Dated");
        withYear.Year = 1985;
        f.state.database.Add(noYear);
        f.state.database.Add(withYear);
        w.RefillGameList();
        w.show();
        QCOMPARE(w.gameListModel()->index(0, 2).data().toString(), QString());
        QCOMPARE(w.gameListModel()->index(1, 2).data().toString(), QStringLiteral("1985"));
        f.state.layout.ViewMode = 0; // no information pane: the text stays empty
        clickRow(w, 0);
        QCOMPARE(f.state.database.SelectedIndex, 0);
        QCOMPARE(w.infoText(), QString());
        f.state.layout.ViewMode = 4;
        w.lstClick();
        QVERIFY(w.infoText().contains("\r\nYear: 0\r\n"));
    }

    void enableStatesFollowTheSelection()
    {
        WindowFixture f;
        frmMain &w = f.open();
        f.state.database.Add(entry("Silent", "a.tap"));
        f.state.database.Add(entry("Tuneful", "b.tap", "theme.mp3"));
        w.RefillGameList();
        w.show();
        QVERIFY(w.mnuFile[2]->isEnabled());
        QVERIFY(w.mnuFile[3]->isEnabled());
        QVERIFY(w.mnuMisc[1]->isEnabled());
        QVERIFY(!w.mnuRoms[2]->isEnabled());
        QVERIFY(!w.mnuRoms[4]->isEnabled());

        // A right click with nothing selected offers Add Rom only.
        w.lstGames_MouseUp(Qt::RightButton, QPoint(10, 10));
        QVERIFY(w.contextMenu->isVisible());
        QVERIFY(!w.mnuClick[2]->isEnabled());
        QVERIFY(!w.mnuClick[4]->isEnabled());
        QVERIFY(!w.mnuClick[8]->isEnabled());
        QVERIFY(w.mnuClick[0]->isEnabled());
        w.contextMenu->close();

        clickRow(w, 1, Qt::RightButton);
        QCOMPARE(f.state.database.SelectedIndex, 1);
        QVERIFY(w.mnuRoms[2]->isEnabled());
        QVERIFY(w.mnuRoms[4]->isEnabled());
        QVERIFY(w.mnuClick[2]->isEnabled());
        QVERIFY(w.mnuClick[4]->isEnabled());
        QVERIFY(w.mnuClick[8]->isEnabled());
        QVERIFY(w.mnuClick[6]->isEnabled()); // it has an audio file
        w.contextMenu->close();
        clickRow(w, 0);
        QVERIFY(!w.mnuClick[6]->isEnabled());
    }

    // The highlight moved with the keyboard is the selection everything acts on.
    void keyboardMovesTheSelection()
    {
        WindowFixture f;
        f.state.layout.ViewMode = 1;
        frmMain &w = f.open();
        f.state.layout.ViewMode = 1;
        for (const char *name : {"One", "Two", "Three"})
            f.state.database.Add(entry(QLatin1String(name), QStringLiteral("x.tap")));
        w.RefillGameList();
        w.show();
        clickRow(w, 0);
        QTest::keyClick(w.lstGames, Qt::Key_Down);
        QTest::keyClick(w.lstGames, Qt::Key_Down);
        QCOMPARE(f.state.database.SelectedIndex, 2);
        QVERIFY(w.infoText().startsWith("Rom Name: Three\r\n"));
        QVERIFY(w.mnuRoms[4]->isEnabled());

        // Delete removes the highlighted entry after the usual question.
        f.dialogs.answers.enqueue(Answer::Yes);
        QTest::keyClick(w.lstGames, Qt::Key_Delete);
        QCOMPARE(describe(f.dialogs.messages().value(0)),
                 describe({"Are you sure you want to remove 1 game?", "Game Removal",
                           MessageIcon::None, MessageButtons::YesNo}));
        QCOMPARE(entryNames(f.state.database), (QStringList{"One", "Two"}));
    }

    void enterRunsTheHighlightedEntry()
    {
        WindowFixture f;
        touch(f.path("roms/two.tap"));
        touch(f.path("emu/spectrum"));
        frmMain &w = f.open();
        f.state.emulators.entries = {{QStringLiteral("Spectrum"), f.path("emu/spectrum")}};
        f.state.emulators.defaultIndex = 0;
        QString roms = f.path("roms");
        f.state.paths.AddSearchPath(PathKind::Rom, roms);
        f.state.database.Add(entry("One", "one.tap"));
        f.state.database.Add(entry("Two", "two.tap"));
        w.RefillGameList();
        w.show();
        clickRow(w, 0);
        QTest::keyClick(w.lstGames, Qt::Key_Down);
        QTest::keyClick(w.lstGames, Qt::Key_Return);
        QCOMPARE(f.starter.starts.size(), 1);
        QCOMPARE(f.starter.starts.first().arguments, QStringList{f.path("roms/two.tap")});
    }

    void removalQuestions_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("one") << QList<int>{1} << Answer::Yes
                             << "Are you sure you want to remove 1 game?"
                             << QStringList{"A", "C", "D"};
        QTest::newRow("some") << QList<int>{0, 3} << Answer::Yes
                              << "Are you sure you want to remove 2 games?"
                              << QStringList{"B", "C"};
        QTest::newRow("all") << QList<int>{0, 1, 2, 3} << Answer::Yes
                             << "Are you sure you want to remove all games?" << QStringList{};
        QTest::newRow("answered no")
            << QList<int>{0, 1} << Answer::No << "Are you sure you want to remove 2 games?"
            << QStringList{"A", "B", "C", "D"};
    }
    void removalQuestions()
    {
        QFETCH(QList<int>, rows);
        QFETCH(Answer, answer);
        QFETCH(QString, text);
        QFETCH(QStringList, left);
        WindowFixture f;
        frmMain &w = f.open();
        for (const char *name : {"A", "B", "C", "D"})
            f.state.database.Add(entry(QLatin1String(name)));
        w.RefillGameList();
        w.show();
        clickRow(w, rows.first());
        selectRows(w, rows);
        f.dialogs.answers.enqueue(answer);
        QSignalSpy resets(w.gameListModel(), &QAbstractItemModel::modelReset);
        w.mnuClick[2]->trigger();
        QCOMPARE(resets.size(), 1);
        QCOMPARE(describe(f.dialogs.messages().value(0)),
                 describe({text, "Game Removal", MessageIcon::None, MessageButtons::YesNo}));
        QCOMPARE(entryNames(f.state.database), left);
        QCOMPARE(w.gameListModel()->rowCount(), left.size());
        if (answer == Answer::Yes)
            QCOMPARE(f.state.database.SelectedIndex, -99);
        else
            QCOMPARE(f.state.database.SelectedIndex, rows.first());
        QCOMPARE(f.state.database.slots().size(), left.size() + 1);
    }

    // The first matching rule gives the text: the only entry is "1 game", not "all games".
    void removingTheOnlyEntryAsksAboutOneGame()
    {
        WindowFixture f;
        frmMain &w = f.open();
        f.state.database.Add(entry(QStringLiteral("Only")));
        w.RefillGameList();
        w.show();
        clickRow(w, 0);
        f.dialogs.answers.enqueue(Answer::Yes);
        w.mnuRoms[2]->trigger();
        QCOMPARE(f.dialogs.messages().value(0).text,
                 QStringLiteral("Are you sure you want to remove 1 game?"));
        QVERIFY(!f.state.database.HasEntries());
        QCOMPARE(w.gameListModel()->rowCount(), 0);
    }

    void drops()
    {
        WindowFixture f;
        touch(f.path("Games.old/Manic.TAP"));
        touch(f.path(".local/share/Jet.Set.Willy.tzx"));
        touch(f.path("dir/a.sna"));
        touch(f.path("dir/b.Z80"));
        touch(f.path("dir/readme.txt"));
        touch(f.path("dir/.hidden.tap"));
        touch(f.path("notes.txt"));
        touch(f.path(".tap"));
        frmMain &w = f.open();
        w.show();
        w.lstGames_OLEDragDrop({f.path("Games.old/Manic.TAP"),
                                f.path(".local/share/Jet.Set.Willy.tzx"), f.path("notes.txt"),
                                f.path(".tap"), f.path("Games.old/Manic.TAP")});
        QVERIFY(f.dialogs.requests.isEmpty());
        QCOMPARE(entryNames(f.state.database), (QStringList{"Manic", "Jet.Set.Willy", "Manic"}));
        const RomRecord &manic = f.state.database.Get(0);
        QCOMPARE(manic.RomFile, QStringLiteral("Manic.TAP"));
        QCOMPARE(manic.RomType, 15);
        QCOMPARE(manic.Year, 0);
        QCOMPARE(f.state.paths[PathKind::Rom].dirs(),
                 (QStringList{f.path("Games.old/"), f.path(".local/share/")}));
        QCOMPARE(w.gameListModel()->rowCount(), 3);
        QCOMPARE(f.state.database.SelectedIndex, -99);

        // A directory: No adds nothing, Yes adds its tapes and snapshots.
        f.dialogs.answers.enqueue(Answer::No);
        w.lstGames_OLEDragDrop({f.path("dir")});
        QCOMPARE(f.state.database.EntryCount(), 3);
        f.dialogs.answers.enqueue(Answer::Yes);
        QSignalSpy resets(w.gameListModel(), &QAbstractItemModel::modelReset);
        w.lstGames_OLEDragDrop({f.path("dir")});
        QCOMPARE(resets.size(), 1); // bulk additions refill the list once
        QCOMPARE(describe(f.dialogs.messages().value(1)),
                 describe({"do you wish to add the contents of this directory?", "Kivo",
                           MessageIcon::None, MessageButtons::YesNo}));
        QStringList added = entryNames(f.state.database).mid(3);
        added.sort();
        QCOMPARE(added, (QStringList{"a", "b"}));
        QVERIFY(f.state.paths.HasSearchPath(PathKind::Rom, f.path("dir/")));
        QCOMPARE(f.state.paths[PathKind::Rom].dirs().size(), 3);
    }

    // Drops arrive from file managers as file URLs.
    void dropEventFromAFileManager()
    {
        WindowFixture f;
        touch(f.path("x/Skool Daze.tzx"));
        frmMain &w = f.open();
        w.show();
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(f.path("x/Skool Daze.tzx")),
                      QUrl(QStringLiteral("https://example.org/a.tap"))});
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(w.lstGames->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w.lstGames->viewport(), &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(entryNames(f.state.database), QStringList{"Skool Daze"});
    }
};

QTEST_MAIN(TestGameList)
#include "tst_gamelist.moc"
