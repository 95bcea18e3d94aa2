// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Enhanced (.emf) and Windows (.wmf) metafiles as pictures: the records are
// drawn at the metafile's frame size in pixels at 96 dots per inch (smaller,
// in the same shape, when that exceeds the pixel limits), on a transparent
// background. Anything that is not a complete metafile throws
// EInvalidGraphic with "Metafile is not valid".
namespace MetafileImage {

QImage load(const QString &path);
QImage loadFromData(const QByteArray &bytes);

} // namespace MetafileImage
