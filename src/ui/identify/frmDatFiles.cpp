#include "ui/identify/frmDatFiles.h"

#include "scan/DatCatalogue.h"
#include "ui/common/BusyCursor.h"
#include "ui/common/Dialogs.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { NameColumn, VersionColumn, GamesColumn, FileColumn };

const QString kUnreadText = QStringLiteral("(not read)");

} // namespace

frmDatFiles::frmDatFiles(Dialogs &dialogs, const QStringList &files, QWidget *parent)
    : QDialog(parent)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("frmDatFiles"));
    setWindowTitle(kDatFilesTitle);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    lstDatFiles = new QTreeWidget(this);
    lstDatFiles->setObjectName(QStringLiteral("lstDatFiles"));
    lstDatFiles->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Version"),
                                  QStringLiteral("Games"), QStringLiteral("File")});
    lstDatFiles->setRootIsDecorated(false);
    lstDatFiles->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    const auto button = [this](const QString &caption, const char *name) {
        auto *made = new QPushButton(caption, this);
        made->setObjectName(QLatin1String(name));
        return made;
    };
    cmdAdd = button(QStringLiteral("&Add..."), "cmdAdd");
    cmdRemove = button(QStringLiteral("&Remove"), "cmdRemove");
    cmdOK = button(QStringLiteral("OK"), "cmdOK");
    cmdCancel = button(QStringLiteral("Cancel"), "cmdCancel");
    cmdOK->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdAdd);
    buttons->addWidget(cmdRemove);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lstDatFiles, 1);
    layout->addLayout(buttons);

    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdRemove, &QPushButton::clicked, this, [this] { cmdRemove_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstDatFiles, &QTreeWidget::currentItemChanged, this,
            [this] { cmdRemove->setEnabled(lstDatFiles->currentItem() != nullptr); });

    BusyCursor busy;
    for (const QString &path : files)
        addFile(path, false);
    cmdRemove->setEnabled(false);
    resize(620, 320);
}

QStringList frmDatFiles::files() const
{
    QStringList out;
    for (int row = 0; row < lstDatFiles->topLevelItemCount(); ++row)
        out.append(lstDatFiles->topLevelItem(row)->text(FileColumn));
    return out;
}

void frmDatFiles::cmdAdd_Click()
{
    const QString chosen =
        m_dialogs.openFile(this, Dialogs::FileRequest{kAddDatTitle, kDatFileFilter, {}, {}});
    if (chosen.isEmpty())
        return;
    BusyCursor busy;
    addFile(chosen, true);
}

bool frmDatFiles::addFile(const QString &path, bool tellRefusal)
{
    const QString native = QDir::toNativeSeparators(path);
    if (files().contains(native))
        return true;
    DatCatalogue read;
    const std::optional<Message> refused = read.addFile(native);
    if (refused && tellRefusal) {
        m_dialogs.show(this, *refused);
        return false;
    }
    // A kept file that can no longer be read stays listed: it may be on a drive not mounted.
    QStringList texts{kUnreadText, {}, {}, native};
    if (!refused && !read.files().isEmpty()) {
        const DatFileInfo &info = read.files().constFirst();
        texts = {info.name, info.version, QString::number(info.games), native};
    }
    auto *item = new QTreeWidgetItem(lstDatFiles, texts);
    item->setToolTip(NameColumn, refused ? refused->text : native);
    lstDatFiles->setCurrentItem(item);
    return !refused;
}

void frmDatFiles::cmdRemove_Click()
{
    delete lstDatFiles->currentItem();
    cmdRemove->setEnabled(lstDatFiles->currentItem() != nullptr);
}
