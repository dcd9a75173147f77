// The screenshot strip, the viewer, the picture menu and the view dialog through the real main
// window: which pictures show in each view, scrolling, drops, saving and the view options.
#include "../../tape/TapeImages.h"
#include "TestSupport.h"
#include "WindowFixture.h"

#include "render/DisplayZX.h"
#include "render/NoScreenshot.h"
#include "ui/list/GameListModel.h"
#include "ui/list/GameListProxy.h"
#include "ui/list/GameListView.h"
#include "ui/main/InfoPane.h"
#include "ui/properties/ImagesTab.h"
#include "ui/properties/frmProperties.h"
#include "ui/screens/ScreenshotStrip.h"
#include "ui/screens/ShotPicture.h"
#include "ui/screens/frmLayout.h"
#include "ui/screens/frmSSView.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>

using namespace testsupport;
using Answer = Dialogs::Answer;
using Kind = ScriptedDialogs::Kind;

namespace {

// A screen of vertical stripes with flashing cells in its top third.
QByteArray spectrumScreen()
{
    QByteArray screen(kScreenBytes, '\0');
    for (int i = 0; i < kBitmapBytes; ++i)
        screen[i] = char(0xF0);
    for (int i = 0; i < kAttributeBytes; ++i)
        screen[kBitmapBytes + i] = char(i < 256 ? 0x80 | 0x38 | 0x02 : 0x40 | 0x08 | 0x06);
    return screen;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage picture(const QColor &colour)
{
    QImage image(256, 192, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// One entry, "Shots", with five screenshots in shots/: a Spectrum screen, a picture under a
// .gif name, a JPEG, a BMP and one that is missing; and "Plain" without any.
struct ScreensFixture : WindowFixture
{
    explicit ScreensFixture(int view, int halfSize = 0)
    {
        touch(path("shots/load.scr"), spectrumScreen());
        touch(path("shots/title.gif"), encoded(picture(Qt::red), "PNG"));
        touch(path("shots/play.jpg"), encoded(picture(Qt::green), "JPG"));
        touch(path("shots/end.bmp"), encoded(picture(Qt::blue), "BMP"));
        writeFile(path("kivo.ini"), QStringLiteral("[kivo]\r\nview=%1\r\nSSSize=%2\r\n"
                                                   "[ScreenshotPaths]\r\nnum=1\r\npath00=%3/\r\n")
                                        .arg(view)
                                        .arg(halfSize)
                                        .arg(path("shots"))
                                        .toUtf8());
        frmMain &w = open();
        RomRecord shots;
        shots.RomName = QStringLiteral("Shots");
        shots.Screenshots = QStringLiteral("load.scr,title.gif,play.jpg,end.bmp,gone.gif");
        state.database.Add(shots);
        RomRecord plain;
        plain.RomName = QStringLiteral("Plain");
        state.database.Add(plain);
        w.RefillGameList();
        w.resize(900, 700);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }

    frmMain &w() { return *window; }
    ScreenshotStrip &strip() { return *window->picScrPane; }

    void select(int row)
    {
        const QRect rect = w().lstGames->visualRect(w().gameListModel()->index(row, 0));
        QTest::mouseClick(w().lstGames->viewport(), Qt::LeftButton, {}, rect.center());
    }
    // Makes the window's central area `height` pixels high and runs its resize handling.
    void setCentralHeight(int height)
    {
        w().resize(w().width(), w().height() - w().centralWidget()->height() + height);
        QCoreApplication::processEvents();
        w().panes().formResize();
    }
    QList<int> shownPictures()
    {
        QList<int> shown;
        for (int i = 0; i < strip().pictureCount(); ++i) {
            if (strip().imgScrShots.at(i)->isVisibleTo(&strip()))
                shown.append(i);
        }
        return shown;
    }
    void dropOn(QWidget *target, const QStringList &files)
    {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString &file : files)
            urls.append(QUrl::fromLocalFile(file));
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
    }
};

} // namespace

class tst_Screens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each file shows as what it is; a missing or unreadable one shows the placeholder and
    // says why in its tool-tip.
    void stripShowsEachFile()
    {
        ScreensFixture f(2);
        f.select(0);
        ScreenshotStrip &strip = f.strip();
        QCOMPARE(strip.pictureCount(), 5);
        QCOMPARE(strip.imgScrShots.at(0)->image(), DisplayZX(spectrumScreen(), 0));
        QCOMPARE(strip.imgScrShots.at(1)->image().pixelColor(10, 10), QColor(Qt::red));
        QCOMPARE(strip.imgScrShots.at(3)->image().pixelColor(10, 10), QColor(Qt::blue));
        QCOMPARE(strip.imgScrShots.at(0)->toolTip(), f.path("shots/load.scr"));
        QCOMPARE(strip.imgScrShots.at(4)->toolTip(),
                 QStringLiteral("Unable to locate file [gone.gif]"));
        QCOMPARE(strip.imgScrShots.at(4)->image(), ScreenshotStrip::placeholder());
        QCOMPARE(strip.imgScrShots.at(0)->size(), QSize(256, 192));

        // A file that is there but is no picture: the placeholder and the reason, no menu.
        writeFile(f.path("shots/title.gif"), "not a picture");
        f.select(1);
        f.select(0);
        QCOMPARE(strip.imgScrShots.at(1)->image(), ScreenshotStrip::placeholder());
        QCOMPARE(strip.imgScrShots.at(1)->toolTip(),
                 "Unable to read file [" + f.path("shots/title.gif") + "]");
        QSignalSpy menus(&strip, &ScreenshotStrip::imageMenuRequested);
        strip.imgScrShots_MouseUp(1, Qt::RightButton, {}, {});
        strip.imgScrShots_MouseUp(4, Qt::RightButton, {}, {});
        QCOMPARE(menus.size(), 0);
        strip.imgScrShots_MouseUp(2, Qt::RightButton, {}, {});
        QCOMPARE(menus.size(), 1);
        QCOMPARE(f.state.layout.ClickedShot, 2);

        // An entry without screenshots keeps element 0 alone, with the placeholder.
        f.select(1);
        QCOMPARE(strip.pictureCount(), 1);
        QCOMPARE(strip.imgScrShots.at(0)->image(), ScreenshotStrip::placeholder());
        strip.imgScrShots_MouseUp(0, Qt::RightButton, {}, {});
        QCOMPARE(menus.size(), 1);
    }

    // Five pictures of which three fit: forward to 1, 2 and no further; back to 0 and no
    // further; the arrows show only where there is somewhere to go.
    void arrowsScrollTheStrip()
    {
        ScreensFixture f(2);
        f.setCentralHeight(3 * 200 + 50);
        f.select(0);
        QCOMPARE(f.state.layout.VisibleShotCount, 3.0);
        QCOMPARE(f.shownPictures(), (QList<int>{0, 1, 2}));
        ScreenshotStrip &strip = f.strip();
        QVERIFY(!strip.actions[2]->isVisibleTo(&strip));
        QVERIFY(strip.actions[3]->isVisibleTo(&strip));
        for (const int expected : {1, 2, 2}) {
            QTest::mouseClick(strip.actions[3], Qt::LeftButton);
            QCOMPARE(f.state.layout.FirstVisibleShot, expected);
        }
        QVERIFY(strip.actions[2]->isVisibleTo(&strip));
        QVERIFY(!strip.actions[3]->isVisibleTo(&strip));
        QVERIFY(strip.imgScrShots[2]->y() >= 0 && strip.imgScrShots[2]->y() < 20);
        QVERIFY(strip.imgScrShots[1]->y() < 0);
        for (const int expected : {1, 0, 0}) {
            QTest::mouseClick(strip.actions[2], Qt::LeftButton);
            QCOMPARE(f.state.layout.FirstVisibleShot, expected);
        }

        // Enlarged so that more fit than remain after the first: back one per resize.
        strip.actions_MouseUp(3);
        strip.actions_MouseUp(3);
        QCOMPARE(f.state.layout.FirstVisibleShot, 2);
        f.setCentralHeight(4 * 200 + 50);
        QCOMPARE(f.state.layout.VisibleShotCount, 4.0);
        QCOMPARE(f.state.layout.FirstVisibleShot, 1);

        // A new selection starts at the first picture again.
        f.select(1);
        f.select(0);
        QCOMPARE(f.state.layout.FirstVisibleShot, 0);
    }

    // Views without a strip show no picture; the horizontal ones lay the strip across.
    // Properties OK with fewer screenshots while the strip was scrolled past them: the strip
    // shows what is left, not an empty pane with a back arrow.
    void stripAfterScreenshotsWereRemoved()
    {
        ScreensFixture f(2);
        f.setCentralHeight(200 + 50);
        f.select(0);
        ScreenshotStrip &strip = f.strip();
        for (int click = 0; click < 4; ++click)
            QTest::mouseClick(strip.actions[3], Qt::LeftButton);
        QCOMPARE(f.state.layout.FirstVisibleShot, 4);
        frmProperties dialog(f.state, f.dialogs, f.w(), f.w().pictures(), false, &f.w());
        f.dialogs.answers.enqueue(Answer::Yes);
        dialog.imagesTab->cmdAction_Click(4); // Clear
        dialog.cmdOK_Click();
        QCOMPARE(f.state.database.Get(0).Screenshots, QString());
        QCOMPARE(f.state.layout.FirstVisibleShot, 0);
        QCOMPARE(f.shownPictures(), QList<int>{0});
        QVERIFY(!strip.actions[2]->isVisibleTo(&strip));
    }

    void viewsShowTheirPanes_data()
    {
        QTest::addColumn<int>("view");
        QTest::addColumn<bool>("strip");
        QTest::addColumn<bool>("info");
        for (int view = 0; view <= 6; ++view)
            QTest::newRow(qPrintable(QString::number(view)))
                << view << (view >= 2) << (view == 1 || view >= 4);
    }
    void viewsShowTheirPanes()
    {
        QFETCH(int, view);
        QFETCH(bool, strip);
        QFETCH(bool, info);
        for (const int halfSize : {0, 1}) {
            ScreensFixture f(view, halfSize);
            f.select(0);
            QCOMPARE(f.strip().isVisibleTo(&f.w()), strip);
            QCOMPARE(f.w().picInfoPane->isVisibleTo(&f.w()), info);
            QCOMPARE(f.w().txtInfo->toPlainText().isEmpty(), !info);
            if (!strip) {
                QVERIFY(f.shownPictures().isEmpty());
            } else {
                QVERIFY(!f.shownPictures().isEmpty());
                QCOMPARE(f.strip().imgScrShots.at(0)->width(), halfSize == 1 ? 128 : 256);
            }
            // Nothing overlaps: the list, the strip and the info pane share the window.
            const QRect list = f.w().lstGames->geometry();
            if (strip)
                QVERIFY(!list.intersects(f.strip().geometry()));
            if (info)
                QVERIFY(!list.intersects(f.w().picInfoPane->geometry()));
            if (const QByteArray dir = qgetenv("KIVO_GRAB_DIR"); !dir.isEmpty()) {
                QDir().mkpath(QString::fromLocal8Bit(dir));
                f.w().grab().save(QStringLiteral("%1/view%2-%3.png")
                                      .arg(QString::fromLocal8Bit(dir))
                                      .arg(view)
                                      .arg(halfSize == 1 ? "half" : "full"));
            }
        }
    }

    // A minimised window changes nothing; restored, it lays itself out again for the size it
    // was given meanwhile, though restoring brings no resize of its own.
    void minimisedChangesNothing()
    {
        ScreensFixture f(4);
        f.select(0);
        const QRect strip = f.strip().geometry();
        const double fit = f.state.layout.VisibleShotCount;
        f.w().showMinimized();
        f.w().resize(400, 300);
        QCoreApplication::processEvents();
        QCOMPARE(f.w().centralWidget()->width(), 400);
        QCOMPARE(f.strip().geometry(), strip);
        QCOMPARE(f.state.layout.VisibleShotCount, fit);
        f.w().showNormal();
        QCoreApplication::processEvents();
        QCOMPARE(f.strip().x() + f.strip().width(), 400);
    }

    // A picture dropped while no entry is selected goes nowhere.
    void dropWithNothingSelected()
    {
        ScreensFixture f(2);
        touch(f.path("more/SHOT.JPG"), encoded(picture(Qt::yellow), "JPG"));
        const QString before = f.state.database.Get(0).Screenshots;
        f.dropOn(&f.strip(), {f.path("more/SHOT.JPG")});
        QCOMPARE(f.state.database.SelectedIndex, -99);
        QCOMPARE(f.state.database.Get(0).Screenshots, before);
        QCOMPARE(f.state.paths[PathKind::Screenshot].dirs(), QStringList{f.path("shots") + '/'});
    }

    // Drops: pictures by their extension in any case; a .scr only on the pane; directories
    // never; a name with a comma never, with a word why; new directories join the screenshot
    // paths once.
    void dropsOnTheStrip()
    {
        ScreensFixture f(2);
        touch(f.path("more/SHOT.JPG"), encoded(picture(Qt::yellow), "JPG"));
        touch(f.path("more/map.png"), encoded(picture(Qt::yellow), "PNG"));
        touch(f.path("more/Great Escape, The.gif"), encoded(picture(Qt::yellow), "PNG"));
        touch(f.path("more/screen.scr"), spectrumScreen());
        QDir().mkpath(f.path("more/folder.gif"));
        f.select(0);
        f.dropOn(f.strip().imgScrShots.at(0),
                 {f.path("more/SHOT.JPG"), f.path("more/screen.scr"), f.path("more/folder.gif"),
                  f.path("more/Great Escape, The.gif"), f.path("more/map.png")});
        QCOMPARE(f.state.database.Get(0).Screenshots,
                 QStringLiteral("load.scr,title.gif,play.jpg,end.bmp,gone.gif,SHOT.JPG,map.png"));
        QCOMPARE(f.strip().pictureCount(), 7);
        QCOMPARE(f.strip().imgScrShots.at(5)->toolTip(), f.path("more/SHOT.JPG"));
        QCOMPARE(f.strip().imgScrShots.at(6)->toolTip(), f.path("more/map.png"));
        QCOMPARE(f.dialogs.messages().size(), 1);
        QCOMPARE(describe(f.dialogs.messages().value(0)),
                 describe(Message::critical("A screenshot's file name cannot hold a comma: "
                                            "[Great Escape, The.gif]",
                                            "Can't Add Screenshot")));
        f.dropOn(&f.strip(), {f.path("more/screen.scr"), f.path("more/folder.gif")});
        QVERIFY(f.state.database.Get(0).Screenshots.endsWith(",map.png,screen.scr"));
        QCOMPARE(f.state.paths[PathKind::Screenshot].dirs(),
                 (QStringList{f.path("shots") + '/', f.path("more") + '/'}));
    }

    // A drag of nothing the strip would take shows the refusing pointer, on the pane and on its
    // pictures alike.
    void dragOfNothingTakenIsRefused_data()
    {
        QTest::addColumn<bool>("onPicture");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("taken");
        QTest::newRow("text on the pane") << false << "notes.txt" << false;
        QTest::newRow("screen on the pane") << false << "screen.scr" << true;
        QTest::newRow("text on a picture") << true << "notes.txt" << false;
        QTest::newRow("PNG on a picture") << true << "map.PNG" << true;
    }
    void dragOfNothingTakenIsRefused()
    {
        QFETCH(bool, onPicture);
        QFETCH(QString, file);
        QFETCH(bool, taken);
        ScreensFixture f(2);
        f.select(0);
        QWidget *target = onPicture ? static_cast<QWidget *>(f.strip().imgScrShots.at(0))
                                    : static_cast<QWidget *>(&f.strip());
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(f.path(file))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QCOMPARE(enter.isAccepted(), taken);
        QDragMoveEvent move(QPoint(6, 6), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
        QCOMPARE(move.isAccepted(), taken);
    }

    // Shift and a left click, or View in the picture menu: the viewer at 512 x 384, not modal;
    // a second picture replaces the first and keeps the window where it is; a screen with
    // flashing cells flashes.
    void viewer()
    {
        ScreensFixture f(2, 1);
        f.select(0);
        QTest::mouseClick(f.strip().imgScrShots.at(1), Qt::LeftButton, Qt::ShiftModifier);
        frmSSView *viewer = f.w().screenshots().viewer();
        QVERIFY(viewer);
        QVERIFY(viewer->isVisible());
        QVERIFY(!viewer->isModal());
        QCOMPARE(viewer->Image1->size(), QSize(512, 384));
        QCOMPARE(viewer->size(), QSize(512, 384));
        QCOMPARE(viewer->Image1->image().pixelColor(0, 0), QColor(Qt::red));
        QVERIFY(!viewer->isFlashing());
        viewer->move(40, 50);
        const QPoint place = viewer->pos();

        f.state.layout.ClickedShot = 0;
        f.w().mnuImages[0]->trigger();
        QCOMPARE(f.w().screenshots().viewer(), viewer);
        QCOMPARE(viewer->pos(), place);
        QCOMPARE(viewer->size(), QSize(512, 384));
        QCOMPARE(viewer->Image1->image(), DisplayZX(spectrumScreen(), 0));
        QVERIFY(viewer->isFlashing());
        QTRY_COMPARE_WITH_TIMEOUT(viewer->flashPhase(), 1, 1000);
        QCOMPARE(viewer->Image1->image(), DisplayZX(spectrumScreen(), 1));

        f.close(); // the window it belongs to closes it
        QVERIFY(!viewer->isVisible());
    }

    // Save as writes the picture as a Windows bitmap; a cancelled dialog writes nothing; a
    // failed write says so and leaves what was there.
    void saveAs()
    {
        ScreensFixture f(2);
        f.select(0);
        f.state.layout.ClickedShot = 2;
        f.dialogs.files.enqueue(QString());
        f.w().mnuImages[2]->trigger();
        const auto saves = f.dialogs.requestsOf(Kind::SaveFile);
        QCOMPARE(saves.size(), 1);
        QCOMPARE(saves.first().file.filter, QStringLiteral("bmp image (*.bmp)|*.bmp"));
        QCOMPARE(saves.first().file.proposedName, QString());
        QCOMPARE(saves.first().file.defaultSuffix, QStringLiteral("bmp"));
        QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files), QStringList{"kivo.ini"});

        f.dialogs.files.enqueue(f.path("copy.bmp"));
        f.w().mnuImages[2]->trigger();
        const QImage written(f.path("copy.bmp"), "BMP");
        QCOMPARE(written.size(), QSize(256, 192));
        QVERIFY(qAbs(written.pixelColor(5, 5).green() - 255) < 8);
        f.dialogs.files.enqueue(f.path("bare")); // a name without extension gets ".bmp"
        f.w().mnuImages[2]->trigger();
        QCOMPARE(QImage(f.path("bare.bmp"), "BMP").size(), QSize(256, 192));

        f.dialogs.files.enqueue(f.path("no-such-dir/copy.bmp"));
        f.w().mnuImages[2]->trigger();
        const Message shown = f.dialogs.messages().value(0);
        QCOMPARE(shown.title, QStringLiteral("Can't Save"));
        QCOMPARE(shown.icon, MessageIcon::Critical);
        QVERIFY(shown.text.startsWith("Unable to save the picture.\r\n" +
                                      f.path("no-such-dir/copy.bmp") + "\r\n"));
    }

