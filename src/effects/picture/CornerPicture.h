// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

// The picture holder of the corner picture: none or one graphic read from a file, chosen by
// the file name's extension.
class CornerPicture
{
public:
    enum class Kind
    {
        None,
        Jpeg,
        Icon,
        Bitmap,
        Metafile
    };

    // Maps the graphic's full size to the size it will be drawn at, so that large JPEG
    // pictures are decoded only as far as needed.
    using DrawSize = std::function<QSize(QSize)>;

    // Reads a graphic; throws EPictureError ("Unknown picture file extension (.%s)",
    // "JPEG error #%d", "Bitmap image is not valid", "Icon image is not valid",
    // "Metafile is not valid", or a refusal of a too large picture).
    static CornerPicture load(const QString &path, const DrawSize &drawSize);

    Kind kind() const { return m_kind; }
    bool isEmpty() const { return m_kind == Kind::None || m_image.isNull(); }
    // The size the fitting works with: a JPEG's full size even when decoded reduced.
    QSize size() const { return m_size; }
    const QImage &image() const { return m_image; }
    // Icons and metafiles keep their transparent parts; the others are drawn opaque.
    bool transparent() const { return m_kind == Kind::Icon || m_kind == Kind::Metafile; }

    // Decodes a reduced JPEG again when it is to be drawn larger than it was decoded.
    // Keeps the present image if that fails.
    void ensureResolution(const QSize &drawn);

    // Files larger than this are not read at all.
    static constexpr qint64 maxFileBytes = 256LL * 1024 * 1024;

private:
    static CornerPicture loadJpeg(const QString &path, const DrawSize &drawSize);
    static CornerPicture loadWithReader(const QString &path, Kind kind);

    Kind m_kind = Kind::None;
    QSize m_size;
    QImage m_image;
    QByteArray m_jpegData; // kept only while the image is reduced
};
