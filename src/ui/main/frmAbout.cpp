#include "ui/main/frmAbout.h"

#include "core/Message.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("About");
const QString kNameLine = QStringLiteral("Orvanta (Kivo) v1.0");
const QString kLicenceLine = QStringLiteral(
    "Kivo is free software under the GNU General Public License, version 3 or later.");

} // namespace

frmAbout::frmAbout(const QString &settingsFile, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(kTitle);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setText(aboutText(settingsFile).replace(kCrLf, QStringLiteral("\n")));
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &frmAbout::Command1_Click);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString frmAbout::aboutText(const QString &settingsFile)
{
    const QStringList lines = {
        kNameLine,
        QString(),
        QStringLiteral("Build %1, Qt %2")
            .arg(QStringLiteral(KIVO_VERSION), QLatin1String(qVersion())),
        QStringLiteral("Settings: %1").arg(QDir::toNativeSeparators(settingsFile)),
        kLicenceLine,
    };
    return lines.join(kCrLf);
}

void frmAbout::Command1_Click()
{
    accept();
}
