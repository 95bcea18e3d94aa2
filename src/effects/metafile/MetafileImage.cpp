// SPDX-License-Identifier: GPL-3.0-or-later
#include "MetafileImage.h"

#include "EInvalidGraphic.h"
#include "MetafileDecoder.h"

#include <QFile>

namespace {

// Far beyond any clip-art; larger files are refused before they are read.
constexpr qint64 MaxFileBytes = qint64(64) * 1024 * 1024;

} // namespace

namespace MetafileImage {

QImage load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileBytes)
        throw EInvalidGraphic::invalidMetafile();
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (bytes.size() > MaxFileBytes)
        throw EInvalidGraphic::invalidMetafile();
    return MetafileDecoder::render(bytes);
}

QImage loadFromData(const QByteArray &bytes)
{
    if (bytes.size() > MaxFileBytes)
        throw EInvalidGraphic::invalidMetafile();
    return MetafileDecoder::render(bytes);
}

} // namespace MetafileImage
