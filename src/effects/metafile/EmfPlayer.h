// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteView.h"
#include "DibDecoder.h"
#include "GdiObjects.h"

#include <QRect>
#include <QSizeF>

#include <optional>
#include <vector>

class GdiCanvas;

// Plays the records of an enhanced metafile onto a canvas.
class EmfPlayer
{
public:
    struct Header
    {
        QRect bounds;        // device units, edges inclusive
        QRect frame;         // 0.01 mm, edges inclusive
        QPointF devicePerMm; // reference device units in a millimetre
        int handles = 0;
    };

    // The header when the bytes start like an enhanced metafile.
    static std::optional<Header> readHeader(ByteView file);
    // Whether the records follow one another up to the end-of-file record.
    static bool recordsComplete(ByteView file);

    EmfPlayer(ByteView file, GdiCanvas &canvas, qint64 bitmapPixels);
    Q_DISABLE_COPY_MOVE(EmfPlayer)

    void play();

private:
    void playRecord(std::uint32_t type, ByteView r);
    // The record families; each says whether the record was one of its own.
    bool playShapeRecord(std::uint32_t type, ByteView r);
    bool playStateRecord(std::uint32_t type, ByteView r);
    bool playObjectRecord(std::uint32_t type, ByteView r);
    bool playPathRecord(std::uint32_t type, ByteView r);
    bool playClipRecord(std::uint32_t type, ByteView r);
    bool playBitmapTextRecord(std::uint32_t type, ByteView r);
    void storeObject(std::uint32_t index, GdiObject object);
    void selectObject(std::uint32_t index);
    void deleteObject(std::uint32_t index);
    std::optional<GdiBrush> brushAt(std::uint32_t index) const;
    GdiPen extPen(ByteView r) const;
    GdiFont logFont(ByteView r) const;
    std::optional<QList<QRect>> regionRects(ByteView r, std::size_t at, std::size_t size) const;
    QImage bitmap(ByteView r, std::size_t offBmi, std::size_t offBits, bool keepAlpha,
                  bool *bottomUp = nullptr);
    void text(ByteView r, bool wide);
    void textAt(ByteView r, std::size_t emrText, bool wide);
    void smallText(ByteView r);
    void bitBlt(ByteView r, bool stretch);
    void stretchDiBits(ByteView r);
    void setDiBitsToDevice(ByteView r);
    void alphaBlend(ByteView r, bool transparent);
    void gradientFill(ByteView r);

    ByteView m_file;
    GdiCanvas &m_canvas;
    std::vector<GdiObject> m_objects;
    DibDecoder::Options m_dib;
    qint64 m_bitmapPixels;
};
