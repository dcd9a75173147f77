// The properties dialog driven through its widgets: opening, OK and Cancel with their rules, the
// file buttons, the Images tab, drops, filling from the tape, and the keyboard. The main window is
// a recording stand-in; the dialogs are scripted.
#include "RecordingCatalogueView.h"
#include "ScriptedDialogs.h"
#include "TestSupport.h"

#include "../../tape/TapeImages.h"

#include "render/DisplayZX.h"
#include "render/NoScreenshot.h"
#include "render/PictureLoader.h"
#include "state/AppState.h"
#include "ui/list/GameListModel.h"
#include "ui/properties/DetailsTab.h"
#include "ui/properties/FilesTab.h"
#include "ui/properties/ImagesTab.h"
#include "ui/properties/NotesTab.h"
#include "ui/properties/frmProperties.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <limits>
#include <memory>

using namespace testsupport;
using Answer = Dialogs::Answer;
using Kind = ScriptedDialogs::Kind;

namespace {

struct Fixture
{
    QTemporaryDir dir;
    AppState state{ProgramDir::inDirectory(dir.path())};
    ScriptedDialogs dialogs;
    RecordingCatalogueView view;
    PictureLoader pictures;

    // A directory under the fixture's, ending with "/".
    QString makeDir(const QString &name) const
    {
        const QString path = dir.path() + u'/' + name + u'/';
        QDir().mkpath(path);
        return path;
    }
    // Adds `record` to the catalogue and selects it.
    void select(const RomRecord &record)
    {
        state.database.Add(record);
        state.database.SelectedIndex = state.database.EntryCount() - 1;
    }
    std::unique_ptr<frmProperties> open(bool adding)
    {
        auto dialog = std::make_unique<frmProperties>(state, dialogs, view, pictures, adding);
        dialog->show();
        return dialog;
    }
};

RomRecord named(const QString &name)
{
    RomRecord record;
    record.RomName = name;
    return record;
}

RomRecord fullRecord()
{
    RomRecord record;
    record.RomName = QStringLiteral("Manic Miner");
    record.RomType = 11;
    record.Screenshots = QStringLiteral("a.scr,b.gif,c.bmp");
    record.Year = 1983;
    record.Notes = QStringLiteral("Line one\r\nLine two");
    record.RomFile = QStringLiteral("MANIC.TZX");
    record.Publisher = QStringLiteral("Bug-Byte");
    record.Authors = QStringLiteral("Matthew Smith");
    record.AudioFile = QStringLiteral("manic.ay");
    return record;
}

// The caption with a few pixels to spare on each side; a mnemonic's "&" is not drawn.
bool textFits(const QPushButton *button)
{
    const QString drawn = QString(button->text()).remove(u'&');
    return button->fontMetrics().horizontalAdvance(drawn) + 8 <= button->width();
}

void click(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

QImage shown(const QLabel *picture)
{
    return picture->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage rgb32(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

void drop(QWidget *target, const QStringList &paths)
{
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &dropped);
    QVERIFY(dropped.isAccepted());
}

QByteArray screen(char fill)
{
    return QByteArray(kBitmapBytes, fill) + QByteArray(kAttributeBytes, '\x38');
}

void writePicture(const QString &path, Qt::GlobalColor colour, const char *format)
{
    QImage image(32, 24, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, format));
}

// An archive-info block and a program header, as a tape would carry them.
QByteArray archiveBlock(const QList<std::pair<int, QByteArray>> &texts)
{
    QByteArray rest(1, char(texts.size()));
    for (const auto &[type, text] : texts)
        rest += char(type) + QByteArray(1, char(text.size())) + text;
    return QByteArray(1, 0x32) + tapeimages::le(rest.size(), 2) + rest;
}

QByteArray catalogueTape()
{
    using namespace tapeimages;
    return tzx({archiveBlock({{0x00, "Jet Set Willy"},
                              {0x01, "Software Projects"},
                              {0x02, "Matthew Smith\rSteve Wetherill"},
                              {0x03, "1984"},
                              {0xFF, "Mansion\rof doom"}}),
                standard(header(0, "JSW       ", 10, 10)), standard(data("0123456789"))});
}

} // namespace

class TestFrmProperties : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Add loading screen writes the tape's own screen as a .scr into the working list: OK keeps
    // it in the entry, Cancel keeps nothing, not even the file.
    void addLoadingScreen_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void addLoadingScreen()
    {
        QFETCH(bool, ok);
        Fixture f;
        const QString roms = f.makeDir(QStringLiteral("roms"));
        const QString shots = f.makeDir(QStringLiteral("shots"));
        const QByteArray screen(6912, '\x55');
        writeFile(roms + QStringLiteral("Jet, Set.tap"),
                  tapeimages::tap(
                      {tapeimages::header(3, "screen", 6912, 16384), tapeimages::data(screen)}));
        f.state.paths[PathKind::Rom].setDirs({roms});
        f.state.paths[PathKind::Screenshot].setDirs({shots});
        RomRecord record = named(QStringLiteral("Jet Set"));
        record.RomFile = QStringLiteral("Jet, Set.tap");
        f.select(record);
        const auto dialog = f.open(false);
        QVERIFY(dialog->imagesTab->cmdAddLoadingScreen->isEnabled());
        click(dialog->imagesTab->cmdAddLoadingScreen);
        QCOMPARE(dialog->imagesTab->shotList(), QStringList{"Jet  Set.scr"});
        QCOMPARE(readFile(shots + QStringLiteral("Jet  Set.scr")), screen);
        if (ok)
            dialog->cmdOK_Click();
        else
            dialog->cmdCancel_Click();
        QCOMPARE(f.state.database.Get(0).Screenshots,
                 ok ? QStringLiteral("Jet  Set.scr") : QString());
        QCOMPARE(QFile::exists(shots + QStringLiteral("Jet  Set.scr")), ok);
        dialog->filesTab->txtRom->setText(QStringLiteral("none.tap"));
        QVERIFY(!dialog->imagesTab->cmdAddLoadingScreen->isEnabled());
    }

