#pragma once

#include <QByteArray>

// The demo's music: a short tune of our own, a square-wave melody over a triangle bass, as a
// mono 8-bit WAV file at 22,050 samples a second that any music player plays.
QByteArray demoTuneWav();
