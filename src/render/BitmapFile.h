#pragma once

#include "core/SafeFile.h"

#include <QImage>
#include <QString>

// "Save as" of a picture: a Windows bitmap written through a temporary file, so a failed save
// leaves whatever file was there.
WriteResult saveBitmapFile(const QImage &image, const QString &path);
