// SPDX-License-Identifier: GPL-3.0-or-later
#include "CornerPicture.h"

#include "BitmapIconDecoder.h"
#include "EPictureError.h"
#include "JpegDecoder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef TARVIK_HAVE_METAFILE
#include "MetafileImage.h"
#endif

CornerPicture CornerPicture::load(const QString &path, const DrawSize &drawSize)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : name.mid(dot + 1).toLower();

    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg"))
        return loadJpeg(path, drawSize);
    if (extension == QLatin1String("bmp"))
        return loadWithReader(path, Kind::Bitmap);
    if (extension == QLatin1String("ico"))
        return loadWithReader(path, Kind::Icon);
    if (extension == QLatin1String("emf") || extension == QLatin1String("wmf")) {
        CornerPicture picture;
#ifdef TARVIK_HAVE_METAFILE
        picture.m_image =
            MetafileImage::load(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
#endif
        if (picture.m_image.isNull())
            throw EPictureError(TarvikError::tr("Metafile is not valid"));
        picture.m_kind = Kind::Metafile;
        picture.m_size = picture.m_image.size();
        return picture;
    }
    throw EPictureError(TarvikError::tr("Unknown picture file extension (.%1)").arg(extension));
}

CornerPicture CornerPicture::loadJpeg(const QString &path, const DrawSize &drawSize)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EPictureError(TarvikError::tr("Cannot open file \"%1\". %2")
                                .arg(QDir::toNativeSeparators(path), file.errorString()));
    if (file.size() > maxFileBytes)
        throw EPictureError(TarvikError::tr("Picture file is too large"));
    QByteArray data = file.readAll();

    JpegDecoder::Result decoded = JpegDecoder::decode(data, drawSize);
    CornerPicture picture;
    picture.m_kind = Kind::Jpeg;
    picture.m_size = decoded.natural;
    picture.m_image = std::move(decoded.image);
    if (decoded.reduced)
        picture.m_jpegData = std::move(data);
    return picture;
}

CornerPicture CornerPicture::loadWithReader(const QString &path, Kind kind)
{
    // The file is read here and decoded from memory: Qt's image readers share one lock
    // while they look at a file, so a read that hangs inside one would stop every other
    // picture of the process from loading.
    const auto format =
        kind == Kind::Icon ? BitmapIconDecoder::Format::Icon : BitmapIconDecoder::Format::Bitmap;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EPictureError(kind == Kind::Icon ? TarvikError::tr("Icon image is not valid")
                                               : TarvikError::tr("Bitmap image is not valid"));
    if (file.size() > maxFileBytes)
        throw EPictureError(TarvikError::tr("Picture file is too large"));
    QByteArray data = file.read(maxFileBytes + 1);
    if (data.size() > maxFileBytes)
        throw EPictureError(TarvikError::tr("Picture file is too large"));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    CornerPicture picture;
    picture.m_kind = kind;
    picture.m_image = BitmapIconDecoder::decode(&buffer, format, JpegDecoder::maxPixels);
    picture.m_size = picture.m_image.size();
    return picture;
}

void CornerPicture::ensureResolution(const QSize &drawn)
{
    if (m_kind != Kind::Jpeg || m_jpegData.isEmpty())
        return;
    if (drawn.width() <= m_image.width() && drawn.height() <= m_image.height())
        return;
    try {
        JpegDecoder::Result decoded =
            JpegDecoder::decode(m_jpegData, [drawn](QSize) { return drawn; });
        m_image = std::move(decoded.image);
        if (!decoded.reduced)
            m_jpegData.clear();
    } catch (const EPictureError &) {
        // The file decoded before; keep the smaller image.
    }
}
