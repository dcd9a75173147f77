#pragma once

#include <QString>

// File dialogs are described by Windows filter lists: description and pattern pairs separated by
// "|" ("Kivo data file (*.dat)|*.dat"). Qt's dialog matches patterns case-sensitively on Linux,
// so each pattern is offered in lower and upper case and GAMES.DAT still shows.
QString toQtFilter(const QString &windowsFilter);
