// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteView.h"
#include "DibDecoder.h"
#include "GdiObjects.h"

#include <QRect>

#include <optional>
#include <vector>

class GdiCanvas;

// Plays the records of a Windows metafile (with or without the placeable
// header) onto a canvas.
class WmfPlayer
{
public:
    struct Header
    {
        std::optional<QRect> bounds; // placeable header: logical units, exclusive edges
        int unitsPerInch = 0;        // placeable header only
        std::size_t recordsAt = 0;
        int objects = 0;
    };

    // The header when the bytes start like a Windows metafile.
    static std::optional<Header> readHeader(ByteView file);
    // Whether the records follow one another up to the end-of-file record.
    static bool recordsComplete(ByteView file, const Header &header);
    // The first window origin and extent the records set, for files without
    // a placeable header.
    static std::optional<QRect> recordedWindow(ByteView file, const Header &header);

    WmfPlayer(ByteView file, const Header &header, GdiCanvas &canvas, qint64 bitmapPixels);
    Q_DISABLE_COPY_MOVE(WmfPlayer)

    void play();

private:
    void playRecord(int type, std::uint16_t function, ByteView r);
    // The record families; each says whether the record was one of its own.
    bool playShapeRecord(int type, std::uint16_t function, ByteView r);
    bool playStateRecord(int type, std::uint16_t function, ByteView r);
    bool playObjectRecord(int type, std::uint16_t function, ByteView r);
    bool playClipRecord(int type, std::uint16_t function, ByteView r);
    bool playBitmapTextRecord(int type, std::uint16_t function, ByteView r);
    void createObject(GdiObject object);
    void selectObject(std::uint16_t index);
    const GdiObject *objectAt(std::uint16_t index) const;
    GdiFont font(ByteView r) const;
    GdiRegion region(ByteView r) const;
    QImage dib(ByteView packed);
    QImage bitmap16(ByteView header, ByteView bits);
    void text(ByteView r);
    void extText(ByteView r);
    void blit(ByteView r, std::uint16_t function);

    ByteView m_file;
    Header m_header;
    GdiCanvas &m_canvas;
    std::vector<GdiObject> m_objects;
    DibDecoder::Options m_dib;
    qint64 m_bitmapPixels;
};
