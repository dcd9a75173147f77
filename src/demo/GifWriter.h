#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

// A GIF87a file of a picture with at most 16 colours (a Spectrum screen has 15), so the demo can
// show the format without an encoder from elsewhere: Qt reads GIF but does not write it.
// Nothing when the picture has more colours.
std::optional<QByteArray> encodeGif(const QImage &image);
