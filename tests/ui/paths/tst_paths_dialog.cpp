// The search-paths dialog and the locate-path dialog, driven through their widgets with
// scripted answers, over directories of this machine.
#include "RecordingDesktopOpener.h"
#include "ScriptedDialogs.h"
#include "TestSupport.h"

#include "core/DriveType.h"
#include "state/StateSettings.h"
#include "ui/common/DirectoryChooser.h"
#include "ui/paths/frmFindRomPath.h"
#include "ui/paths/frmPaths.h"

#include <QApplication>
#include <QComboBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

#include <cerrno>
#include <cstring>

using Answer = Dialogs::Answer;

namespace {

// A directory on a fixed disk to build test directories in; empty when there is none.
QString fixedDiskBase()
{
    for (const QString &candidate : {QDir::tempPath(), QDir::currentPath()}) {
        if (driveTypeOf(candidate) == DriveType::Fixed)
            return candidate;
    }
    return {};
}

// A writable directory on a tmpfs mount of this machine; empty when there is none.
QString ramDiskBase()
{
    for (const MountEntry &mount : currentMountTable()) {
        const QFileInfo info(mount.mountPoint);
        if (mount.type == u"tmpfs" && info.isDir() && info.isWritable() &&
            driveTypeOf(mount.mountPoint) == DriveType::RamDisk)
            return mount.mountPoint;
    }
    return {};
}

struct Fixture
{
    Fixture()
        : dir(fixedDiskBase() + QStringLiteral("/paths-XXXXXX"))
    {
    }

    QTemporaryDir dir;
    AppState state{ProgramDir::inDirectory(dir.path())};
    ScriptedDialogs dialogs;
    RecordingDesktopOpener opener;

    // A directory under the fixture's, ending with "/", holding `files`.
    QString makeDir(const QString &name, const QStringList &files = {}) const
    {
        const QString path = dir.path() + u'/' + name + u'/';
        QDir().mkpath(path);
        for (const QString &file : files)
            testsupport::touch(path + file);
        return path;
    }
};

QStringList column(const QTreeWidget *view, int role)
{
    QStringList out;
    for (int row = 0; row < view->topLevelItemCount(); ++row)
        out.append(view->topLevelItem(row)->data(0, role).toString());
    return out;
}

QStringList keys(const QTreeWidget *view)
{
    return column(view, frmPaths::kKeyRole);
}

QStringList iconKeys(const QTreeWidget *view)
{
    return column(view, frmPaths::kIconKeyRole);
}

QStringList texts(const QTreeWidget *view)
{
    return column(view, Qt::DisplayRole);
}

void click(QPushButton *button)
{
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

// Rows are laid out, and so can be clicked, once the dialog is on the screen.
void showDialog(QDialog &dialog)
{
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
}

void clickRow(QTreeWidget *view, int row)
{
    const QRect rect = view->visualItemRect(view->topLevelItem(row));
    QVERIFY(rect.isValid());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}

// The row of `path` in the chooser's tree once the model has read it.
QModelIndex treeIndex(const DirectoryChooser *chooser, const QString &path)
{
    const auto *model = qobject_cast<const QFileSystemModel *>(chooser->Dir1->model());
    return model ? model->index(QDir::cleanPath(path)) : QModelIndex();
}

} // namespace

class tst_PathsDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void captions();
    void emptyListsShowNothing();
    void rowsOfEveryKind();
    void ramDiskRows();
    void emptyEntryInTheMiddle();
    void buttonsFollowTab();
    void add_data();
    void add();
    void addThroughLocateDialog();
    void remove_data();
    void remove();
    void removeWithoutSelection();
    void removingOnlyDirectoryDropsSection();
    void gotoPath();
    void pathsKeyboard();

    void locateOkAndCancel_data();
    void locateOkAndCancel();
    void locateRoot();
    void locateMissingStart();
    void openedNotHighlighted();
    void startDirectoryInView();
    void driveError();
    void driveRemembersDirectory();
    void typedPath();
};

void tst_PathsDialog::initTestCase()
{
    if (fixedDiskBase().isEmpty())
        QSKIP("neither the temporary nor the current directory is on a fixed disk");
}