    // The view dialog: captions, tool-tips and the frame as the options stand; OK applies and
    // starts the strip at its first picture; Cancel changes nothing.
    void viewDialog()
    {
        ScreensFixture f(4);
        f.select(0);
        f.strip().actions_MouseUp(3);
        QCOMPARE(f.state.layout.FirstVisibleShot, 1);
        {
            frmLayout dialog(f.state, &f.w());
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Views"));
            QCOMPARE(dialog.optScrSize[0]->text(),
                     QStringLiteral("Full Size Screenshots (256 x 192)"));
            QCOMPARE(dialog.optScrSize[1]->text(),
                     QStringLiteral("Half Size Screenshots (128 x 96)"));
            QVERIFY(dialog.optScrSize[0]->isChecked());
            const QStringList tips = {"List Only",
                                      "List And Info",
                                      "List And screenshots",
                                      "List And screenshots",
                                      "List, Info and ScreenShots",
                                      "List, Info and ScreenShots",
                                      "List, Info and ScreenShots"};
            for (int view = 0; view < 7; ++view) {
                QCOMPARE(dialog.picViewType[view]->toolTip(), tips[view]);
                QCOMPARE(dialog.picViewType[view]->size(), QSize(70, 52));
            }
            QCOMPARE(dialog.selectedView(), 4);
            // Laid out before the dialog shows: the frame must sit on view 4's own picture.
            QVERIFY(dialog.picViewType[4]->y() >= dialog.picViewType[0]->y() + 52);
            QVERIFY(dialog.picViewType[1]->x() >= dialog.picViewType[0]->x() + 70);
            QCOMPARE(dialog.shpViewSelect->geometry(),
                     dialog.picViewType[4]->geometry().adjusted(0, 0, 1, 1));
            QTest::mouseClick(dialog.picViewType[6], Qt::LeftButton);
            QCOMPARE(dialog.selectedView(), 6);
            dialog.optScrSize[1]->setChecked(true);
            dialog.cmdCancel->click();
        }
        QCOMPARE(f.state.layout.ViewMode, 4);
        QCOMPARE(f.state.layout.HalfSizeScreenshots, 0);
        QCOMPARE(f.state.layout.FirstVisibleShot, 1);

        // OK through the menu: half size about doubles what fits and starts at the first.
        const double fullFit = f.state.layout.VisibleShotCount;
        QTimer::singleShot(0, &f.w(), [] {
            auto *dialog = qobject_cast<frmLayout *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->optScrSize[1]->setChecked(true);
            dialog->picViewType_Click(2);
            dialog->cmdOK->click();
        });
        f.w().view[0]->trigger();
        QCOMPARE(f.state.layout.ViewMode, 2);
        QCOMPARE(f.state.layout.HalfSizeScreenshots, 1);
        QCOMPARE(f.state.layout.FirstVisibleShot, 0);
        QVERIFY(f.state.layout.VisibleShotCount >= 2 * fullFit - 1);
        QCOMPARE(f.strip().imgScrShots.at(0)->size(), QSize(128, 96));
        QCOMPARE(f.w().infoText(), QString()); // view 2 has no information pane
        {
            frmLayout dialog(f.state, &f.w());
            QVERIFY(dialog.optScrSize[1]->isChecked());
        }
    }

