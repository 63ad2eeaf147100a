#pragma once
// Plays the records of a Windows metafile onto a QPainter, the way the platform's metafile player draws
// them: the logical window is mapped onto the whole canvas, shapes are filled and outlined with the selected
// brush and pen, text is drawn in the font's character set, and device-independent bitmaps are stretched.
// Records it does not know are skipped. Drawing stops with an error when a file asks for far more painting
// than any picture needs, so a small file cannot keep the reader busy for minutes.

#include "ImgLib/ReadResult.h"
#include "ImgLib/WmfDc.h"
#include "ImgLib/WmfFile.h"
#include "ImgLib/WmfParams.h"

#include <QPainter>

#include <vector>

namespace tavrin {

struct TWmfFrame
{
    int Width = 0; // the canvas, in pixels
    int Height = 0;
    QPointF WindowOrg; // the logical window shown on the whole canvas until the file sets its own
    QPointF WindowExt;
};

class TWmfPlayer
{
  public:
    TWmfPlayer(QPainter& painter, const TWmfFrame& frame, std::size_t objectCount);

    TReadResult Play(std::span<const std::uint8_t> records);

  private:
    void PlayRecord(const TWmfRecord& record);
    bool PlayStateRecord(std::uint16_t function, const TWmfParams& p);
    bool PlayObjectRecord(std::uint16_t function, const TWmfParams& p);
    bool PlayClipRecord(std::uint16_t function, const TWmfParams& p);
    bool PlayShapeRecord(std::uint16_t function, const TWmfParams& p);
    bool PlayRegionRecord(std::uint16_t function, const TWmfParams& p);
    bool PlayTextRecord(std::uint16_t function, const TWmfParams& p);
    bool PlayBitmapRecord(std::uint16_t function, const TWmfParams& p);

    // Logical to device mapping.
    double ScaleX() const;
    double ScaleY() const;
    QPointF Map(double x, double y) const;
    QRectF MapRect(double left, double top, double right, double bottom) const; // normalised
    QPolygonF MapPoints(const TWmfParams& p, std::size_t firstWord, std::size_t count) const;
    QPainterPath MapPath(const QPainterPath& logical) const;

    // Painting with the current state.
    QPen DevicePen() const;
    QBrush DeviceBrush(const TWmfBrush& brush) const;
    void FillAndStroke(const QPainterPath& devicePath, bool fill);
    void Stroke(const QPainterPath& devicePath);
    void FillWith(const QPainterPath& devicePath, const QBrush& brush);
    void DrawArc(std::uint16_t function, const TWmfParams& p);
    void DrawText(QPointF reference, std::span<const std::uint8_t> bytes, const std::vector<int>& dx,
                  std::uint16_t options, const QRectF& deviceRect);
    void DrawDib(const QRectF& target, std::span<const std::uint8_t> dib, std::uint16_t usage, QRect source,
                 bool wholeImage, std::uint32_t rop);
    void PatternBlit(const QRectF& target, std::uint32_t rop);

    // Raster operations and clipping.
    void ApplyRop2();
    void ApplyClip();
    void IntersectClip(const QPainterPath& devicePath);
    void SetRasterOp(std::uint32_t rop);
    bool Spend(const QRectF& deviceBounds);

    QPainter& FPainter;
    TWmfFrame FFrame;
    TWmfDc FDc;
    std::vector<TWmfDc> FSaved;
    TWmfObjectTable FObjects;
    double FWorkLeft; // pixels of painting still allowed
    bool FTooMuchWork = false;
};

} // namespace tavrin