// Catches captions taken from the wrong language entries, and the list views, keys and
// header misnamed.
void tst_PathsDialog::captions()
{
    Fixture f;
    for (int i = 0; i < LanguageTable::kSize; ++i)
        f.state.language.texts[i] = QStringLiteral("caption %1").arg(i);
    frmPaths dialog(f.state, f.dialogs, f.opener, nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("caption 47"));
    QCOMPARE(dialog.SSTab1->count(), 3);
    QCOMPARE(dialog.SSTab1->tabText(0), QStringLiteral("caption 27"));
    QCOMPARE(dialog.SSTab1->tabText(1), QStringLiteral("caption 28"));
    QCOMPARE(dialog.SSTab1->tabText(2), QStringLiteral("caption 29"));
    QCOMPARE(dialog.SSTab1->widget(0), dialog.findChild<QTreeWidget *>("lstRoms"));
    QCOMPARE(dialog.SSTab1->widget(1), dialog.findChild<QTreeWidget *>("lstSS"));
    QCOMPARE(dialog.SSTab1->widget(2), dialog.findChild<QTreeWidget *>("lstMusic"));
    QCOMPARE(dialog.findChild<QPushButton *>("Command1")->text(), QStringLiteral("caption 22"));
    QCOMPARE(dialog.findChild<QPushButton *>("Command3")->text(), QStringLiteral("caption 23"));
    QCOMPARE(dialog.findChild<QPushButton *>("Command4")->text(), QStringLiteral("caption 30"));
    QCOMPARE(dialog.findChild<QPushButton *>("cmdOK")->text(), QStringLiteral("caption 6"));
    for (int tab = 0; tab < 3; ++tab) {
        QCOMPARE(dialog.listView(tab)->columnCount(), 1);
        QCOMPARE(dialog.listView(tab)->headerItem()->text(0), QStringLiteral("Path"));
    }

    frmFindRomPath locate(f.state.language, f.dialogs, f.dir.path(), nullptr);
    QCOMPARE(locate.windowTitle(), QStringLiteral("caption 46"));
    QCOMPARE(locate.findChild<QPushButton *>("cmdOK")->text(), QStringLiteral("caption 6"));
    QCOMPARE(locate.findChild<QPushButton *>("cmdCancel")->text(), QStringLiteral("caption 7"));
    QVERIFY(locate.findChild<QComboBox *>("Drive1"));
    QVERIFY(locate.findChild<QTreeView *>("Dir1"));
}

// Catches the blank first entry shown as a row, and Remove or Goto Path usable on no row.
void tst_PathsDialog::emptyListsShowNothing()
{
    Fixture f;
    frmPaths dialog(f.state, f.dialogs, f.opener, nullptr);
    for (int tab = 0; tab < 3; ++tab) {
        dialog.SSTab1->setCurrentIndex(tab);
        QCOMPARE(dialog.listView(tab)->topLevelItemCount(), 0);
        QVERIFY(!dialog.Command3->isEnabled());
        QVERIFY(!dialog.Command4->isEnabled());
        QVERIFY(dialog.Command1->isEnabled());
    }
    QCOMPARE(f.state.paths[PathKind::Rom].dirs(), QStringList{QString()});
}

