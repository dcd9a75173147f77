#pragma once

#include <QImage>

// The placeholder shown for a screenshot that is missing or cannot be shown (`picNoSS`): a
// 256 x 192 picture with "Kivo" and "no image" over diagonal stripes in the Spectrum's colours.
// Drawn with our own pixel font, so it needs no fonts and no GUI application and looks the same
// everywhere. Draw it once and keep it.
QImage drawPicNoSS();
