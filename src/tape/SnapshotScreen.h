#pragma once

#include "tape/LoadingScreen.h"

// The screen memory of a snapshot: RAM page 5, or page 7 when a 128K machine shows its shadow
// screen. Every length, offset and page of the file is checked; a damaged file gives nothing.
std::optional<LoadingScreen> snaScreen(const QByteArray &bytes);
std::optional<LoadingScreen> z80Screen(const QByteArray &bytes);
std::optional<LoadingScreen> szxScreen(const QByteArray &bytes);