// Catches the wrong key prefix or numbering, a stored text changed by showing it, subdirectories
// counted as files, and a missing or foreign directory given a live icon.
void tst_PathsDialog::rowsOfEveryKind()
{
    Fixture f;
    const QString withFiles = f.makeDir("roms", {"manic.tap"});
    const QString subdirsOnly = f.makeDir("nested");
    f.makeDir("nested/deeper", {"jsw.tap"});
    const QString dotOnly = f.makeDir("dotty", {".hidden"});
    const QString missing = f.dir.path() + QStringLiteral("/gone/");
    QString noSeparator = withFiles;
    noSeparator.chop(1);
    const QStringList roms{withFiles, subdirsOnly, dotOnly, missing, "C:\\Games\\"};
    f.state.paths[PathKind::Rom].setDirs(roms);
    f.state.paths[PathKind::Screenshot].setDirs({noSeparator, "C:\\Shots"});
    f.state.paths[PathKind::Music].setDirs({withFiles, withFiles, withFiles});
    frmPaths dialog(f.state, f.dialogs, f.opener, nullptr);

    QCOMPARE(keys(dialog.lstRoms), (QStringList{"rom0", "rom1", "rom2", "rom3", "rom4"}));
    QCOMPARE(texts(dialog.lstRoms), roms);
    QCOMPARE(iconKeys(dialog.lstRoms),
             (QStringList{"fixed", "fixedx", "fixedx", "fixedx", "notmapped"}));
    QCOMPARE(column(dialog.lstRoms, Qt::ToolTipRole),
             (QStringList{withFiles, subdirsOnly, dotOnly, "Directory not found",
                          "Directory not found"}));

    // Shown with a final separator of its own kind, stored as it was.
    QCOMPARE(keys(dialog.lstSS), (QStringList{"ss0", "ss1"}));
    QCOMPARE(texts(dialog.lstSS), (QStringList{withFiles, "C:\\Shots\\"}));
    QCOMPARE(iconKeys(dialog.lstSS), (QStringList{"fixed", "notmapped"}));
    QCOMPARE(f.state.paths[PathKind::Screenshot].dirs(), (QStringList{noSeparator, "C:\\Shots"}));

    QCOMPARE(keys(dialog.lstMusic), (QStringList{"ay0", "ay1", "ay2"}));
    QVERIFY(!dialog.lstRoms->topLevelItem(0)->icon(0).isNull());
}

// Catches a memory disk shown as a fixed one.
void tst_PathsDialog::ramDiskRows()
{
    const QString base = ramDiskBase();
    if (base.isEmpty())
        QSKIP("this machine has no writable tmpfs mount");
    QTemporaryDir ram(base + QStringLiteral("/paths-XXXXXX"));
    QVERIFY(ram.isValid());
    testsupport::touch(ram.filePath(QStringLiteral("full/a.tap")));
    QVERIFY(QDir().mkpath(ram.filePath(QStringLiteral("empty"))));
    Fixture f;
    f.state.paths[PathKind::Rom].setDirs(
        {ram.filePath(QStringLiteral("full/")), ram.filePath(QStringLiteral("empty/"))});
    frmPaths dialog(f.state, f.dialogs, f.opener, nullptr);
    QCOMPARE(iconKeys(dialog.lstRoms), (QStringList{"ram", "ramx"}));
}

// Catches an empty entry after the first (a hand-edited file) shown as the root "/", or
// dropped so that the keys no longer match the list.
void tst_PathsDialog::emptyEntryInTheMiddle()
{
    Fixture f;
    const QString a = f.makeDir("a", {"x"});
    const QString b = f.makeDir("b", {"x"});
    f.state.paths[PathKind::Rom].setDirs({a, QString(), b});
    frmPaths dialog(f.state, f.dialogs, f.opener, nullptr);
    showDialog(dialog);
    QCOMPARE(keys(dialog.lstRoms), (QStringList{"rom0", "rom1", "rom2"}));
    QCOMPARE(texts(dialog.lstRoms), (QStringList{a, "(empty)", b}));
    QCOMPARE(iconKeys(dialog.lstRoms), (QStringList{"fixed", "unknown", "fixed"}));

    clickRow(dialog.lstRoms, 1);
    click(dialog.Command4);
    QCOMPARE(f.opener.opened, QStringList());
    f.dialogs.answers.enqueue(Answer::Yes);
    click(dialog.Command3);
    QCOMPARE(f.state.paths[PathKind::Rom].dirs(), (QStringList{a, b}));
}

// Catches the buttons left as the first tab set them when another tab is shown.
void tst_PathsDialog::buttonsFollowTab()
{
    Fixture f;
    f.state.paths[PathKind::Screenshot].setDirs({f.makeDir("shots")});
    frmPaths dialog(f.state, f.dialogs, f.opener, nullptr);
    QVERIFY(!dialog.Command3->isEnabled());
    dialog.SSTab1->setCurrentIndex(1);
    QVERIFY(dialog.Command3->isEnabled());
    QVERIFY(dialog.Command4->isEnabled());
    dialog.SSTab1->setCurrentIndex(2);
    QVERIFY(!dialog.Command3->isEnabled());
    QVERIFY(!dialog.Command4->isEnabled());
}

