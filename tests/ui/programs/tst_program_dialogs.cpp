// The emulator and music-player dialogs, driven through their buttons with scripted answers.
#include "WindowFixture.h"

#include "ui/programs/frmEmulators.h"
#include "ui/programs/frmMusicPlayers.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

using Answer = Dialogs::Answer;
using Kind = ScriptedDialogs::Kind;

namespace {

ProgramList makeList(const QStringList &names, qint32 defaultIndex)
{
    ProgramList list;
    for (const QString &name : names)
        list.entries.append({name, QStringLiteral("/progs/") + name});
    list.defaultIndex = defaultIndex;
    return list;
}

QStringList rowTexts(const QListWidget *list)
{
    QStringList out;
    for (int row = 0; row < list->count(); ++row)
        out.append(list->item(row)->text());
    return out;
}

void click(QPushButton *button)
{
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

void clickRow(QListWidget *list, int row)
{
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace

// Each test builds the main window, then one of the twins over its state.
class tst_ProgramDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void twins_data();
    void twins();
    void add_data();
    void add();
    void remove_data();
    void remove();
    void emulatorRowClickFollowsDefault();
    void musicSetDefaultWithoutRowClears();
    void closingEmulatorsRebuildsRunWith_data();
    void closingEmulatorsRebuildsRunWith();

private:
    // Opens the dialog of `music` over `f`'s state; the window must be open.
    static std::unique_ptr<ProgramListDialog> openDialog(WindowFixture &f, bool music)
    {
        if (music)
            return std::make_unique<frmMusicPlayers>(f.state, f.dialogs, f.window.get());
        return std::make_unique<frmEmulators>(f.state, f.dialogs, *f.window);
    }
    static ProgramList &listOf(WindowFixture &f, bool music)
    {
        return music ? f.state.musicPlayers : f.state.emulators;
    }
};

void tst_ProgramDialogs::twins_data()
{
    QTest::addColumn<bool>("music");
    QTest::addColumn<int>("titleCaption");
    QTest::addColumn<QString>("setDefaultName");
    QTest::addColumn<QString>("closeName");
    QTest::addColumn<bool>("buttonsEnabledAtOpen");
    QTest::newRow("emulators") << false << 26 << "cmdDefult"
                               << "Command1" << false;
    QTest::newRow("music players") << true << 21 << "Command1"
                                   << "cmdClose" << true;
}

// Catches captions taken from the wrong language entries, the twins' swapped button names, and
// Remove or Set default usable in the emulators dialog before a row is chosen.
void tst_ProgramDialogs::twins()
{
    QFETCH(bool, music);
    QFETCH(int, titleCaption);
    QFETCH(QString, setDefaultName);
    QFETCH(QString, closeName);
    QFETCH(bool, buttonsEnabledAtOpen);
    WindowFixture f;
    f.open();
    for (int i = 0; i < LanguageTable::kSize; ++i)
        f.state.language.texts[i] = QStringLiteral("caption %1").arg(i);
    listOf(f, music) = makeList({"a", "b"}, -99);
    const auto dialog = openDialog(f, music);

    QCOMPARE(dialog->windowTitle(), f.state.language.at(titleCaption));
    const auto button = [&](const QString &name) { return dialog->findChild<QPushButton *>(name); };
    QCOMPARE(button(QStringLiteral("cmdAdd"))->text(), f.state.language.at(22));
    QCOMPARE(button(QStringLiteral("cmdRemove"))->text(), f.state.language.at(23));
    QCOMPARE(button(setDefaultName)->text(), f.state.language.at(24));
    QCOMPARE(button(closeName)->text(), f.state.language.at(25));
    QCOMPARE(rowTexts(dialog->lstEmus), (QStringList{"a", "b"}));
    QCOMPARE(dialog->cmdRemove->isEnabled(), buttonsEnabledAtOpen);
    QCOMPARE(button(setDefaultName)->isEnabled(), buttonsEnabledAtOpen);
}

// Catches the wrong texts in the file and name prompts, a name prompt after a cancelled file
// dialog, and the twins' different handling of an empty name.
void tst_ProgramDialogs::add_data()
{
    QTest::addColumn<bool>("music");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("rows");
    const QStringList before{"a (default)"};
    QTest::newRow("emulator named") << false << "/emus/Zxemu.exe"
                                    << "Speccy" << QStringList{"a (default)", "Speccy"};
    QTest::newRow("emulator, empty name") << false << "/emus/Zxemu.exe"
                                          << "" << QStringList{"a (default)", "Zxemu"};
    QTest::newRow("emulator, no file") << false << ""
                                       << "unused" << before;
    QTest::newRow("player named") << true << "/usr/bin/mpv"
                                  << "Movie player" << QStringList{"a (default)", "Movie player"};
    QTest::newRow("player, empty name") << true << "/usr/bin/mpv"
                                        << "" << before;
    QTest::newRow("player, no file") << true << ""
                                     << "unused" << before;
}

void tst_ProgramDialogs::add()
{
    QFETCH(bool, music);
    QFETCH(QString, file);
    QFETCH(QString, answer);
    QFETCH(QStringList, rows);
    WindowFixture f;
    f.open();
    listOf(f, music) = makeList({"a"}, 0);
    const auto dialog = openDialog(f, music);
    f.dialogs.files.enqueue(file);
    f.dialogs.texts.enqueue(answer);
    click(dialog->cmdAdd);

    QCOMPARE(rowTexts(dialog->lstEmus), rows);
    const QList<ScriptedDialogs::Request> opened = f.dialogs.requestsOf(Kind::OpenFile);
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.first().file.title, music ? QStringLiteral("Select an Music Player")
                                              : QStringLiteral("Select an Emulator"));
    QCOMPARE(opened.first().file.filter, QStringLiteral("Programs (*)|*"));
    QCOMPARE(opened.first().file.proposedName, QString());
    const QList<ScriptedDialogs::Request> named = f.dialogs.requestsOf(Kind::InputBox);
    QCOMPARE(named.size(), file.isEmpty() ? 0 : 1);
    if (!file.isEmpty()) {
        const QString what = music ? QStringLiteral("Music player") : QStringLiteral("Emulator");
        QCOMPARE(named.first().prompt, QStringLiteral("Please enter the name for this ") + what);
        QCOMPARE(named.first().title, QStringLiteral("Name that ") + what);
        QCOMPARE(named.first().proposed, music ? QStringLiteral("mpv") : QStringLiteral("Zxemu"));
    }
}

// Catches a removal without asking, one despite No, the wrong title, and the default row not
// followed after a row above it goes.
void tst_ProgramDialogs::remove_data()
{
    QTest::addColumn<bool>("music");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QStringList>("rows");
    const QStringList kept{"a", "b", "c (default)"};
    const QStringList removed{"b", "c (default)"};
    QTest::newRow("emulator, yes") << false << Answer::Yes << removed;
    QTest::newRow("emulator, no") << false << Answer::No << kept;
    QTest::newRow("player, yes") << true << Answer::Yes << removed;
    QTest::newRow("player, no") << true << Answer::No << kept;
}

void tst_ProgramDialogs::remove()
{
    QFETCH(bool, music);
    QFETCH(Answer, answer);
    QFETCH(QStringList, rows);
    WindowFixture f;
    f.open();
    listOf(f, music) = makeList({"a", "b", "c"}, 2);
    const auto dialog = openDialog(f, music);
    clickRow(dialog->lstEmus, 0);
    f.dialogs.answers.enqueue(answer);
    click(dialog->cmdRemove);

    QCOMPARE(rowTexts(dialog->lstEmus), rows);
    QCOMPARE(f.dialogs.messages(), (QList<Message>{{QStringLiteral("Are you sure?"),
                                                    music ? QStringLiteral("Remove Music player")
                                                          : QStringLiteral("Remove emulator"),
                                                    MessageIcon::None, MessageButtons::YesNo}}));
    QCOMPARE(listOf(f, music).defaultIndex, answer == Answer::Yes ? 1 : 2);
}

// Catches Set default left usable on the default's row, and the row click not run when the
// dialog opens on the default.
void tst_ProgramDialogs::emulatorRowClickFollowsDefault()
{
    WindowFixture f;
    f.open();
    f.state.emulators = makeList({"a", "b", "c"}, 1);
    frmEmulators dialog(f.state, f.dialogs, *f.window);
    QCOMPARE(dialog.lstEmus->currentRow(), 1);
    QVERIFY(dialog.cmdRemove->isEnabled());
    QVERIFY(!dialog.cmdDefult->isEnabled());

    clickRow(dialog.lstEmus, 2);
    QVERIFY(dialog.cmdDefult->isEnabled());
    click(dialog.cmdDefult);
    QCOMPARE(f.state.emulators.defaultIndex, 2);
    QCOMPARE(rowTexts(dialog.lstEmus), (QStringList{"a", "b", "c (default)"}));
    QVERIFY(!dialog.cmdDefult->isEnabled());
    clickRow(dialog.lstEmus, 0);
    QVERIFY(dialog.cmdDefult->isEnabled());
}

// Catches a music-player default that survives Set default pressed with no row chosen.
void tst_ProgramDialogs::musicSetDefaultWithoutRowClears()
{
    WindowFixture f;
    f.open();
    f.state.musicPlayers = makeList({"a", "b"}, -99);
    frmMusicPlayers dialog(f.state, f.dialogs, f.window.get());
    clickRow(dialog.lstEmus, 1);
    click(dialog.Command1);
    QCOMPARE(f.state.musicPlayers.defaultIndex, 1);

    dialog.lstEmus->setCurrentRow(-1);
    click(dialog.Command1);
    QCOMPARE(f.state.musicPlayers.defaultIndex, -99);
    QCOMPARE(rowTexts(dialog.lstEmus), (QStringList{"a", "b"}));
    QVERIFY(dialog.cmdRemove->isEnabled());
    QVERIFY(dialog.Command1->isEnabled());
}

void tst_ProgramDialogs::closingEmulatorsRebuildsRunWith_data()
{
    QTest::addColumn<bool>("closeButton");
    QTest::newRow("Close button") << true;
    QTest::newRow("Escape") << false;
}

// Catches a Run With menu that still shows the emulators as they were before the dialog.
void tst_ProgramDialogs::closingEmulatorsRebuildsRunWith()
{
    QFETCH(bool, closeButton);
    WindowFixture f;
    frmMain &w = f.open();
    QCOMPARE(w.launcher().emuname()[0]->text(), QStringLiteral("<none>"));
    frmEmulators dialog(f.state, f.dialogs, w);
    f.dialogs.files.enqueue(QStringLiteral("/usr/bin/fuse-sdl"));
    f.dialogs.texts.enqueue(QString());
    click(dialog.cmdAdd);
    QCOMPARE(w.launcher().emuname()[0]->text(), QStringLiteral("<none>"));

    if (closeButton)
        click(dialog.Command1);
    else
        QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(w.launcher().emuname()[0]->text(), QStringLiteral("fuse-sdl"));
    QVERIFY(w.launcher().emuname()[0]->isEnabled());
}

QTEST_MAIN(tst_ProgramDialogs)
#include "tst_program_dialogs.moc"