    void captionsAndTypes()
    {
        Fixture f;
        f.state.language.texts[0] = QStringLiteral("Titel");
        f.state.language.texts[7] = QStringLiteral("Abbre&chen");
        f.state.gameTypes.names[15] = QStringLiteral("Spielhalle");
        auto d = f.open(true);
        QCOMPARE(d->windowTitle(), QStringLiteral("Properties"));
        QStringList tabs;
        for (int i = 0; i < d->SSTab1->count(); ++i)
            tabs.append(d->SSTab1->tabText(i));
        QCOMPARE(tabs, (QStringList{"Rom Details", "Notes", "Images", "Files", "Run"}));
        QCOMPARE(d->detailsTab->Label1->text(), QStringLiteral("Titel"));
        const QStringList labels = {d->detailsTab->Label2->text(), d->detailsTab->Label3->text(),
                                    d->detailsTab->Label4->text(), d->detailsTab->Label5->text(),
                                    d->filesTab->Label6->text(),   d->filesTab->Label7->text()};
        QCOMPARE(labels, (QStringList{"Rom Types", "Year", "Publisher", "Author(s)", "Rom File",
                                      "Audio File"}));
        QStringList buttons;
        for (QPushButton *button : d->imagesTab->cmdAction)
            buttons.append(button->text());
        buttons << d->filesTab->cmdRunTaper->text() << d->cmdOK->text() << d->cmdCancel->text()
                << d->filesTab->cmdLocate->text() << d->filesTab->cmdFindMusic->text()
                << d->filesTab->cmdFillFromTape->text();
        // Built-in captions get a mnemonic no other button uses; a language file's stay as written.
        QCOMPARE(buttons, (QStringList{"<", ">", "&Add", "&Remove", "C&lear", "&View Rom Blocks",
                                       "&OK", "Abbre&chen", "...", "...", "&Fill from tape"}));
        // All 130 types in index order, a new entry at type 15.
        QCOMPARE(d->detailsTab->lstType->count(), 130);
        QCOMPARE(d->detailsTab->lstType->item(0)->text(), QStringLiteral("Arcade - Beat'em Up"));
        QCOMPARE(d->detailsTab->lstType->item(129)->text(),
                 QStringLiteral("Shoot'em Up - [uncategorized]"));
        QCOMPARE(d->detailsTab->lstType->currentRow(), 15);
        QCOMPARE(d->detailsTab->lstType->currentItem()->text(), QStringLiteral("Spielhalle"));
        QVERIFY(d->detailsTab->txtGameName->text().isEmpty());
        QVERIFY(d->detailsTab->txtYear->text().isEmpty());
        QVERIFY(d->imagesTab->lblScrShots->text().isEmpty());
        QCOMPARE(shown(d->imagesTab->picScrShot), rgb32(drawPicNoSS()));
        QCOMPARE(d->SSTab1->currentIndex(), 0);
    }

    void editingShowsTheSelectedEntry()
    {
        Fixture f;
        f.state.database.Add(named(QStringLiteral("Other")));
        f.select(fullRecord());
        auto d = f.open(false);
        QVERIFY(!d->boolAdding);
        QCOMPARE(d->detailsTab->txtGameName->text(), QStringLiteral("Manic Miner"));
        QCOMPARE(d->detailsTab->txtYear->text(), QStringLiteral("1983"));
        QCOMPARE(d->detailsTab->txtPublisher->text(), QStringLiteral("Bug-Byte"));
        QCOMPARE(d->detailsTab->txtAuthors->text(), QStringLiteral("Matthew Smith"));
        QCOMPARE(d->notesTab->txtNotes->toPlainText(), QStringLiteral("Line one\nLine two"));
        QCOMPARE(d->filesTab->txtRom->text(), QStringLiteral("MANIC.TZX"));
        QCOMPARE(d->filesTab->txtMusicFile->text(), QStringLiteral("manic.ay"));
        QCOMPARE(d->detailsTab->lstType->currentRow(), 11);
        QCOMPARE(d->imagesTab->shotList(), (QStringList{"a.scr", "b.gif", "c.bmp"}));
        QCOMPARE(d->imagesTab->lblScrShots->text(), QStringLiteral("1 of 3"));
    }

    // Opening and OK without a change must give back the very record: line ends in the notes,
    // blanks and every field as they were.
    void unchangedEntryRoundTrips()
    {
        Fixture f;
        RomRecord record = fullRecord();
        record.RomName = QStringLiteral("  Spaced  ");
        record.Notes = QStringLiteral("Unix line\nWindows line\r\nend");
        f.select(record);
        auto d = f.open(false);
        click(d->cmdOK);
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QCOMPARE(f.state.database.Get(0), record);
    }