void tst_PathsDialog::add_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("located");
    QTest::addColumn<QStringList>("after");
    // Catches a duplicate added when only the letter case differs, an empty list appended to
    // instead of replaced, and a cancelled choice added.
    QTest::newRow("to empty list") << QStringList{QString()} << "/roms/" << QStringList{"/roms/"};
    QTest::newRow("appended") << QStringList{"/a/"} << "/roms/" << QStringList{"/a/", "/roms/"};
    QTest::newRow("differs in case")
        << QStringList{"/a/", "/Roms/"} << "/roms/" << QStringList{"/a/", "/Roms/"};
    QTest::newRow("cancelled") << QStringList{"/a/"} << "" << QStringList{"/a/"};
    QTest::newRow("after blank first")
        << QStringList{QString(), "/b/"} << "/roms/" << QStringList{"/roms/"};
}

void tst_PathsDialog::add()
{
    QFETCH(QStringList, before);
    QFETCH(QString, located);
    QFETCH(QStringList, after);
    Fixture f;
    f.state.paths[PathKind::Screenshot].setDirs(before);
    frmPaths dialog(f.state, f.dialogs, f.opener, nullptr);
    QList<QWidget *> owners;
    dialog.setLocator([&](QWidget *owner) {
        owners.append(owner);
        return located;
    });
    dialog.SSTab1->setCurrentIndex(1);
    click(dialog.Command1);

    QCOMPARE(owners, QList<QWidget *>{&dialog});
    QCOMPARE(dialog.LocatedPath, located);
    QCOMPARE(f.state.paths[PathKind::Screenshot].dirs(), after);
    QCOMPARE(texts(dialog.lstSS),
             f.state.paths[PathKind::Screenshot].IsListUsed() ? after : QStringList());
    QCOMPARE(f.state.paths[PathKind::Rom].dirs(), QStringList{QString()});
    QCOMPARE(f.dialogs.requests.size(), 0);
    QVERIFY(dialog.Command3->isEnabled());
}

// Catches Add not reaching the locate-path dialog, or the dialog not opened on the current
// directory.
void tst_PathsDialog::addThroughLocateDialog()
{
    Fixture f;
    const QString start = f.makeDir("start");
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(start));
    frmPaths dialog(f.state, f.dialogs, f.opener, nullptr);
    bool found = false;
    QTimer::singleShot(0, this, [&] {
        auto *locate = qobject_cast<frmFindRomPath *>(QApplication::activeModalWidget());
        found = locate != nullptr;
        if (locate)
            locate->cmdOK->click();
        else if (QApplication::activeModalWidget())
            QApplication::activeModalWidget()->close();
    });
    click(dialog.Command1);
    QDir::setCurrent(previous);
    QVERIFY(found);
    QCOMPARE(f.state.paths[PathKind::Rom].dirs(),
             QStringList{QFileInfo(start).canonicalFilePath() + u'/'});
}

void tst_PathsDialog::remove_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("row");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("keysAfter");
    // Catches the wrong element removed, keys not renumbered, a removal despite No, and the
    // list emptied to no element instead of one blank one.
    QTest::newRow("middle of three")
        << 3 << 1 << Answer::Yes << QStringList{"/d0/", "/d2/"} << QStringList{"rom0", "rom1"};
    QTest::newRow("last of three")
        << 3 << 2 << Answer::Yes << QStringList{"/d0/", "/d1/"} << QStringList{"rom0", "rom1"};
    QTest::newRow("first of two") << 2 << 0 << Answer::Yes << QStringList{"/d1/"}
                                  << QStringList{"rom0"};
    QTest::newRow("only one") << 1 << 0 << Answer::Yes << QStringList{QString()} << QStringList{};
    QTest::newRow("answered No") << 3 << 1 << Answer::No << QStringList{"/d0/", "/d1/", "/d2/"}
                                 << QStringList{"rom0", "rom1", "rom2"};
}

