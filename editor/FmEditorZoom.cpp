// Zoom, the image size, and the rulers that follow the view and create guides.
#include "editor/FmEditor.h"

#include "core/InfoLayer.h"
#include "core/RoundEven.h"
#include "editor/Image32.h"
#include "editor/RsRuler.h"

#include <QPalette>
#include <QScrollArea>
#include <QScrollBar>

namespace tavrin {

namespace {

// Qt refuses widgets larger than this; zooming in stops before the view would exceed it.
constexpr long double kMaxWidgetSize = QWIDGETSIZE_MAX - 2;

float RatioOf(int extentDifference, int position)
{
    return position == 0 ? 1.0f : static_cast<float>(static_cast<double>(extentDifference) / position);
}

void Restore(QScrollBar* bar, int extentDifference, float ratio)
{
    if (bar->value() == 0)
        return;
    // A zero ratio (the view was no larger than the box) has no proportional place: go to the start.
    bar->setValue(ratio == 0.0f ? 0 : RoundEven(static_cast<long double>(extentDifference) / ratio));
}

} // namespace

void TFmEditor::ChangeScale(float step)
{
    QScrollBar* hs = FScrollBox->horizontalScrollBar();
    QScrollBar* vs = FScrollBox->verticalScrollBar();
    const float ratioX = RatioOf(FImage->width() - FScrollBox->width(), hs->value());
    const float ratioY = RatioOf(FImage->height() - FScrollBox->height(), vs->value());

    const float old = FImage->Scale();
    float scale = step == 0 ? 1.0f : static_cast<float>(static_cast<double>(old) + static_cast<double>(step));
    scale = std::max(scale, 0.001f);
    if (0.2 > static_cast<double>(scale))
        scale = 0.2f;
    const TBitmap32& b = FImage->Bitmap();
    if (scale > old && (b.Width() * static_cast<long double>(scale) > kMaxWidgetSize ||
                        b.Height() * static_cast<long double>(scale) > kMaxWidgetSize))
        return; // the view would outgrow what the toolkit can show
    FImage->SetScale(scale);

    UpdateImageSize();
    const int percent = GetScalePercent();
    for (TRsRuler* r : {FRulerTop, FRulerBottom, FRulerLeft, FRulerRight})
        r->SetScale(percent);
    Restore(hs, FImage->width() - FScrollBox->width(), ratioX);
    Restore(vs, FImage->height() - FScrollBox->height(), ratioY);
    FImgEditor->RelayoutGuides();
    UpdateRulerOffsets();
    if (OnChangeScal)
        OnChangeScal(*this);
}

void TFmEditor::UpdateImageSize()
{
    const TBitmap32& b = FImage->Bitmap();
    if (b.Empty())
        return; // an empty picture keeps the view's white background, as the view's own sizing does
    FImage->resize(FImgEditor->ImageToView(static_cast<float>(b.Width())),
                   FImgEditor->ImageToView(static_cast<float>(b.Height())));
}

void TFmEditor::UpdateRulerOffsets()
{
    const int h = FImgEditor->ViewToImage(static_cast<float>(FScrollBox->horizontalScrollBar()->value()));
    const int v = FImgEditor->ViewToImage(static_cast<float>(FScrollBox->verticalScrollBar()->value()));
    FRulerTop->SetOffset(h);
    FRulerBottom->SetOffset(h);
    FRulerLeft->SetOffset(v);
    FRulerRight->SetOffset(v);
}

void TFmEditor::SetUpRulers()
{
    const struct
    {
        TRsRuler* ruler;
        TRulerDir dir;
        bool showMinus;
        Qt::CursorShape cursor;
    } settings[] = {
        {FRulerTop, TRulerDir::rdTop, true, Qt::SplitVCursor},
        {FRulerBottom, TRulerDir::rdBottom, true, Qt::SplitVCursor},
        {FRulerLeft, TRulerDir::rdLeft, false, Qt::SplitHCursor},
        {FRulerRight, TRulerDir::rdLeft, false, Qt::SplitHCursor},
    };
    for (const auto& s : settings) {
        TRsRuler& r = *s.ruler;
        r.SetDirection(s.dir);
        r.SetShowMinus(s.showMinus);
        r.setCursor(s.cursor);
        r.SetUnits(TRulerUnit::ruPixel);
        r.SetFlat(false);
        r.SetScaleColor(palette().color(QPalette::Base));
        r.SetTickColor(palette().color(QPalette::WindowText));
        r.SetScaleDir(TRulerScaleDir::rsdNormal);
        r.SetScale(100);
        r.SetHairLine(false);
        r.SetHairLinePos(-1);
        r.SetHairLineStyle(THairLineStyle::hlsLine);
        r.SetColor(Qt::white);
        r.SetOffset(0);
        if (IsHorizontal(s.dir)) {
            r.setFixedHeight(20);
            r.setMinimumWidth(0);
        } else {
            r.setFixedWidth(20);
            r.setMinimumHeight(0);
        }
    }
    ConnectRuler(*FRulerTop, true, false);
    ConnectRuler(*FRulerBottom, true, true);
    ConnectRuler(*FRulerLeft, false, false);
    ConnectRuler(*FRulerRight, false, true);
}

void TFmEditor::ConnectRuler(TRsRuler& ruler, bool horizontalGuide, bool farEdge)
{
    connect(&ruler, &TRsRuler::OnMouseDown, this, [this, horizontalGuide, farEdge](TMouseButton, TShiftState, int, int) {
        const TBitmap32& b = FImage->Bitmap();
        if (horizontalGuide)
            FImgEditor->AddHorizontalGuide(farEdge ? b.Height() - 4 : 2, b.Width());
        else
            FImgEditor->AddVerticalGuide(farEdge ? b.Width() - 4 : 2, b.Height());
    });
    connect(&ruler, &TRsRuler::OnMouseMove, this,
            [this, &ruler](TShiftState shift, int x, int y) { RulerMouseMove(ruler, shift, x, y); });
    connect(&ruler, &TRsRuler::OnMouseUp, this,
            [this](TMouseButton, TShiftState, int, int) { FImgEditor->FDragGuide = nullptr; });
}

void TFmEditor::RulerMouseMove(TRsRuler& ruler, TShiftState shift, int x, int y)
{
    const int hPos = FScrollBox->horizontalScrollBar()->value();
    const int vPos = FScrollBox->verticalScrollBar()->value();
    int vx = x, vy = y;
    if (&ruler == FRulerTop)
        vy = y - 20 + vPos;
    else if (&ruler == FRulerBottom)
        vy = y + FScrollBox->height() + vPos;
    else if (&ruler == FRulerLeft)
        vx = x - 20 + hPos;
    else
        vx = x + FScrollBox->width() + hPos;
    ImageMouseMove(shift, vx, vy, FImgEditor->FDragGuide);
}

} // namespace tavrin
