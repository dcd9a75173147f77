#pragma once

#include <QtGlobal>

// "Nothing": the selected entry when none is, the default emulator or music player when none is
// set. Every test for a set value is a comparison greater than kNone, so anything at or below it
// (a hand-edited settings file may hold -100) also counts as none.
inline constexpr qint32 kNone = -99;
