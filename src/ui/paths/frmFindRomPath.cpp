#include "ui/paths/frmFindRomPath.h"

#include "core/PathText.h"
#include "settings/LanguageTable.h"
#include "ui/common/DirectoryChooser.h"
#include "ui/common/Mnemonics.h"

#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kOkCaption = 6;     // lang006
constexpr int kCancelCaption = 7; // lang007
constexpr int kTitleCaption = 46; // lang042

} // namespace

frmFindRomPath::frmFindRomPath(const LanguageTable &language, Dialogs &dialogs,
                               const QString &startDirectory, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFindRomPath"));
    setWindowTitle(language.at(kTitleCaption));
    setModal(true);

    chooser = new DirectoryChooser(dialogs, this);
    chooser->setObjectName(QStringLiteral("chooser"));
    Drive1 = chooser->Drive1;
    Dir1 = chooser->Dir1;
    // A start directory that has gone falls back to one that is always there.
    if (!chooser->start(startDirectory) && !chooser->start(QDir::homePath()))
        chooser->start(QDir::rootPath());

    cmdOK = new QPushButton(language.at(kOkCaption), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(language.at(kCancelCaption), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    giveMnemonics({cmdOK, cmdCancel}, LanguageTable::defaults());

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(chooser, 1);
    layout->addLayout(buttons);

    setMinimumSize(300, 320);
    resize(380, 420);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmFindRomPath::cmdOK_Click()
{
    m_locatedPath = chooser->path();
    if (!m_locatedPath.isEmpty() && !endsWithSeparator(m_locatedPath))
        m_locatedPath += nativeSeparator();
    accept();
}

void frmFindRomPath::cmdCancel_Click()
{
    reject();
}