void tst_PathsDialog::remove()
{
    QFETCH(int, count);
    QFETCH(int, row);
    QFETCH(Answer, answer);
    QFETCH(QStringList, after);
    QFETCH(QStringList, keysAfter);
    Fixture f;
    QStringList dirs;
    for (int i = 0; i < count; ++i)
        dirs.append(QStringLiteral("/d%1/").arg(i));
    f.state.paths[PathKind::Rom].setDirs(dirs);
    frmPaths dialog(f.state, f.dialogs, f.opener, nullptr);
    showDialog(dialog);
    clickRow(dialog.lstRoms, row);
    f.dialogs.answers.enqueue(answer);
    click(dialog.Command3);

    QCOMPARE(f.dialogs.messages(), (QList<Message>{{"Are you sure?", "Remove path",
                                                    MessageIcon::None, MessageButtons::YesNo}}));
    QCOMPARE(f.state.paths[PathKind::Rom].dirs(), after);
    QCOMPARE(keys(dialog.lstRoms), keysAfter);
    QCOMPARE(dialog.Command3->isEnabled(), !keysAfter.isEmpty());
    QCOMPARE(dialog.Command4->isEnabled(), !keysAfter.isEmpty());
}

// Catches a question asked, or a row removed, with no row selected.
void tst_PathsDialog::removeWithoutSelection()
{
    Fixture f;
    f.state.paths[PathKind::Rom].setDirs({"/d0/", "/d1/"});
    frmPaths dialog(f.state, f.dialogs, f.opener, nullptr);
    click(dialog.Command3);
    click(dialog.Command4);
    QCOMPARE(f.dialogs.requests.size(), 0);
    QCOMPARE(f.state.paths[PathKind::Rom].dirs(), (QStringList{"/d0/", "/d1/"}));
    QCOMPARE(f.opener.opened, QStringList());
}

// Catches a blank list that still reaches the next kivo.ini.
void tst_PathsDialog::removingOnlyDirectoryDropsSection()
{
    Fixture f;
    f.state.paths[PathKind::Rom].setDirs({"/roms/"});
    f.state.paths[PathKind::Music].setDirs({"/music/"});
    QVERIFY(settingsFileBytes(settingsFromState(f.state)).contains("[RomPaths]"));
    frmPaths dialog(f.state, f.dialogs, f.opener, nullptr);
    showDialog(dialog);
    clickRow(dialog.lstRoms, 0);
    f.dialogs.answers.enqueue(Answer::Yes);
    click(dialog.Command3);

    QVERIFY(!f.state.paths[PathKind::Rom].IsListUsed());
    const QByteArray file = settingsFileBytes(settingsFromState(f.state));
    QVERIFY(!file.contains("[RomPaths]"));
    QVERIFY(file.contains("[MusicPaths]\r\nnum=1\r\npath00=/music/\r\n"));
}

// Catches Goto Path opening the wrong row, the stored text without its separator, or a
// directory that is not there.
void tst_PathsDialog::gotoPath()
{
    Fixture f;
    const QString a = f.makeDir("a", {"x"});
    QString bStored = f.makeDir("b");
    bStored.chop(1);
    f.state.paths[PathKind::Music].setDirs(
        {a, bStored, f.dir.path() + QStringLiteral("/gone/"), "C:\\Music\\"});
    frmPaths dialog(f.state, f.dialogs, f.opener, nullptr);
    showDialog(dialog);
    dialog.SSTab1->setCurrentIndex(2);
    for (int row = 0; row < 4; ++row) {
        clickRow(dialog.lstMusic, row);
        click(dialog.Command4);
    }
    QCOMPARE(f.opener.opened, (QStringList{a, bStored + u'/'}));
    QCOMPARE(f.dialogs.requests.size(), 0);
}

// Catches Enter not taken as OK or Escape not closing the dialog.
void tst_PathsDialog::pathsKeyboard()
{
    Fixture f;
    frmPaths dialog(f.state, f.dialogs, f.opener, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
}

void tst_PathsDialog::locateOkAndCancel_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("located");
    // Catches a cancelled choice that still gives a directory, and OK without the separator.
    QTest::newRow("OK") << "ok" << true;
    QTest::newRow("Enter") << "enter" << true;
    QTest::newRow("Cancel") << "cancel" << false;
    QTest::newRow("Escape") << "escape" << false;
}

