#pragma once
// The measuring scale that frames the image view: ticks, numbers and half marks over a coloured band, along
// the edge its Direction names. The ruler knows nothing of images or zoom: its owner sets Scale (percent)
// and Offset (the value at the counting start) and listens to its pointer signals.
//
// The control draws into a surface of its own and blits it, so a paint event that merely exposes the
// control costs a copy; every property change (except HairLinePos) redraws the surface, and that redraw
// forgets the hairline. The hairline is drawn by inverting surface pixels in place, so drawing it twice
// erases it.

#include "core/Input.h"
#include "editor/RsRulerLayout.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

class QPainter;

namespace tavrin {

// Colours, flat style, units and the number font common to rulers.
class TRsBaseRuler : public QWidget
{
    Q_OBJECT
  public:
    explicit TRsBaseRuler(QWidget* parent = nullptr);

    TRulerUnit Units() const { return FUnits; }
    virtual void SetUnits(TRulerUnit value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    // Fill of the band behind the numbers.
    QColor ScaleColor() const { return FScaleColor; }
    void SetScaleColor(const QColor& value);
    QColor TickColor() const { return FTickColor; }
    void SetTickColor(const QColor& value);
    // Background of the whole control.
    QColor Color() const { return FColor; }
    void SetColor(const QColor& value);
    // Colour of the numbers and half marks (the font's colour).
    QColor FontColor() const { return FFontColor; }
    void SetFontColor(const QColor& value);

    // The screen resolution the units are measured against.
    double PixelsPerInch() const;

  signals:
    // Pointer events in ruler pixels. While a button is held the ruler keeps the pointer, so moves and the
    // release arrive here even when the pointer has left it (positions then lie outside the ruler).
    // Moves without a button arrive too.
    void OnMouseDown(tavrin::TMouseButton button, tavrin::TShiftState shift, int x, int y);
    void OnMouseMove(tavrin::TShiftState shift, int x, int y);
    void OnMouseUp(tavrin::TMouseButton button, tavrin::TShiftState shift, int x, int y);

  protected:
    // The whole control is redrawn at the next paint.
    void Invalidate();
    // Draws the whole control onto its surface; the base fills it with Color.
    virtual void Render(QPainter& painter);
    // Makes sure the surface shows the current settings, redrawing it if needed.
    void EnsureSurface();
    // Inverts the pixels of r on the surface and shows them, without redrawing anything else.
    void InvertRect(const TRect& r);

    // The number font: the control font's face, weight (bold or normal) and slant, with a cell height equal
    // to the font's character height, so its letters are slightly smaller than the control font's.
    const QFont& NumberFont();
    // Height of the text "0" in the control font.
    int ZeroHeight() const;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    template <class T> void Assign(T& field, const T& value)
    {
        if (field == value) return;
        field = value;
        Invalidate();
    }

  private:
    TRulerUnit FUnits = TRulerUnit::ruCenti;
    bool FFlat = false;
    QColor FScaleColor;
    QColor FTickColor;
    QColor FColor;
    QColor FFontColor;
    QFont FNumberFont;
    bool FNumberFontStale = true;
    QImage FSurface;
    bool FSurfaceStale = true;
};

class TRsRuler : public TRsBaseRuler
{
    Q_OBJECT
  public:
    explicit TRsRuler(QWidget* parent = nullptr);

    TRulerDir Direction() const { return FDirection; }
    // Switching between horizontal and vertical swaps the control's width and height.
    void SetDirection(TRulerDir value);
    TRulerScaleDir ScaleDir() const { return FScaleDir; }
    void SetScaleDir(TRulerScaleDir value);
    // Magnification in percent; 0 and below are ignored.
    int Scale() const { return FScale; }
    void SetScale(int value);
    // Added to every number. Values that are not finite are ignored.
    double Offset() const { return FOffset; }
    void SetOffset(double value);
    // Where the counting starts along the ruler, in ruler pixels (0: at its start). Values that are not
    // finite are ignored.
    double Origin() const { return FOrigin; }
    void SetOrigin(double value);
    // Ruler pixels per unit when the owner's magnification is not a whole percent; 0 follows Scale. Values
    // below 0 or not finite are ignored.
    double Magnification() const { return FMagnification; }
    void SetMagnification(double value);
    bool HairLine() const { return FHairLine; }
    void SetHairLine(bool value);
    // Ruler pixels, -1 for none. Moves the hairline without redrawing the ruler.
    int HairLinePos() const { return FHairLinePos; }
    void SetHairLinePos(int value);
    THairLineStyle HairLineStyle() const { return FHairLineStyle; }
    void SetHairLineStyle(THairLineStyle value);
    // False prints negative numbers without their sign.
    bool ShowMinus() const { return FShowMinus; }
    void SetShowMinus(bool value);
    // Keeps Offset's physical meaning: it is converted into the new unit.
    void SetUnits(TRulerUnit value) override;

    // What the next redraw of the ruler draws, for its current size and settings.
    TRulerLayout Layout();
    // The scale factor and tick step of the last redraw.
    double ScaleFactor() const { return FScaleFactor; }
    double TickStep() const { return FTickStep; }

  protected:
    void Render(QPainter& painter) override;

  private:
    void DrawText(QPainter& painter, const TRulerLabel& label);
    // Inverts the hairline at the current position, if there is one to show.
    void InvertHairLine();

    TRulerDir FDirection = TRulerDir::rdTop;
    TRulerScaleDir FScaleDir = TRulerScaleDir::rsdNormal;
    int FScale = 100;
    double FOffset = 0;
    double FOrigin = 0;
    double FMagnification = 0;
    bool FHairLine = false;
    int FHairLinePos = -1;
    THairLineStyle FHairLineStyle = THairLineStyle::hlsLine;
    bool FShowMinus = true;
    double FScaleFactor = 1;
    double FTickStep = 1;
};

} // namespace tavrin