    // Start-up and File > Load arrange the panes for the saved view.
    void startUpArrangesTheSavedView()
    {
        ScreensFixture f(6, 1);
        QVERIFY(f.strip().isVisibleTo(&f.w()));
        QCOMPARE(f.state.layout.StripOrientation, 0);
        QVERIFY(f.w().picInfoPane->y() + f.w().picInfoPane->height() <= f.strip().y());
    }

    // An entry without screenshots shows the screen its tape holds, when the view options
    // say so; Keep as screenshot writes it as a .scr beside the other screenshots and the entry
    // lists it from then on.
    void loadingScreenStandsInForScreenshots()
    {
        ScreensFixture f(4);
        const QByteArray screen = spectrumScreen();
        touch(f.path("roms/Pit, Fall.tap"),
              tapeimages::tap(
                  {tapeimages::header(3, "screen", 6912, 16384), tapeimages::data(screen)}));
        f.state.paths[PathKind::Rom].setDirs({f.path("roms") + '/'});
        RomRecord plain = f.state.database.Get(1);
        plain.RomFile = QStringLiteral("Pit, Fall.tap");
        plain.Screenshots = QStringLiteral("gone.gif"); // listed, but no such file
        f.state.database.Set(1, plain);
        f.select(1);
        ScreenshotStrip &strip = f.strip();
        QVERIFY(strip.showsLoadingScreen());
        QCOMPARE(strip.imgScrShots.at(0)->toolTip(),
                 QStringLiteral("Loading screen from [Pit, Fall.tap]"));
        QCOMPARE(strip.pictureAt(0).screen, screen);

        f.w().view[1]->trigger(); // off: the placeholder, as without a tape
        QVERIFY(!strip.showsLoadingScreen());
        QCOMPARE(strip.imgScrShots.at(0)->image(), ScreenshotStrip::placeholder());
        f.w().view[1]->trigger();
        QVERIFY(strip.showsLoadingScreen());

        touch(f.path("shots/Pit  Fall.scr"), "taken");
        f.state.layout.ClickedShot = 0;
        f.w().mnuImages[3]->trigger(); // Keep as screenshot
        QCOMPARE(f.state.database.Get(1).Screenshots, QStringLiteral("gone.gif,Pit  Fall (2).scr"));
        QCOMPARE(readFile(f.path("shots/Pit  Fall (2).scr")), screen);
        QCOMPARE(readFile(f.path("shots/Pit  Fall.scr")), QByteArray("taken"));
        QVERIFY(!strip.showsLoadingScreen());
        QCOMPARE(strip.imgScrShots.at(1)->toolTip(), f.path("shots/Pit  Fall (2).scr"));
        f.close();
        QVERIFY(readFile(f.path("kivo.ini")).contains("loadscr=1"));
    }

    // A view the program does not have, from a damaged or hand-edited kivo.ini: the list alone,
    // placed over the whole window, and the view dialog shows that view chosen.
    void unknownSavedViewShowsTheList_data()
    {
        QTest::addColumn<int>("view");
        QTest::newRow("7") << 7;
        QTest::newRow("-1") << -1;
    }
    void unknownSavedViewShowsTheList()
    {
        QFETCH(int, view);
        ScreensFixture f(view);
        QCOMPARE(f.state.layout.ViewMode, 0);
        QCOMPARE(f.w().picListPane->geometry(), f.w().centralWidget()->rect());
        frmLayout dialog(f.state, &f.w());
        QCOMPARE(dialog.selectedView(), 0);
        dialog.cmdOK->click();
        QCOMPARE(f.state.layout.ViewMode, 0);
    }
};

QTEST_MAIN(tst_Screens)
#include "tst_screens.moc"