void tst_PathsDialog::locateOkAndCancel()
{
    QFETCH(QString, action);
    QFETCH(bool, located);
    Fixture f;
    const QString start = f.makeDir("start");
    frmFindRomPath dialog(f.state.language, f.dialogs, start, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    if (action == u"ok")
        click(dialog.cmdOK);
    else if (action == u"cancel")
        click(dialog.cmdCancel);
    else if (action == u"enter")
        QTest::keyClick(dialog.Drive1, Qt::Key_Return);
    else
        QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.LocatedPath(), located ? start : QString());
    QCOMPARE(dialog.result(), int(located ? QDialog::Accepted : QDialog::Rejected));
}

// Catches the root given as "//" or as the empty text.
void tst_PathsDialog::locateRoot()
{
    Fixture f;
    frmFindRomPath dialog(f.state.language, f.dialogs, QStringLiteral("/"), nullptr);
    QCOMPARE(dialog.chooser->path(), QStringLiteral("/"));
    click(dialog.cmdOK);
    QCOMPARE(dialog.LocatedPath(), QStringLiteral("/"));
}

// Catches a chooser left on no directory when the start directory has gone.
void tst_PathsDialog::locateMissingStart()
{
    Fixture f;
    frmFindRomPath dialog(f.state.language, f.dialogs, f.dir.path() + QStringLiteral("/gone"),
                          nullptr);
    QCOMPARE(dialog.chooser->path(), QDir::toNativeSeparators(QDir::homePath()));
    QCOMPARE(f.dialogs.requests.size(), 0);
}

// Catches a highlighted directory taken for the opened one, and Enter in the tree closing the
// dialog instead of opening the directory.
void tst_PathsDialog::openedNotHighlighted()
{
    Fixture f;
    const QString base = f.makeDir("base");
    f.makeDir("base/one");
    f.makeDir("base/two");
    frmFindRomPath dialog(f.state.language, f.dialogs, base, nullptr);
    DirectoryChooser *chooser = dialog.chooser;
    chooser->setDrives({base});
    QSignalSpy changed(chooser, &DirectoryChooser::pathChanged);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(chooser->Drive1->currentText(), QDir::cleanPath(base));

    const QModelIndex one = treeIndex(chooser, base + QStringLiteral("one"));
    const QModelIndex two = treeIndex(chooser, base + QStringLiteral("two"));
    QTRY_VERIFY(chooser->Dir1->visualRect(one).isValid() &&
                chooser->Dir1->visualRect(two).isValid());
    chooser->Dir1->setCurrentIndex(one);
    QCOMPARE(chooser->path(), QDir::cleanPath(base));

    // A double-click is a click followed by a second press.
    QTest::mouseClick(chooser->Dir1->viewport(), Qt::LeftButton, {},
                      chooser->Dir1->visualRect(one).center());
    QTest::mouseDClick(chooser->Dir1->viewport(), Qt::LeftButton, {},
                       chooser->Dir1->visualRect(one).center());
    QCOMPARE(chooser->path(), base + QStringLiteral("one"));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.first().first().toString(), base + QStringLiteral("one"));

    chooser->Dir1->setFocus();
    chooser->Dir1->setCurrentIndex(two);
    QTest::keyClick(chooser->Dir1, Qt::Key_Return);
    QCOMPARE(chooser->path(), base + QStringLiteral("two"));
    QVERIFY(dialog.isVisible());
    QVERIFY(chooser->lblPath->toolTip() == chooser->path());

    click(dialog.cmdOK);
    QCOMPARE(dialog.LocatedPath(), base + QStringLiteral("two/"));
    QCOMPARE(f.dialogs.requests.size(), 0);
}

