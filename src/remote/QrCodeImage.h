// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

namespace QrCodeImage {

// The text as a QR code (error correction M), one pixel per module with a four-module quiet
// zone, black on white; a null image when the text does not fit a code.
QImage encode(const QString &text);

} // namespace QrCodeImage
