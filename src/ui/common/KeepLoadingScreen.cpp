#include "ui/common/KeepLoadingScreen.h"

#include "core/Message.h"
#include "state/AppState.h"
#include "tape/KeptScreen.h"
#include "ui/common/Dialogs.h"

namespace {

const QString kCantSavePicture = QStringLiteral("Unable to save the picture.");
const QString kCantSaveTitle = QStringLiteral("Can't Save");

} // namespace

QString keepLoadingScreen(AppState &state, Dialogs &dialogs, QWidget *parent, const QString &title,
                          const QString &romFile, const QByteArray &screen, QString *written)
{
    QString directory = state.paths[PathKind::Screenshot].usedDirs().value(0);
    if (directory.isEmpty()) {
        directory = dialogs.chooseDirectory(parent, title, QString());
        if (directory.isEmpty())
            return {};
        state.paths.AddSearchPath(PathKind::Screenshot, directory);
    }
    const KeptScreen kept = keepScreen(directory, romFile, screen);
    if (!kept.ok) {
        dialogs.show(parent, Message::critical(kCantSavePicture + kCrLf + directory + kept.name +
                                                   kCrLf + kept.reason,
                                               kCantSaveTitle));
        return {};
    }
    if (written != nullptr)
        *written = directory + kept.name;
    return kept.name;
}
