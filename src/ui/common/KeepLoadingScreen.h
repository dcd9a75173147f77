#pragma once

#include <QByteArray>
#include <QString>

class Dialogs;
class QWidget;
struct AppState;

// A rom file's loading screen kept as a screenshot file: NAME.scr in the first screenshot folder,
// or in one the user picks under `title` (which then joins the screenshot paths) when there is
// none. A failed write is reported. Returns the file's name for the entry's Screenshots, empty when
// nothing was written; `written`, when given, receives its full path.
QString keepLoadingScreen(AppState &state, Dialogs &dialogs, QWidget *parent, const QString &title,
                          const QString &romFile, const QByteArray &screen,
                          QString *written = nullptr);
