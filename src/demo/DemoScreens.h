#pragma once

#include "SpectrumCanvas.h"

#include <QStringList>

#include <optional>

// The pictures of the demo catalogue, drawn as the demo's BASIC programs show themselves (and a
// title card or two), by name: "rainbow", "lighthouse-lamp" and so on. A name may carry any
// ending ("rainbow.scr", "rainbow.png"): the ending says only how the picture is saved, and
// every picture is a Spectrum screen.
QStringList demoScreenNames();
std::optional<SpectrumCanvas> drawDemoScreen(const QString &name);