// Catches a typed or pasted path ignored, Enter in the path box closing the dialog, and a
// directory that is not there opened anyway.
void tst_PathsDialog::typedPath()
{
    Fixture f;
    const QString base = f.makeDir("base");
    f.makeDir("base/typed");
    frmFindRomPath dialog(f.state.language, f.dialogs, base, nullptr);
    DirectoryChooser *chooser = dialog.chooser;
    chooser->setDrives({base});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    chooser->txtPath->setText(base + QStringLiteral("nowhere"));
    QTest::keyClick(chooser->txtPath, Qt::Key_Return);
    QCOMPARE(chooser->path(), QDir::cleanPath(base));
    QCOMPARE(f.dialogs.messages().size(), 1);
    QCOMPARE(f.dialogs.messages().value(0).title, QStringLiteral("Drive Error"));
    chooser->txtPath->setText(QStringLiteral(" ") + base + QStringLiteral("typed/ "));
    QTest::keyClick(chooser->txtPath, Qt::Key_Return);
    QCOMPARE(chooser->path(), base + QStringLiteral("typed"));
    QVERIFY(dialog.isVisible());
    QCOMPARE(chooser->txtPath->text(), QString());
}

// Catches the tree left scrolled to the top of the drive, away from the start directory, once
// the rows above it have been read in.
void tst_PathsDialog::startDirectoryInView()
{
    Fixture f;
    const QString start = f.makeDir("deep/down/here");
    frmFindRomPath dialog(f.state.language, f.dialogs, start, nullptr);
    dialog.chooser->setDrives({QStringLiteral("/")});
    showDialog(dialog);
    const QModelIndex index = treeIndex(dialog.chooser, start);
    QVERIFY(index.isValid());
    QCOMPARE(dialog.Dir1->currentIndex(), index);
    QTRY_VERIFY(dialog.Dir1->viewport()->rect().contains(dialog.Dir1->visualRect(index)));
    // Stays in view after the model has finished reading and sorting.
    QTest::qWait(300);
    QVERIFY(dialog.Dir1->viewport()->rect().contains(dialog.Dir1->visualRect(index)));
}

// Catches a drive that cannot be read leaving the chooser on it, a made-up error text, and a
// chooser unusable afterwards.
void tst_PathsDialog::driveError()
{
    Fixture f;
    const QString start = f.makeDir("start");
    const QString other = f.makeDir("other");
    const QString vanished = f.makeDir("vanished");
    frmFindRomPath dialog(f.state.language, f.dialogs, start, nullptr);
    dialog.chooser->setDrives({start, vanished, other});
    QVERIFY(QDir(vanished).removeRecursively());

    dialog.Drive1->setCurrentIndex(1);
    QCOMPARE(f.dialogs.messages(),
             QList<Message>{Message::critical(QString::fromLocal8Bit(std::strerror(ENOENT)),
                                              QStringLiteral("Drive Error"))});
    QCOMPARE(dialog.Drive1->currentIndex(), 0);
    QCOMPARE(dialog.chooser->path(), QDir::cleanPath(start));

    dialog.Drive1->setCurrentIndex(2);
    QCOMPARE(f.dialogs.messages().size(), 1);
    QCOMPARE(dialog.chooser->path(), QDir::cleanPath(other));
    click(dialog.cmdOK);
    QCOMPARE(dialog.LocatedPath(), other);
}

// Catches a drive chosen again that forgets where the user was on it.
void tst_PathsDialog::driveRemembersDirectory()
{
    Fixture f;
    const QString first = f.makeDir("first");
    const QString inner = f.makeDir("first/inner");
    const QString second = f.makeDir("second");
    DirectoryChooser chooser(f.dialogs);
    chooser.setDrives({first, second});
    QVERIFY(chooser.start(inner));
    QCOMPARE(chooser.Drive1->currentIndex(), 0);
    chooser.Drive1->setCurrentIndex(1);
    QCOMPARE(chooser.path(), QDir::cleanPath(second));
    chooser.Drive1->setCurrentIndex(0);
    QCOMPARE(chooser.path(), QDir::cleanPath(inner));
    QVERIFY(!chooser.start(f.dir.path() + QStringLiteral("/elsewhere")));
    QCOMPARE(chooser.path(), QDir::cleanPath(inner));
}

QTEST_MAIN(tst_PathsDialog)
#include "tst_paths_dialog.moc"