    // OK's rules for the name and the year, on a new entry.
    void okStoresNameAndYear_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("year");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<int>("storedYear");
        QTest::addColumn<QString>("yearColumn");
        QTest::newRow("blank name refused") << "   "
                                            << "1984" << false << 0 << "";
        QTest::newRow("empty name refused") << ""
                                            << "" << false << 0 << "";
        QTest::newRow("leading blanks kept") << "  Manic"
                                             << "1984" << true << 1984 << "1984";
        QTest::newRow("trailing text after the year") << "A"
                                                      << "1984a" << true << 1984 << "1984";
        QTest::newRow("empty year") << "A"
                                    << "" << true << 0 << "";
        QTest::newRow("not a number") << "A"
                                      << "soon" << true << 0 << "";
        QTest::newRow("rounded down") << "A"
                                      << "1984.4" << true << 1984 << "1984";
        QTest::newRow("half to even") << "A"
                                      << "1985.5" << true << 1986 << "1986";
        // A year past what the field holds is kept at the largest it can store.
        QTest::newRow("absurd year")
            << "A"
            << "99999999999" << true << std::numeric_limits<qint32>::max() << "2147483647";
        QTest::newRow("absurd negative year")
            << "A"
            << "-99999999999" << true << std::numeric_limits<qint32>::min() << "-2147483648";
    }
    void okStoresNameAndYear()
    {
        QFETCH(QString, name);
        QFETCH(QString, year);
        QFETCH(bool, stored);
        QFETCH(int, storedYear);
        QFETCH(QString, yearColumn);
        Fixture f;
        auto d = f.open(true);
        d->detailsTab->txtGameName->setText(name);
        d->detailsTab->txtYear->setText(year);
        click(d->cmdOK);
        if (!stored) {
            QCOMPARE(describe(f.dialogs.messages().value(0)),
                     describe({"Unable to store rom without a name", "Kivo",
                               MessageIcon::Information, MessageButtons::Ok}));
            QVERIFY(d->isVisible());
            QCOMPARE(d->result(), int(QDialog::Rejected));
            QVERIFY(!f.state.database.HasEntries());
            QVERIFY(f.view.calls.isEmpty());
            return;
        }
        QVERIFY(f.dialogs.requests.isEmpty());
        QVERIFY(!d->isVisible());
        QCOMPARE(f.state.database.EntryCount(), 1);
        const RomRecord &record = f.state.database.Get(0);
        QCOMPARE(record.RomName, name);
        QCOMPARE(record.Year, storedYear);
        QCOMPARE(record.RomType, 15);
        const RomFileIndex romFiles;
        GameListModel model(f.state.database, romFiles);
        model.refill();
        QCOMPARE(model.data(model.index(0, GameListModel::YearColumn), Qt::DisplayRole).toString(),
                 yearColumn);
    }

    void addingAppendsAndRefills()
    {
        Fixture f;
        f.select(named(QStringLiteral("Selected")));
        auto d = f.open(true);
        d->detailsTab->txtGameName->setText(QStringLiteral("New"));
        d->detailsTab->lstType->setCurrentRow(94);
        d->detailsTab->txtPublisher->setText(QStringLiteral("P"));
        d->detailsTab->txtAuthors->setText(QStringLiteral("A, B"));
        d->notesTab->txtNotes->setPlainText(QStringLiteral("one\ntwo"));
        d->filesTab->txtRom->setText(QStringLiteral("new.tap"));
        d->filesTab->txtMusicFile->setText(QStringLiteral("new.ay"));
        click(d->cmdOK);
        QCOMPARE(f.view.calls, QStringList{"RefillGameList"});
        QCOMPARE(f.state.database.EntryCount(), 2);
        QCOMPARE(f.state.database.Get(0).RomName, QStringLiteral("Selected"));
        const RomRecord &added = f.state.database.Get(1);
        QCOMPARE(added.RomName, QStringLiteral("New"));
        QCOMPARE(added.RomType, 94);
        QCOMPARE(added.Publisher, QStringLiteral("P"));
        QCOMPARE(added.Authors, QStringLiteral("A, B"));
        QCOMPARE(added.Notes, QStringLiteral("one\r\ntwo"));
        QCOMPARE(added.RomFile, QStringLiteral("new.tap"));
        QCOMPARE(added.AudioFile, QStringLiteral("new.ay"));
        QCOMPARE(f.state.database.SelectedIndex, 0);
    }

    // Editing writes over the selected slot and asks for that row and the details to be drawn
    // again; a type outside the table stays as it was.
    void editingWritesBack()
    {
        Fixture f;
        f.state.database.Add(named(QStringLiteral("First")));
        RomRecord record = fullRecord();
        record.RomType = 200;
        f.select(record);
        auto d = f.open(false);
        QCOMPARE(d->detailsTab->lstType->currentRow(), -1);
        d->detailsTab->txtPublisher->setText(QStringLiteral("Software Projects"));
        d->filesTab->txtRom->setText(QStringLiteral("manic.z80"));
        click(d->cmdOK);
        QCOMPARE(f.view.calls, (QStringList{"entryChanged 1", "lstClick"}));
        QCOMPARE(f.state.database.EntryCount(), 2);
        const RomRecord &edited = f.state.database.Get(1);
        QCOMPARE(edited.Publisher, QStringLiteral("Software Projects"));
        QCOMPARE(edited.RomFile, QStringLiteral("manic.z80"));
        QCOMPARE(edited.RomType, 200);
        QCOMPARE(edited.Screenshots, record.Screenshots);
    }

    void cancelAndKeyboard_data()
    {
        QTest::addColumn<bool>("useEscape");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("Escape") << true;
    }
    void cancelAndKeyboard()
    {
        QFETCH(bool, useEscape);
        Fixture f;
        f.select(fullRecord());
        auto d = f.open(true);
        d->detailsTab->txtGameName->setText(QStringLiteral("Never stored"));
        if (useEscape)
            QTest::keyClick(d->detailsTab->txtGameName, Qt::Key_Escape);
        else
            click(d->cmdCancel);
        QCOMPARE(d->result(), int(QDialog::Rejected));
        QVERIFY(!d->isVisible());
        QVERIFY(!d->boolAdding);
        QCOMPARE(f.state.database.EntryCount(), 1);
        QVERIFY(f.view.calls.isEmpty());
    }

    void enterIsOk()
    {
        Fixture f;
        auto d = f.open(true);
        d->detailsTab->txtGameName->setText(QStringLiteral("By keyboard"));
        d->detailsTab->txtYear->setFocus();
        QTest::keyClick(d->detailsTab->txtYear, Qt::Key_Return);
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QCOMPARE(f.state.database.Get(0).RomName, QStringLiteral("By keyboard"));
    }

    // Tab walks the fields in the order the tabs show them, then OK and Cancel.
    void tabOrderFollowsTheFields()
    {
        Fixture f;
        auto d = f.open(true);
        const QList<QWidget *> expected = {d->detailsTab->txtGameName,
                                           d->detailsTab->lstType,
                                           d->detailsTab->txtYear,
                                           d->detailsTab->txtPublisher,
                                           d->detailsTab->txtAuthors,
                                           d->notesTab->txtNotes,
                                           d->imagesTab->cmdAction[0],
                                           d->imagesTab->cmdAction[1],
                                           d->imagesTab->cmdAction[2],
                                           d->imagesTab->cmdAction[3],
                                           d->imagesTab->cmdAction[4],
                                           d->filesTab->txtRom,
                                           d->filesTab->cmdLocate,
                                           d->filesTab->cmdRunTaper,
                                           d->filesTab->cmdFillFromTape,
                                           d->filesTab->txtMusicFile,
                                           d->filesTab->cmdFindMusic,
                                           d->cmdOK,
                                           d->cmdCancel};
        QList<QWidget *> chain;
        QWidget *w = d->detailsTab->txtGameName;
        do {
            if (expected.contains(w))
                chain.append(w);
            w = w->nextInFocusChain();
        } while (w != d->detailsTab->txtGameName && chain.size() <= expected.size());
        QCOMPARE(chain, expected);
    }

    // The tape buttons follow the rom file's extension, whatever its case and blanks around it.
    void romFileEnablesTheTapeViewer_data()
    {
        QTest::addColumn<QString>("romFile");
        QTest::addColumn<bool>("enabled");
        QTest::newRow(".TZX") << "GAME.TZX" << true;
        QTest::newRow(".tap") << "game.tap" << true;
        QTest::newRow("blanks around") << "  game.tzx  " << true;
        QTest::newRow(".z80") << "game.z80" << false;
        QTest::newRow("no dot") << "gametzx" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("tzx inside the name") << "game.tzx.zip" << false;
    }
    void romFileEnablesTheTapeViewer()
    {
        QFETCH(QString, romFile);
        QFETCH(bool, enabled);
        Fixture f;
        auto d = f.open(true);
        d->filesTab->txtRom->setText(QStringLiteral("other.tap"));
        d->filesTab->txtRom->setText(romFile);
        QCOMPARE(d->filesTab->cmdRunTaper->isEnabled(), enabled);
        QVERIFY(
            !d->filesTab->cmdFillFromTape->isEnabled()); // no rom paths: the file is never found
    }

    void viewRomBlocks()
    {
        Fixture f;
        auto d = f.open(true);
        d->filesTab->txtRom->setText(QStringLiteral("jsw.tzx"));
        click(d->filesTab->cmdRunTaper);
        QCOMPARE(describe(f.dialogs.messages().value(0)),
                 describe({"Unable to find rom. Please check the paths", "ROM not found",
                           MessageIcon::Information, MessageButtons::Ok}));

        QString romDir = f.makeDir(QStringLiteral("roms"));
        writeFile(romDir + QStringLiteral("JSW.TZX"), catalogueTape());
        f.state.paths.AddSearchPath(PathKind::Rom, romDir);
        QString opened;
        QWidget *owner = nullptr;
        int rows = -1;
        QTimer::singleShot(0, d.get(), [&] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                opened = modal->objectName();
                owner = modal->parentWidget();
                rows = int(f.state.tape.Blocks.size());
                modal->close();
            }
        });
        click(d->filesTab->cmdRunTaper);
        QCOMPARE(opened, QStringLiteral("frmTaper"));
        QCOMPARE(owner, d.get());
        QCOMPARE(rows, 3);
        QCOMPARE(f.dialogs.messages().size(), 1);
    }

    void locateRomFile()
    {
        Fixture f;
        QString romDir = f.makeDir(QStringLiteral("roms"));
        touch(romDir + QStringLiteral("manic.tzx"));
        f.state.paths.AddSearchPath(PathKind::Rom, romDir);
        f.select(fullRecord()); // RomFile MANIC.TZX, found as manic.tzx
        auto d = f.open(false);

        const QString otherDir = f.makeDir(QStringLiteral("more"));
        touch(otherDir + QStringLiteral("Jet Pac.TAP"));
        f.dialogs.files.enqueue(otherDir + QStringLiteral("Jet Pac.TAP"));
        click(d->filesTab->cmdLocate);
        const auto request = f.dialogs.requestsOf(Kind::OpenFile).value(0).file;
        QCOMPARE(request.title, QStringLiteral("Select File"));
        QCOMPARE(request.filter,
                 QStringLiteral("Z80 (*.Z80)|*.Z80|ZX Riff (*.ZX*)|*.ZX*|Snapshot (*.SNA,*.SZX)|"
                                "*.SNA,*.SZX|Tape Images (*.TAP,*.TZX)|*.TAP,*.TZX|Disk Images "
                                "(*.DSK,*.TRD,*.SCL)|*.DSK,*.TRD,*.SCL|Archives (*.ZIP,*.GZ)|"
                                "*.ZIP,*.GZ|All files (*.*)|*.*"));
        QCOMPARE(request.selectedFilter, 6); // all files
        QCOMPARE(request.proposedName, romDir + QStringLiteral("manic.tzx"));
        QCOMPARE(request.directory, romDir); // where it opens without a rom file found
        QCOMPARE(d->filesTab->txtRom->text(), QStringLiteral("Jet Pac.TAP"));
        QCOMPARE(f.state.paths[PathKind::Rom].dirs(), (QStringList{romDir, otherDir}));
        QVERIFY(d->filesTab->cmdRunTaper->isEnabled());
        QVERIFY(d->filesTab->cmdFillFromTape->isEnabled());

        f.dialogs.files.enqueue(QString()); // cancelled
        click(d->filesTab->cmdLocate);
        QCOMPARE(d->filesTab->txtRom->text(), QStringLiteral("Jet Pac.TAP"));
        QCOMPARE(f.state.paths[PathKind::Rom].dirs().size(), 2);
    }

    void locateMusicFile_data()
    {
        QTest::addColumn<bool>("listed");
        QTest::newRow("found in the music paths") << true;
        QTest::newRow("not found") << false;
    }
    void locateMusicFile()
    {
        QFETCH(bool, listed);
        Fixture f;
        QString musicDir = f.makeDir(QStringLiteral("music"));
        touch(musicDir + QStringLiteral("manic.ay"));
        if (listed)
            f.state.paths.AddSearchPath(PathKind::Music, musicDir);
        f.select(fullRecord());
        auto d = f.open(false);
        f.dialogs.files.enqueue(f.dir.path() + QStringLiteral("/tunes/theme.ay"));
        click(d->filesTab->cmdFindMusic);
        const auto request = f.dialogs.requestsOf(Kind::OpenFile).value(0).file;
        QCOMPARE(request.title, QStringLiteral("Select File"));
        QCOMPARE(request.filter, QStringLiteral("All files (*.*)|*.*"));
        QCOMPARE(request.proposedName,
                 listed ? musicDir + QStringLiteral("manic.ay") : QStringLiteral("manic.ay"));
        QCOMPARE(d->filesTab->txtMusicFile->text(), QStringLiteral("theme.ay"));
        QVERIFY(f.state.paths.HasSearchPath(PathKind::Music, f.dir.path() + "/tunes/"));
    }

    // The preview: a screen drawn by the renderer, a picture as it is, the placeholder for a file
    // that is missing or cannot be decoded, with a tool tip that says which.
    void previewShowsEachKind()
    {
        Fixture f;
        QString shots = f.makeDir(QStringLiteral("shots"));
        writeFile(shots + QStringLiteral("a.scr"), screen('\x55'));
        writePicture(shots + QStringLiteral("b.BMP"), Qt::red, "BMP");
        writeFile(shots + QStringLiteral("broken.gif"), QByteArrayLiteral("GIF89a not really"));
        f.state.paths.AddSearchPath(PathKind::Screenshot, shots);
        RomRecord record = fullRecord();
        record.Screenshots = QStringLiteral("a.scr,b.bmp,missing.gif,broken.gif");
        f.select(record);
        auto d = f.open(false);

        QCOMPARE(shown(d->imagesTab->picScrShot), rgb32(DisplayZX(screen('\x55'))));
        QCOMPARE(d->imagesTab->picScrShot->toolTip(), shots + QStringLiteral("a.scr"));
        click(d->imagesTab->cmdAction[1]);
        QCOMPARE(d->imagesTab->lblScrShots->text(), QStringLiteral("2 of 4"));
        QCOMPARE(d->imagesTab->picScrShot->toolTip(), shots + QStringLiteral("b.BMP"));
        QCOMPARE(shown(d->imagesTab->picScrShot).pixel(128, 96), QColor(Qt::red).rgb());
        click(d->imagesTab->cmdAction[1]);
        QCOMPARE(shown(d->imagesTab->picScrShot), rgb32(drawPicNoSS()));
        QCOMPARE(d->imagesTab->picScrShot->toolTip(),
                 QStringLiteral("Unable to locate file [missing.gif]"));
        click(d->imagesTab->cmdAction[1]);
        QCOMPARE(shown(d->imagesTab->picScrShot), rgb32(drawPicNoSS()));
        QVERIFY(
            d->imagesTab->picScrShot->toolTip().startsWith(shots + QStringLiteral("broken.gif")));
        QCOMPARE(d->imagesTab->shotList().size(), 4); // a missing file keeps its name
    }

    // Stepping: each arrow usable exactly while it can move.
    void stepping()
    {
        Fixture f;
        f.select(fullRecord());
        auto d = f.open(false);
        QPushButton *previous = d->imagesTab->cmdAction[0];
        QPushButton *next = d->imagesTab->cmdAction[1];
        QVERIFY(!previous->isEnabled());
        QVERIFY(next->isEnabled());
        click(next);
        QCOMPARE(d->imagesTab->lblScrShots->text(), QStringLiteral("2 of 3"));
        QVERIFY(previous->isEnabled());
        click(next);
        QCOMPARE(d->imagesTab->lblScrShots->text(), QStringLiteral("3 of 3"));
        QVERIFY(!next->isEnabled());
        click(next);
        QCOMPARE(d->imagesTab->currentShot(), 2);
        click(previous);
        click(previous);
        QCOMPARE(d->imagesTab->lblScrShots->text(), QStringLiteral("1 of 3"));
        QVERIFY(!previous->isEnabled());
    }

    void removeAndClear_data()
    {
        QTest::addColumn<QString>("screenshots");
        QTest::addColumn<int>("steps");  // clicks on ">" before acting
        QTest::addColumn<int>("action"); // 3 Remove, 4 Clear
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("label");
        QTest::newRow("the only one") << "a.gif" << 0 << 3 << Answer::Yes << ""
                                      << "";
        QTest::newRow("the last of three")
            << "a.gif,b.gif,c.gif" << 2 << 3 << Answer::Yes << "a.gif,b.gif"
            << "2 of 2";
        QTest::newRow("the first of three")
            << "a.gif,b.gif,c.gif" << 0 << 3 << Answer::Yes << "b.gif,c.gif"
            << "1 of 2";
        QTest::newRow("answered No") << "a.gif,b.gif" << 1 << 3 << Answer::No << "a.gif,b.gif"
                                     << "2 of 2";
        QTest::newRow("clear") << "a.gif,b.gif,c.gif" << 1 << 4 << Answer::Yes << ""
                               << "";
        QTest::newRow("clear answered No") << "a.gif,b.gif" << 0 << 4 << Answer::No << "a.gif,b.gif"
                                           << "1 of 2";
    }
    void removeAndClear()
    {
        QFETCH(QString, screenshots);
        QFETCH(int, steps);
        QFETCH(int, action);
        QFETCH(Answer, answer);
        QFETCH(QString, left);
        QFETCH(QString, label);
        Fixture f;
        RomRecord record = fullRecord();
        record.Screenshots = screenshots;
        f.select(record);
        auto d = f.open(false);
        for (int i = 0; i < steps; ++i)
            click(d->imagesTab->cmdAction[1]);
        f.dialogs.answers.enqueue(answer);
        click(d->imagesTab->cmdAction[action]);
        const QString question =
            action == 3 ? QStringLiteral("Remove this screenshot?") : "Remove all screenshots?";
        QCOMPARE(describe(f.dialogs.messages().value(0)),
                 describe({question, "Kivo", MessageIcon::None, MessageButtons::YesNo}));
        QCOMPARE(d->imagesTab->screenshots(), left);
        QCOMPARE(d->imagesTab->lblScrShots->text(), label);
        if (left.isEmpty()) {
            QCOMPARE(shown(d->imagesTab->picScrShot), rgb32(drawPicNoSS()));
            for (int i : {0, 1, 3, 4})
                QVERIFY2(!d->imagesTab->cmdAction[i]->isEnabled(), qPrintable(QString::number(i)));
        }
        QVERIFY(d->imagesTab->cmdAction[2]->isEnabled());
        // Nothing reaches the catalogue before OK.
        QCOMPARE(f.state.database.Get(0).Screenshots, screenshots);
        click(d->cmdOK);
        QCOMPARE(f.state.database.Get(0).Screenshots, left);
    }

    void addScreenshot()
    {
        Fixture f;
        QString shots = f.makeDir(QStringLiteral("Shots"));
        writePicture(shots + QStringLiteral("new.gif"), Qt::blue, "PNG");
        f.state.paths.AddSearchPath(PathKind::Screenshot, shots);
        f.select(fullRecord());
        auto d = f.open(false);
        f.dialogs.files.enqueue(shots + QStringLiteral("new.gif"));
        f.dialogs.files.enqueue(QString());
        click(d->imagesTab->cmdAction[2]);
        const auto request = f.dialogs.requestsOf(Kind::OpenFile).value(0).file;
        QCOMPARE(request.title, QStringLiteral("Locate image"));
        QCOMPARE(request.filter,
                 QStringLiteral("All pictures (*.scr,*.png,*.gif,*.jpg,*.jpeg,*.bmp)|*.scr,*.png,"
                                "*.gif,*.jpg,*.jpeg,*.bmp|Windows Bitmap (*.bmp)|*.bmp|Gif "
                                "(*.gif)|*.gif|Jpeg (*.jpg,*.jpeg)|*.jpg,*.jpeg|PNG (*.png)|*.png|"
                                "Speccy SCR file (*.scr)|*.scr"));
        QCOMPARE(request.selectedFilter, 0);
        QCOMPARE(request.proposedName, QString());
        QCOMPARE(request.directory, shots); // the first screenshot path
        QCOMPARE(d->imagesTab->lblScrShots->text(), QStringLiteral("4 of 4"));
        QCOMPARE(d->imagesTab->screenshots(), QStringLiteral("a.scr,b.gif,c.bmp,new.gif"));
        QVERIFY(!d->imagesTab->cmdAction[1]->isEnabled());
        QVERIFY(d->imagesTab->cmdAction[0]->isEnabled());
        QCOMPARE(f.state.paths[PathKind::Screenshot].dirs().size(), 1);
        click(d->imagesTab->cmdAction[2]); // cancelled: nothing changes
        QCOMPARE(d->imagesTab->shotList().size(), 4);

        // A directory in another letter case is not listed twice.
        Fixture g;
        QString lower = g.makeDir(QStringLiteral("pics"));
        g.state.paths.AddSearchPath(PathKind::Screenshot, lower);
        auto e = g.open(true);
        g.dialogs.files.enqueue(lower.toUpper() + QStringLiteral("X.BMP"));
        click(e->imagesTab->cmdAction[2]);
        QCOMPARE(e->imagesTab->lblScrShots->text(), QStringLiteral("1 of 1"));
        QCOMPARE(g.state.paths[PathKind::Screenshot].dirs().size(), 1);
    }

    // A new entry keeps the screenshots added on its Images tab.
    void newEntryKeepsItsScreenshots()
    {
        Fixture f;
        auto d = f.open(true);
        d->detailsTab->txtGameName->setText(QStringLiteral("Fresh"));
        f.dialogs.files.enqueue(f.dir.path() + QStringLiteral("/shots/one.scr"));
        f.dialogs.files.enqueue(f.dir.path() + QStringLiteral("/shots/two.gif"));
        click(d->imagesTab->cmdAction[2]);
        click(d->imagesTab->cmdAction[2]);
        click(d->cmdOK);
        QCOMPARE(f.state.database.Get(0).Screenshots, QStringLiteral("one.scr,two.gif"));
        QVERIFY(f.state.paths.HasSearchPath(PathKind::Screenshot, f.dir.path() + "/shots/"));
    }

    // Dropped files join the dialog's list like added ones: they reach the catalogue with OK and
    // vanish with Cancel.
    void droppedFilesJoinTheWorkingList_data()
    {
        QTest::addColumn<bool>("adding");
        QTest::addColumn<bool>("ok");
        QTest::newRow("edit, OK") << false << true;
        QTest::newRow("edit, Cancel") << false << false;
        QTest::newRow("new entry, OK") << true << true;
    }
    void droppedFilesJoinTheWorkingList()
    {
        QFETCH(bool, adding);
        QFETCH(bool, ok);
        Fixture f;
        const QString shots = f.makeDir(QStringLiteral("drop"));
        writePicture(shots + QStringLiteral("Title.JPG"), Qt::green, "JPG");
        writePicture(shots + QStringLiteral("map.png"), Qt::green, "PNG");
        touch(shots + QStringLiteral("readme.txt"));
        touch(shots + QStringLiteral("screen.scr"));
        RomRecord record = fullRecord();
        record.Screenshots = QStringLiteral("a.scr");
        f.select(record);
        auto d = f.open(adding);
        d->detailsTab->txtGameName->setText(QStringLiteral("Dropped on"));
        drop(d->imagesTab->picScrShot,
             {shots + QStringLiteral("Title.JPG"), shots + QStringLiteral("readme.txt"),
              shots + QStringLiteral("screen.scr"), shots + QStringLiteral("map.png"), shots});
        const QString expected = adding ? QStringLiteral("Title.JPG,screen.scr,map.png")
                                        : "a.scr,Title.JPG,screen.scr,map.png";
        QCOMPARE(d->imagesTab->screenshots(), expected);
        QCOMPARE(d->SSTab1->currentIndex(), 2);
        QCOMPARE(d->imagesTab->currentShot(), int(d->imagesTab->shotList().size()) - 1);
        QVERIFY(f.state.paths.HasSearchPath(PathKind::Screenshot, shots));
        QCOMPARE(f.state.database.Get(0).Screenshots, QStringLiteral("a.scr"));
        click(ok ? d->cmdOK : d->cmdCancel);
        const RomDatabase &database = f.state.database;
        QCOMPARE(database.Get(database.EntryCount() - 1).Screenshots,
                 ok ? expected : QStringLiteral("a.scr"));
        QCOMPARE(database.EntryCount(), adding && ok ? 2 : 1);
    }

    // A drag holding no picture shows the refusing pointer; one holding a picture is taken.
    void dragOfNoPictureIsRefused_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("taken");
        QTest::newRow("text file only") << QStringList{"readme.txt"} << false;
        QTest::newRow("a PNG among others") << QStringList{"readme.txt", "map.PNG"} << true;
    }
    void dragOfNoPictureIsRefused()
    {
        QFETCH(QStringList, names);
        QFETCH(bool, taken);
        Fixture f;
        auto d = f.open(true);
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString &name : std::as_const(names))
            urls.append(QUrl::fromLocalFile(f.dir.filePath(name)));
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(d.get(), &enter);
        QCOMPARE(enter.isAccepted(), taken);
        QDragMoveEvent move(QPoint(6, 6), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(d.get(), &move);
        QCOMPARE(move.isAccepted(), taken);
    }

    // The field separates names with commas: a name holding one is refused, by Add and by drop.
    void commaInShotNameIsRefused()
    {
        Fixture f;
        const QString shots = f.makeDir(QStringLiteral("tosec"));
        const QString comma = QStringLiteral("Great Escape, The (1986)(Ocean).scr");
        touch(shots + comma);
        touch(shots + QStringLiteral("plain.scr"));
        auto d = f.open(true);
        f.dialogs.files.enqueue(shots + comma);
        click(d->imagesTab->cmdAction[2]);
        drop(d->imagesTab->picScrShot, {shots + comma, shots + QStringLiteral("plain.scr")});
        const Message refused{"A screenshot's file name cannot hold a comma: [" + comma + "]",
                              "Can't Add Screenshot", MessageIcon::Critical, MessageButtons::Ok};
        QCOMPARE(f.dialogs.messages().size(), 2);
        QCOMPARE(describe(f.dialogs.messages().value(0)), describe(refused));
        QCOMPARE(describe(f.dialogs.messages().value(1)), describe(refused));
        QCOMPARE(d->imagesTab->screenshots(), QStringLiteral("plain.scr"));
    }

    // Characters Windows-1252 lacks would come back from the file as "?": OK asks first, Yes
    // stores, No goes back to the dialog with nothing stored.
    void unkeptCharactersAreAskedAbout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("publisher");
        QTest::addColumn<QString>("listed"); // in the question; empty: no question
        QTest::addColumn<Answer>("answer");
        QTest::newRow("code page only") << "Café"
                                        << "€uro Šoft"
                                        << "" << Answer::Yes;
        QTest::newRow("Yes stores") << "Łódź"
                                    << "Ёжик 東京 😀"
                                    << "Ł ź Ё ж и к 東 京 😀" << Answer::Yes;
        QTest::newRow("No stores nothing") << "Łódź"
                                           << ""
                                           << "Ł ź" << Answer::No;
        QTest::newRow("first ten of more") << "абвгдежзийкл"
                                           << "а"
                                           << "а б в г д е ж з и й …" << Answer::Yes;
    }
    void unkeptCharactersAreAskedAbout()
    {
        QFETCH(QString, name);
        QFETCH(QString, publisher);
        QFETCH(QString, listed);
        QFETCH(Answer, answer);
        Fixture f;
        auto d = f.open(true);
        d->detailsTab->txtGameName->setText(name);
        d->detailsTab->txtPublisher->setText(publisher);
        f.dialogs.answers.enqueue(answer);
        click(d->cmdOK);
        QList<QString> asked;
        for (const Message &message : f.dialogs.messages())
            asked.append(describe(message));
        const Message question{"These characters cannot be kept in the catalogue file and would "
                               "be saved as \"?\": " +
                                   listed,
                               "Kivo", MessageIcon::Exclamation, MessageButtons::YesNo};
        QCOMPARE(asked, listed.isEmpty() ? QList<QString>() : QList{describe(question)});
        const bool stored = answer == Answer::Yes;
        QCOMPARE(f.state.database.EntryCount(), stored ? 1 : 0);
        QCOMPARE(d->isVisible(), !stored);
        if (stored)
            QCOMPARE(f.state.database.Get(0).Publisher, publisher);
    }

    // A refused tape image is reported and no empty viewer follows.
    void invalidTapeOpensNoViewer()
    {
        Fixture f;
        QString romDir = f.makeDir(QStringLiteral("roms"));
        writeFile(romDir + QStringLiteral("notes.tzx"), QByteArrayLiteral("just some text"));
        f.state.paths.AddSearchPath(PathKind::Rom, romDir);
        auto d = f.open(true);
        d->filesTab->txtRom->setText(QStringLiteral("notes.tzx"));
        QString opened;
        QTimer::singleShot(0, d.get(), [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (modal != nullptr && modal != d.get()) {
                opened = modal->objectName();
                modal->close();
            }
        });
        click(d->filesTab->cmdRunTaper);
        QCOMPARE(describe(f.dialogs.messages().value(0)),
                 describe({"Invalid TZX Image", "Kivo", MessageIcon::None, MessageButtons::Ok}));
        QCOMPARE(opened, QString());
    }

    // A dropped entry is named after its file; filling from its tape replaces that name, and
    // only that name.
    void fillFromTapeRenamesADroppedEntry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("filled");
        QTest::newRow("named by the drop") << "jsw"
                                           << "Jet Set Willy";
        QTest::newRow("named by the user") << "Willy"
                                           << "Willy";
    }
    void fillFromTapeRenamesADroppedEntry()
    {
        QFETCH(QString, name);
        QFETCH(QString, filled);
        Fixture f;
        QString romDir = f.makeDir(QStringLiteral("roms"));
        writeFile(romDir + QStringLiteral("jsw.tzx"), catalogueTape());
        f.state.paths.AddSearchPath(PathKind::Rom, romDir);
        RomRecord record = named(name);
        record.RomFile = QStringLiteral("jsw.tzx");
        f.select(record);
        auto d = f.open(false);
        click(d->filesTab->cmdFillFromTape);
        QCOMPARE(d->detailsTab->txtGameName->text(), filled);
    }

    // Fill from the tape: only empty boxes are filled, and the label says which.
    void fillFromTapeFillsOnlyEmptyBoxes()
    {
        Fixture f;
        QString romDir = f.makeDir(QStringLiteral("roms"));
        writeFile(romDir + QStringLiteral("jsw.tzx"), catalogueTape());
        f.state.paths.AddSearchPath(PathKind::Rom, romDir);
        auto d = f.open(true);
        d->detailsTab->txtPublisher->setText(QStringLiteral("Mine"));
        d->filesTab->txtRom->setText(QStringLiteral("JSW.TZX"));
        QVERIFY(d->filesTab->cmdFillFromTape->isEnabled());
        click(d->filesTab->cmdFillFromTape);
        QCOMPARE(d->detailsTab->txtGameName->text(), QStringLiteral("Jet Set Willy"));
        QCOMPARE(d->detailsTab->txtPublisher->text(), QStringLiteral("Mine"));
        QCOMPARE(d->detailsTab->txtAuthors->text(),
                 QStringLiteral("Matthew Smith, Steve Wetherill"));
        QCOMPARE(d->detailsTab->txtYear->text(), QStringLiteral("1984"));
        QCOMPARE(d->notesTab->txtNotes->toPlainText(), QStringLiteral("Mansion\nof doom"));
        QCOMPARE(d->filesTab->lblFilled->text(),
                 QStringLiteral("Filled from the tape: Rom Name, Author(s), Year, Notes"));
        QVERIFY(f.dialogs.requests.isEmpty());

        // A second fill finds every box taken.
        click(d->filesTab->cmdFillFromTape);
        QCOMPARE(d->filesTab->lblFilled->text(),
                 QStringLiteral("Nothing filled: the tape has nothing for the empty boxes."));
        QVERIFY(f.state.database.EntryCount() == 0);
        click(d->cmdOK);
        const RomRecord &stored = f.state.database.Get(0);
        QCOMPARE(stored.Notes, QStringLiteral("Mansion\r\nof doom"));
        QCOMPARE(stored.Year, 1984);
        QCOMPARE(stored.Publisher, QStringLiteral("Mine"));
    }

    // An entry's year 0 shows as "0" and counts as no year; a typed year stays.
    void fillFromTapeYear_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("after");
        QTest::newRow("no year") << "0"
                                 << "1984";
        QTest::newRow("blank") << "  "
                               << "1984";
        QTest::newRow("typed") << "1986"
                               << "1986";
    }
    void fillFromTapeYear()
    {
        QFETCH(QString, year);
        QFETCH(QString, after);
        Fixture f;
        QString romDir = f.makeDir(QStringLiteral("roms"));
        writeFile(romDir + QStringLiteral("jsw.tzx"), catalogueTape());
        f.state.paths.AddSearchPath(PathKind::Rom, romDir);
        auto d = f.open(true);
        d->filesTab->txtRom->setText(QStringLiteral("jsw.tzx"));
        d->detailsTab->txtYear->setText(year);
        click(d->filesTab->cmdFillFromTape);
        QCOMPARE(d->detailsTab->txtYear->text(), after);
    }

    // A tape without archive info names the entry after its program header; a tape that is no
    // tape says so and fills nothing.
    void fillFromTapeHeaderAndFailures()
    {
        using namespace tapeimages;
        Fixture f;
        QString romDir = f.makeDir(QStringLiteral("roms"));
        writeFile(romDir + QStringLiteral("plain.tap"),
                  tap({header(3, "loader", 2, 0), data("ab"), header(0, "Skool Daze", 2, 10),
                       data("cd")}));
        writeFile(romDir + QStringLiteral("fake.tzx"), QByteArrayLiteral("not a tape"));
        f.state.paths.AddSearchPath(PathKind::Rom, romDir);
        auto d = f.open(true);
        d->filesTab->txtRom->setText(QStringLiteral("plain.tap"));
        click(d->filesTab->cmdFillFromTape);
        QCOMPARE(d->detailsTab->txtGameName->text(), QStringLiteral("Skool Daze"));
        QCOMPARE(d->filesTab->lblFilled->text(), QStringLiteral("Filled from the tape: Rom Name"));
        QVERIFY(d->detailsTab->txtAuthors->text().isEmpty());

        d->detailsTab->txtGameName->clear();
        d->filesTab->txtRom->setText(QStringLiteral("fake.tzx"));
        click(d->filesTab->cmdFillFromTape);
        QCOMPARE(describe(f.dialogs.messages().value(0)),
                 describe({"Invalid TZX Image", "Kivo", MessageIcon::None, MessageButtons::Ok}));
        QVERIFY(d->detailsTab->txtGameName->text().isEmpty());

        // A rom file the paths do not find, or one that is no tape, leaves the button disabled.
        d->filesTab->txtRom->setText(QStringLiteral("gone.tzx"));
        QVERIFY(d->filesTab->cmdRunTaper->isEnabled());
        QVERIFY(!d->filesTab->cmdFillFromTape->isEnabled());
        touch(romDir + QStringLiteral("game.z80"));
        d->filesTab->txtRom->setText(QStringLiteral("game.z80"));
        QVERIFY(!d->filesTab->cmdFillFromTape->isEnabled());
    }

    void fillFromCorpusTape()
    {
        const QString tape = corpusDir() + QStringLiteral("/zasm/Test/ZXSP/original/tzx.tzx");
        if (corpusDir().isEmpty() || !QFileInfo::exists(tape))
            QSKIP("corpus tape not present");
        Fixture f;
        QString romDir = QFileInfo(tape).absolutePath() + u'/';
        f.state.paths.AddSearchPath(PathKind::Rom, romDir);
        auto d = f.open(true);
        d->filesTab->txtRom->setText(QStringLiteral("tzx.tzx"));
        click(d->filesTab->cmdFillFromTape);
        QCOMPARE(d->detailsTab->txtGameName->text(), QStringLiteral("TZX test tape"));
        QCOMPARE(d->detailsTab->txtAuthors->text(), QStringLiteral("kio@little-bat.de"));
        QCOMPARE(d->detailsTab->txtYear->text(), QStringLiteral("2018"));
        QVERIFY(d->detailsTab->txtPublisher->text().isEmpty());
    }

    // Long captions from a language file: every caption whole at the dialog's least size.
    void longCaptionsAreNotClipped()
    {
        Fixture f;
        for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 16, 22, 23, 31, 32})
            f.state.language.texts[i] =
                QStringLiteral("Ausführliche Beschriftung ") + f.state.language.texts[i];
        auto d = f.open(true);
        d->resize(d->minimumSize());
        QTabBar *bar = d->SSTab1->tabBar();
        for (int tab = 0; tab < d->SSTab1->count(); ++tab) {
            d->SSTab1->setCurrentIndex(tab);
            QApplication::processEvents();
            QVERIFY(bar->rect().contains(bar->tabRect(tab)));
            QVERIFY(bar->width() <= d->SSTab1->width());
            for (QLabel *label : d->SSTab1->currentWidget()->findChildren<QLabel *>()) {
                if (!label->wordWrap() && !label->text().isEmpty())
                    QVERIFY2(label->width() >= label->sizeHint().width(),
                             qPrintable(label->objectName()));
            }
            for (QPushButton *button : d->SSTab1->currentWidget()->findChildren<QPushButton *>())
                QVERIFY2(textFits(button), qPrintable(button->objectName()));
        }
        for (QPushButton *button : {d->cmdOK, d->cmdCancel})
            QVERIFY(textFits(button));
        // The longest type name shows whole.
        d->SSTab1->setCurrentIndex(0);
        QApplication::processEvents();
        QVERIFY(d->detailsTab->lstType->viewport()->width() >=
                d->detailsTab->lstType->sizeHintForColumn(0));
    }
};

QTEST_MAIN(TestFrmProperties)
#include "tst_frmProperties.moc"
