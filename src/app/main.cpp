#include "launch/ProcessStarter.h"
#include "state/AppState.h"
#include "ui/common/Dialogs.h"
#include "ui/main/frmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kivo"));
    QApplication::setOrganizationName(QStringLiteral("kivo"));
    QApplication::setApplicationVersion(QStringLiteral(KIVO_VERSION));

    AppState state(ProgramDir::forApplication());
    QtDialogs dialogs;
    SystemProcessStarter starter;
    frmMain window(state, dialogs, starter);
    window.show();
    return QApplication::exec();
}
