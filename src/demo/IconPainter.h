#pragma once

#include <QByteArray>
#include <QImage>

// Kivo's icon, a cassette with four diagonal stripes in its label's corner. One list of shapes
// on a 256 x 256 grid gives both the scalable SVG and the PNG sizes, so they cannot drift apart.
QByteArray iconSvg();
QImage paintIcon(int size);
