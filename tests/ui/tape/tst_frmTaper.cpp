#include "ScriptedDialogs.h"
#include "TestSupport.h"

#include "../../tape/TapeImages.h"
#include "ui/tape/frmTaper.h"

#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>

using namespace tapeimages;

class tst_frmTaper : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeTape(const QString &name, const QByteArray &image)
    {
        const QString path = m_dir.filePath(name);
        testsupport::writeFile(path, image);
        return path;
    }

private Q_SLOTS:
    // The window lists what the reader gives: texts per column, colours per row, the fixed
    // font where the padding has to line up.
    void listsTheTape()
    {
        AppState state(ProgramDir::inDirectory(m_dir.path()));
        ScriptedDialogs dialogs;
        const QByteArray hdr = header(0, "loader", 40, 10);
        const QString path = writeTape(
            QStringLiteral("game.TZX"),
            tzx({standard(hdr), standard(hdr), standard(data(QByteArray(40, 'x'))), "\x22"}));
        frmTaper window(state, dialogs, path);

        QCOMPARE(window.windowTitle(), QStringLiteral("Kivo tape viewer"));
        QTableView *list = window.findChild<QTableView *>(QStringLiteral("lstTaper"));
        QVERIFY(list);
        QCOMPARE(list, window.lstTaper);
        const QAbstractItemModel *model = list->model();
        const auto header = [&](int column) {
            return model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        };
        QCOMPARE(QStringList({header(0), header(1), header(2)}),
                 QStringList({"Block", "", "Size"}));
        QCOMPARE(state.tape.Blocks.size(), 4);
        QVERIFY(dialogs.messages().isEmpty());

        const QString loader = QString(9, u' ') + QStringLiteral("\"loader    \" PROG    10");
        const QList<QStringList> texts = {{"0", loader, "40"},
                                          {"", "      >>>>> Missing Datablock <<<<<", ""},
                                          {"1", loader, "40"},
                                          {"2", "DATA", "40"},
                                          {"3", "GROUP END", ""}};
        const QList<Qt::GlobalColor> colours = {Qt::black, Qt::transparent, Qt::black, Qt::black,
                                                Qt::blue};
        QCOMPARE(model->rowCount(), texts.size());
        for (int i = 0; i < texts.size(); ++i) {
            const auto text = [&](int column) { return model->index(i, column).data().toString(); };
            QCOMPARE(QStringList({text(0), text(1), text(2)}), texts.at(i));
            const QFontMetrics metrics(model->index(i, 1).data(Qt::FontRole).value<QFont>());
            QCOMPARE(metrics.horizontalAdvance(u'i'), metrics.horizontalAdvance(u'W'));
            for (int column : {1, 2}) {
                const QBrush brush =
                    model->index(i, column).data(Qt::ForegroundRole).value<QBrush>();
                if (colours.at(i) == Qt::transparent)
                    QCOMPARE(brush.style(), Qt::NoBrush);
                else
                    QCOMPARE(brush.color(), QColor(colours.at(i)));
            }
        }

        // Drawn, the blue row shows blue text and the black rows none.
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage shot = list->viewport()->grab().toImage();
        const auto bluePixels = [&](int row) {
            const QRect rect = list->visualRect(model->index(row, 1))
                                   .united(list->visualRect(model->index(row, 2)));
            int count = 0;
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                for (int x = rect.left(); x <= rect.right(); ++x) {
                    const QColor c = shot.pixelColor(x, y);
                    count += c.blue() > 200 && c.red() < 80 && c.green() < 80;
                }
            return count;
        };
        QVERIFY(bluePixels(4) > 0);
        QCOMPARE(bluePixels(3), 0);
        if (const QByteArray out = qgetenv("KIVO_GRAB"); !out.isEmpty())
            window.grab().save(QString::fromLocal8Bit(out));
    }

    // A rejected image: the message through the dialogs, an empty list, the window still there.
    void rejectedImage_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("bad signature")
            << "bad.tzx" << QStringList{"Kivo: Invalid TZX Image [none, ok]"};
        QTest::newRow("unsupported ending") << "bad.z80" << QStringList();
    }
    void rejectedImage()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, messages);
        AppState state(ProgramDir::inDirectory(m_dir.path()));
        state.tape.Blocks.append(TapeBlock{});
        ScriptedDialogs dialogs;
        frmTaper window(state, dialogs, writeTape(name, QByteArrayLiteral("zxtape!\x1A\x01\x14")));
        QStringList shown;
        for (const Message &message : dialogs.messages())
            shown.append(testsupport::describe(message));
        QCOMPARE(shown, messages);
        QCOMPARE(window.lstTaper->model()->rowCount(), 0);
        QVERIFY(state.tape.Blocks.isEmpty());
    }

    void escapeCloses()
    {
        AppState state(ProgramDir::inDirectory(m_dir.path()));
        ScriptedDialogs dialogs;
        frmTaper window(state, dialogs, writeTape(QStringLiteral("t.tap"), tap({data("x")})));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::keyClick(window.lstTaper, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(tst_frmTaper)
#include "tst_frmTaper.moc"
