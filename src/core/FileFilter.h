#pragma once

#include <QString>

// File dialogs are described by Windows filter lists: description and pattern pairs separated by
// "|" ("Kivo data file (*.dat)|*.dat"). Qt's dialog matches patterns case-sensitively on Linux,
// so each pattern is offered in lower and upper case and GAMES.DAT still shows. Patterns may be
// separated by ";" or ","; "*.*" matches every name, as on Windows.
QString toQtFilter(const QString &windowsFilter);
