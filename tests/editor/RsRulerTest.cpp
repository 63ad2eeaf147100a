#include "editor/RsRuler.h"

#include <QImage>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

using namespace tavrin;

namespace {

// Text metrics that make every label position checkable by hand: 6 pixels per character.
TRulerMetrics FakeMetrics()
{
    TRulerMetrics m;
    m.ZeroHeight = 13;
    m.TextHeight = 11;
    m.TextWidth = [](const std::string& s) { return static_cast<int>(s.size()) * 6; };
    return m;
}

TRulerParams PixelRuler(int length, int scale, double offset)
{
    TRulerParams p;
    p.Width = length;
    p.Height = 20;
    p.Units = TRulerUnit::ruPixel;
    p.Scale = scale;
    p.Offset = offset;
    return p;
}

std::vector<int> LabelPositions(const TRulerLayout& l)
{
    std::vector<int> v;
    for (const auto& label : l.Labels)
        v.push_back(label.Pos);
    return v;
}

std::vector<std::string> LabelTexts(const TRulerLayout& l)
{
    std::vector<std::string> v;
    for (const auto& label : l.Labels)
        v.push_back(label.Text);
    return v;
}

} // namespace

TEST(RsRulerLayout, PixelUnitsAtFullSizeNumberEveryFiftyPixels)
{
    const TRulerLayout l = LayOutRuler(PixelRuler(592, 100, 0), FakeMetrics());

    ASSERT_EQ(l.Labels.size(), 11u);
    for (size_t k = 0; k < l.Labels.size(); ++k) {
        const int x = 50 * static_cast<int>(k + 1);
        const TRulerLabel& label = l.Labels[k];
        EXPECT_EQ(label.Pos, x);
        EXPECT_EQ(label.Text, std::to_string(x));
        const int tw = 6 * static_cast<int>(label.Text.size());
        EXPECT_EQ(label.Origin, (TPoint{x - tw / 2, 20 - 11 - 8})) << label.Text; // centred on x
    }

    ASSERT_EQ(l.Ticks.size(), 60u); // 0, 10, ... 590
    for (size_t k = 0; k < l.Ticks.size(); ++k) {
        const TRulerTick& t = l.Ticks[k];
        EXPECT_EQ(t.Pos, 10 * static_cast<int>(k));
        EXPECT_EQ(t.Long, t.Pos % 50 == 0) << t.Pos;
        EXPECT_EQ(t.Rect, (TRect{t.Pos, t.Long ? 13 : 15, t.Pos + 1, 20})) << t.Pos;
    }

    ASSERT_EQ(l.HalfMarks.size(), 12u); // 25, 75, ... 575
    for (size_t k = 0; k < l.HalfMarks.size(); ++k)
        EXPECT_EQ(l.HalfMarks[k].Pos, 25 + 50 * static_cast<int>(k));
}

TEST(RsRulerLayout, ScaleAndOffsetChooseValuesAndSpacing)
{
    struct Case
    {
        int Scale;
        double Offset;
        std::vector<int> Positions;
        std::vector<std::string> Texts;
    };
    const Case cases[] = {
        {200, 0, {50, 100, 150}, {"25", "50", "75"}},
        {20, 0, {50, 100, 150}, {"250", "500", "750"}},
        {150, 0, {37, 75, 112, 150}, {"25", "50", "75", "100"}}, // 37.5, 75, 112.5 truncated
        {100, 120, {50, 100, 150}, {"170", "220", "270"}},
        {100, -120, {50, 100, 150}, {"-70", "-20", "30"}},
        {25, 0, {62, 125}, {"250", "500"}}, // step 6.25
        {300, 0, {75, 150}, {"25", "50"}},  // step 7.5
        {1000, 0, {50, 100, 150}, {"5", "10", "15"}},
    };
    for (const Case& c : cases) {
        const TRulerLayout l = LayOutRuler(PixelRuler(160, c.Scale, c.Offset), FakeMetrics());
        EXPECT_EQ(LabelPositions(l), c.Positions) << "scale " << c.Scale;
        EXPECT_EQ(LabelTexts(l), c.Texts) << "scale " << c.Scale;
    }
}

TEST(RsRulerLayout, PixelTickStepStaysNearFive)
{
    const std::pair<int, double> cases[] = {{100, 5},  {50, 5},    {200, 5},   {400, 5}, {500, 5},
                                            {1000, 5}, {25, 6.25}, {300, 7.5}, {1, 5},   {51, 2.55}};
    for (const auto& [scale, step] : cases)
        EXPECT_DOUBLE_EQ(LayOutRuler(PixelRuler(100, scale, 0), FakeMetrics()).TickStep, step) << scale;
}

TEST(RsRulerLayout, ScaleFactorTableAndItsEnd)
{
    const std::pair<int, double> cases[] = {
        {1, 100},   {2, 50},    {3, 25},     {5, 25},     {6, 20},    {8, 20},    {9, 10},    {12, 10},
        {13, 5},    {25, 5},    {26, 4},     {35, 4},     {36, 2},    {50, 2},    {51, 1},    {125, 1},
        {126, 0.5}, {300, 0.5}, {301, 0.25}, {400, 0.25}, {401, 0.2}, {500, 0.2}, {501, 0.1}, {1000, 0.1}};
    for (const auto& [scale, factor] : cases)
        EXPECT_DOUBLE_EQ(ScaleFactorFor(scale, 7), factor) << scale;
    // Beyond the table the previous paint's factor stays.
    EXPECT_DOUBLE_EQ(ScaleFactorFor(1001, 0.25), 0.25);
    EXPECT_DOUBLE_EQ(ScaleFactorFor(3200, 0.1), 0.1);
}

TEST(RsRulerLayout, OtherUnitsCountTheirOwnSteps)
{
    TRulerParams p = PixelRuler(400, 100, 0);
    p.PixelsPerInch = 96;
    p.Units = TRulerUnit::ruCenti; // one number per centimetre
    TRulerLayout l = LayOutRuler(p, FakeMetrics());
    EXPECT_EQ(LabelTexts(l), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(l.Labels[0].Pos, 37); // 96 / 2.54 = 37.8 pixels

    p.Units = TRulerUnit::ruMilli;
    l = LayOutRuler(p, FakeMetrics());
    EXPECT_EQ(l.Labels[1].Text, "20");

    p.Units = TRulerUnit::ruInch;
    l = LayOutRuler(p, FakeMetrics());
    EXPECT_EQ(LabelPositions(l), (std::vector<int>{96, 192, 288, 384}));
    EXPECT_EQ(LabelTexts(l), (std::vector<std::string>{"1", "2", "3", "4"}));
}

TEST(RsRulerLayout, EveryDirectionPlacesBandTicksNumbersAndHalfMarks)
{
    struct Case
    {
        TRulerDir Dir;
        TRect Band;
        TPoint FirstOrigin;
        TTextReading Reading;
        TRect LongTick, ShortTick, HalfMark;
    };
    // 592 long, 20 thick; "50" is 12 wide, numbers 11 high, "0" in the control font 13 high.
    const Case cases[] = {
        {TRulerDir::rdTop,
         {2, 0, 590, 12},
         {44, 1},
         TTextReading::trHorizontal,
         {0, 13, 1, 20},
         {10, 15, 11, 20},
         {25, 7, 26, 10}},
        {TRulerDir::rdBottom,
         {2, 8, 590, 20},
         {44, 8},
         TTextReading::trHorizontal,
         {0, 0, 1, 7},
         {10, 0, 11, 5},
         {25, 10, 26, 13}},
        {TRulerDir::rdLeft,
         {1, 2, 12, 590},
         {2, 56},
         TTextReading::trUpward,
         {13, 0, 20, 1},
         {15, 10, 20, 11},
         {7, 25, 10, 26}},
        {TRulerDir::rdRight,
         {8, 2, 19, 590},
         {18, 44},
         TTextReading::trDownward,
         {0, 0, 7, 1},
         {0, 10, 5, 11},
         {10, 25, 13, 26}},
    };
    for (const Case& c : cases) {
        TRulerParams p = PixelRuler(592, 100, 0);
        p.Direction = c.Dir;
        if (!IsHorizontal(c.Dir)) std::swap(p.Width, p.Height);
        const TRulerLayout l = LayOutRuler(p, FakeMetrics());
        const int dir = static_cast<int>(c.Dir);
        EXPECT_EQ(l.Band, c.Band) << dir;
        ASSERT_EQ(l.Labels.size(), 11u) << dir;
        EXPECT_EQ(l.Labels[0].Origin, c.FirstOrigin) << dir;
        EXPECT_EQ(l.Labels[0].Reading, c.Reading) << dir;
        EXPECT_EQ(l.Ticks[0].Rect, c.LongTick) << dir;
        EXPECT_EQ(l.Ticks[1].Rect, c.ShortTick) << dir;
        EXPECT_EQ(l.HalfMarks[0].Rect, c.HalfMark) << dir;
    }

    TRulerParams flat = PixelRuler(592, 100, 0);
    flat.Flat = true;
    EXPECT_EQ(LayOutRuler(flat, FakeMetrics()).Band, (TRect{1, 0, 591, 12}));
}

TEST(RsRulerLayout, ReverseCountingStartsAtTheFarEnd)
{
    TRulerParams p = PixelRuler(592, 100, 0);
    p.ScaleDir = TRulerScaleDir::rsdReverse;
    const TRulerLayout l = LayOutRuler(p, FakeMetrics());
    EXPECT_EQ(l.Ticks[0].Pos, 592);
    EXPECT_EQ(l.Ticks[1].Pos, 582);
    EXPECT_EQ(l.Labels[0].Pos, 542);
    EXPECT_EQ(l.Labels[0].Text, "50");
    EXPECT_EQ(l.Labels.back().Pos, 42);
}

TEST(RsRulerLayout, OriginAndMagnificationPlaceTheCounting)
{
    // The counting starts at Origin, a mark stands in the column holding its position, and marks before
    // the counting start appear where they fall on the ruler; the counting start itself gets no number.
    TRulerParams p = PixelRuler(200, 100, 40);
    p.Origin = 52.75;
    TRulerLayout l = LayOutRuler(p, FakeMetrics());
    ASSERT_FALSE(l.Ticks.empty());
    EXPECT_EQ(l.Ticks.front().Pos, 2);  // 52.75 - 5 x 10
    EXPECT_EQ(l.Ticks.front().Index, -5);
    EXPECT_TRUE(l.Ticks.front().Long);
    EXPECT_EQ(LabelPositions(l), (std::vector<int>{2, 102, 152}));
    EXPECT_EQ(LabelTexts(l), (std::vector<std::string>{"-10", "90", "140"}));
    std::vector<int> half;
    for (const TRulerHalfMark& h : l.HalfMarks)
        half.push_back(h.Pos);
    EXPECT_EQ(half, (std::vector<int>{27, 77, 127, 177}));

    // A negative origin counts from before the ruler's start.
    p.Origin = -37.5;
    l = LayOutRuler(p, FakeMetrics());
    EXPECT_EQ(l.Ticks.front().Pos, 2); // -37.5 + 4 x 10
    EXPECT_EQ(LabelPositions(l), (std::vector<int>{12, 62, 112, 162}));
    EXPECT_EQ(LabelTexts(l), (std::vector<std::string>{"90", "140", "190", "240"}));

    // A magnification that is not a whole percent spaces the marks by it; Scale still picks the factor.
    p = PixelRuler(400, 150, 0);
    p.Magnification = 1.515625;
    l = LayOutRuler(p, FakeMetrics());
    EXPECT_EQ(l.TickStep, 1.515625 * 5 * 0.5);
    EXPECT_EQ(LabelPositions(l), (std::vector<int>{37, 75, 113, 151, 189, 227, 265, 303, 341, 378}));
    EXPECT_EQ(l.Labels[9].Text, "250");
    p.Magnification = 0;
    EXPECT_EQ(LayOutRuler(p, FakeMetrics()).Labels[9].Pos, 375);

    // Reverse counting mirrors the positions from the far end.
    p = PixelRuler(200, 100, 0);
    p.Origin = 2.5;
    p.ScaleDir = TRulerScaleDir::rsdReverse;
    l = LayOutRuler(p, FakeMetrics());
    EXPECT_EQ(l.Ticks.front().Pos, 198);
    EXPECT_EQ(l.Labels.front().Pos, 148);

    // An origin far beyond the ruler leaves it blank without counting all the way there.
    p.Origin = -1e300;
    l = LayOutRuler(p, FakeMetrics());
    EXPECT_TRUE(l.Ticks.empty() && l.Labels.empty());
}

TEST(RsRulerLayout, LabelValuesRoundAsTheirUnitRequires)
{
    // Halves go to the even neighbour.
    EXPECT_EQ(LabelValue(10, 1, TRulerUnit::ruPixel, -47.5), 2);
    EXPECT_EQ(LabelValue(10, 1, TRulerUnit::ruPixel, -46.5), 4);
    EXPECT_EQ(LabelValue(10, 1, TRulerUnit::ruPixel, 1e15 + 0.5), 1e15 + 50); // no int range limit
    // Inches keep two decimals.
    EXPECT_DOUBLE_EQ(LabelValue(10, 1, TRulerUnit::ruInch, 0.125), 1.12);
    EXPECT_DOUBLE_EQ(LabelValue(10, 1, TRulerUnit::ruInch, 0.3333), 1.33);
    // Other units print what they get (up to two decimals).
    EXPECT_DOUBLE_EQ(LabelValue(10, 1, TRulerUnit::ruCenti, 0.3333), 1.3333);
    EXPECT_DOUBLE_EQ(LabelValue(10, 1, TRulerUnit::ruKilo, 0), 0.00001);
}

TEST(RsRulerLayout, FormatShowsAtMostTwoDecimals)
{
    struct Case
    {
        double Value;
        bool ShowMinus;
        const char* Separator;
        const char* Text;
    };
    const Case cases[] = {
        {50, true, ".", "50"},
        {1.5, true, ".", "1.5"},
        {2.25, true, ".", "2.25"},
        {1.3333, true, ".", "1.33"},
        {0.126, true, ".", "0.13"},
        {0.004, true, ".", "0"},
        {-20, true, ".", "-20"},
        {-20, false, ".", "20"},
        {-0.001, true, ".", "0"},
        {1.5, true, ",", "1,5"},
        {1e15, true, ".", "1000000000000000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatLabel(c.Value, c.ShowMinus, c.Separator), c.Text) << c.Value;
}

TEST(RsRulerLayout, WorkFollowsTheRulerLengthAtEveryScale)
{
    for (int scale = 1; scale <= 1500; ++scale) {
        for (TRulerUnit unit : {TRulerUnit::ruPixel, TRulerUnit::ruCenti, TRulerUnit::ruKilo}) {
            TRulerParams p = PixelRuler(1000, scale, 1e300);
            p.Units = unit;
            p.PreviousScaleFactor = 0.1; // left behind by 1000 %
            const TRulerLayout l = LayOutRuler(p, FakeMetrics());
            ASSERT_LE(l.Ticks.size(), 501u) << scale;
            ASSERT_LE(l.Labels.size() + l.HalfMarks.size(), 1001u) << scale;
        }
    }
    // A huge offset prints in full, without an exponent.
    const TRulerLayout l = LayOutRuler(PixelRuler(60, 100, 1e20), FakeMetrics());
    ASSERT_EQ(l.Labels.size(), 1u);
    EXPECT_EQ(l.Labels[0].Text, "100000000000000000000");
}

TEST(RsRulerLayout, HairLineRectangles)
{
    using D = TRulerDir;
    using S = THairLineStyle;
    using C = TRulerScaleDir;
    struct Case
    {
        D Dir;
        S Style;
        C ScaleDir;
        TRect Rect;
    };
    // Position 50, "0" 13 high; horizontal rulers 200 x 33, vertical 33 x 200.
    const Case cases[] = {
        {D::rdTop, S::hlsLine, C::rsdNormal, {49, 13, 50, 25}},
        {D::rdTop, S::hlsRect, C::rsdNormal, {1, 13, 50, 25}},
        {D::rdTop, S::hlsRect, C::rsdReverse, {50, 13, 200, 25}},
        {D::rdBottom, S::hlsLine, C::rsdReverse, {49, 8, 50, 19}},
        {D::rdBottom, S::hlsRect, C::rsdNormal, {1, 8, 50, 20}},
        {D::rdBottom, S::hlsRect, C::rsdReverse, {50, 8, 200, 20}},
        {D::rdLeft, S::hlsLine, C::rsdNormal, {14, 49, 25, 50}},
        {D::rdLeft, S::hlsRect, C::rsdNormal, {14, 1, 25, 50}},
        {D::rdLeft, S::hlsRect, C::rsdReverse, {14, 50, 25, 200}},
        {D::rdRight, S::hlsLine, C::rsdNormal, {8, 49, 19, 50}},
        {D::rdRight, S::hlsRect, C::rsdNormal, {8, 1, 19, 50}},
        {D::rdRight, S::hlsRect, C::rsdReverse, {8, 50, 19, 200}},
    };
    for (const Case& c : cases) {
        const bool h = IsHorizontal(c.Dir);
        EXPECT_EQ(HairLineRect(c.Dir, c.Style, c.ScaleDir, 50, h ? 200 : 33, h ? 33 : 200, 13), c.Rect)
            << static_cast<int>(c.Dir) << static_cast<int>(c.Style) << static_cast<int>(c.ScaleDir);
    }
}

// ---- the widget ----

namespace {

class PaintCounter : public QObject
{
  public:
    int Paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint) ++Paints;
        return false;
    }
};

// One pointer signal of the ruler: Down, Move or Up, the button (the right-button flag for moves), and where.
struct PointerEvent
{
    char Kind;
    int Button;
    int X, Y;
    bool operator==(const PointerEvent&) const = default;
    friend std::ostream& operator<<(std::ostream& os, const PointerEvent& e)
    {
        return os << e.Kind << e.Button << "(" << e.X << "," << e.Y << ")";
    }
};

class RsRulerWidget : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        Host.resize(400, 300);
        Ruler = new TRsRuler(&Host);
        Ruler->installEventFilter(&Counter);
        Host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Host));
        QCoreApplication::processEvents();
    }

    // How often the ruler paints while change runs and the events it posts are handled.
    int PaintsDuring(const std::function<void()>& change)
    {
        QCoreApplication::processEvents();
        Counter.Paints = 0;
        change();
        QCoreApplication::processEvents();
        return Counter.Paints;
    }

    QWidget Host;
    TRsRuler* Ruler = nullptr; // owned by Host
    PaintCounter Counter;
};

} // namespace

TEST_F(RsRulerWidget, StartsWithTheDocumentedDefaults)
{
    EXPECT_EQ(Ruler->size(), QSize(200, 33));
    EXPECT_EQ(Ruler->Units(), TRulerUnit::ruCenti);
    EXPECT_EQ(Ruler->Direction(), TRulerDir::rdTop);
    EXPECT_EQ(Ruler->ScaleDir(), TRulerScaleDir::rsdNormal);
    EXPECT_EQ(Ruler->Scale(), 100);
    EXPECT_EQ(Ruler->Offset(), 0);
    EXPECT_EQ(Ruler->HairLinePos(), -1);
    EXPECT_FALSE(Ruler->HairLine());
    EXPECT_TRUE(Ruler->ShowMinus());
    EXPECT_FALSE(Ruler->Flat());
}

TEST_F(RsRulerWidget, SettersRepaintOnlyOnRealChanges)
{
    EXPECT_EQ(PaintsDuring([&] { Ruler->SetScale(0); }), 0);
    EXPECT_EQ(PaintsDuring([&] { Ruler->SetScale(-5); }), 0);
    EXPECT_EQ(PaintsDuring([&] { Ruler->SetScale(100); }), 0);
    EXPECT_EQ(Ruler->Scale(), 100);
    EXPECT_GT(PaintsDuring([&] { Ruler->SetScale(200); }), 0);
    EXPECT_EQ(Ruler->Scale(), 200);

    EXPECT_EQ(PaintsDuring([&] { Ruler->SetOffset(0); }), 0);
    EXPECT_GT(PaintsDuring([&] { Ruler->SetOffset(12.5); }), 0);
    EXPECT_EQ(PaintsDuring([&] { Ruler->SetOffset(std::nan("")); }), 0);
    EXPECT_EQ(Ruler->Offset(), 12.5);

    EXPECT_EQ(PaintsDuring([&] { Ruler->SetShowMinus(true); }), 0);
    EXPECT_GT(PaintsDuring([&] { Ruler->SetFlat(true); }), 0);
    EXPECT_GT(PaintsDuring([&] { Ruler->SetTickColor(Qt::red); }), 0);
}

TEST_F(RsRulerWidget, DirectionAcrossOrientationsSwapsWidthAndHeight)
{
    Ruler->SetDirection(TRulerDir::rdLeft);
    EXPECT_EQ(Ruler->size(), QSize(33, 200));
    Ruler->SetDirection(TRulerDir::rdRight);
    EXPECT_EQ(Ruler->size(), QSize(33, 200));
    Ruler->SetDirection(TRulerDir::rdBottom);
    EXPECT_EQ(Ruler->size(), QSize(200, 33));
}

TEST_F(RsRulerWidget, UnitsKeepTheOffsetsPhysicalMeaning)
{
    Ruler->SetOffset(3); // centimetres
    Ruler->SetUnits(TRulerUnit::ruMilli);
    EXPECT_DOUBLE_EQ(Ruler->Offset(), 30);
    Ruler->SetUnits(TRulerUnit::ruInch);
    EXPECT_DOUBLE_EQ(Ruler->Offset(), 30 / 25.4);
    Ruler->SetUnits(TRulerUnit::ruPixel);
    EXPECT_DOUBLE_EQ(Ruler->Offset(), 30 * Ruler->PixelsPerInch() / 25.4);
    Ruler->SetUnits(TRulerUnit::ruMeter);
    EXPECT_DOUBLE_EQ(Ruler->Offset(), 0.03);
}

TEST_F(RsRulerWidget, PaintDrawsTheLayout)
{
    Ruler->SetUnits(TRulerUnit::ruPixel);
    Ruler->SetFlat(true);
    Ruler->SetColor(Qt::red);
    Ruler->SetScaleColor(Qt::yellow);
    Ruler->SetTickColor(Qt::blue);
    const QImage image = Ruler->grab().toImage();
    const TRulerLayout layout = Ruler->Layout();

    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(layout.Band.Left, layout.Band.Top), QColor(Qt::yellow));
    ASSERT_FALSE(layout.Ticks.empty());
    for (const TRulerTick& t : layout.Ticks)
        for (int y = t.Rect.Top; y < t.Rect.Bottom; ++y)
            ASSERT_EQ(image.pixelColor(t.Rect.Left, y), QColor(Qt::blue)) << t.Pos << "," << y;
    EXPECT_DOUBLE_EQ(Ruler->TickStep(), 5);

    // The raised edge covers the control's border unless the ruler is flat.
    Ruler->SetFlat(false);
    EXPECT_NE(Ruler->grab().toImage().pixelColor(0, 0), QColor(Qt::red));
}

TEST_F(RsRulerWidget, HairLineInvertsInPlaceAndARepaintForgetsIt)
{
    Ruler->SetHairLine(true);
    const QImage plain = Ruler->grab().toImage();
    const int t0 = Ruler->fontMetrics().height();
    auto inverted = [&](int pos) {
        const TRect r = HairLineRect(TRulerDir::rdTop, THairLineStyle::hlsLine, TRulerScaleDir::rsdNormal,
                                     pos, 200, 33, t0);
        QImage expected = plain.copy();
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                expected.setPixel(x, y, plain.pixel(x, y) ^ 0x00FFFFFF);
        return expected;
    };

    Ruler->SetHairLinePos(60);
    EXPECT_EQ(Ruler->grab().toImage(), inverted(60));
    Ruler->SetHairLinePos(120); // erased at 60, drawn at 120
    EXPECT_EQ(Ruler->grab().toImage(), inverted(120));
    Ruler->SetHairLinePos(-1);
    EXPECT_EQ(Ruler->grab().toImage(), plain);

    Ruler->SetHairLinePos(80);
    Ruler->SetOffset(10); // a full repaint
    Ruler->grab();
    EXPECT_EQ(Ruler->HairLinePos(), -1);
    Ruler->SetOffset(0);
    EXPECT_EQ(Ruler->grab().toImage(), plain);
}

TEST_F(RsRulerWidget, KeepsThePointerWhileAButtonIsHeld)
{
    Ruler->move(20, 0);
    std::vector<PointerEvent> events;
    QObject::connect(Ruler, &TRsBaseRuler::OnMouseDown, [&](TMouseButton b, TShiftState, int x, int y) {
        events.push_back({'D', static_cast<int>(b), x, y});
    });
    QObject::connect(Ruler, &TRsBaseRuler::OnMouseMove, [&](TShiftState s, int x, int y) {
        events.push_back({'M', int(s & ssRight), x, y});
    });
    QObject::connect(Ruler, &TRsBaseRuler::OnMouseUp, [&](TMouseButton b, TShiftState, int x, int y) {
        events.push_back({'U', static_cast<int>(b), x, y});
    });

    QWindow* window = Host.windowHandle();
    QTest::mouseMove(window, QPoint(70, 10)); // no button: still reported
    QTest::mousePress(window, Qt::RightButton, {}, QPoint(80, 10));
    QTest::mouseMove(window, QPoint(90, 150)); // over the host, below the ruler
    QTest::mouseRelease(window, Qt::RightButton, {}, QPoint(90, 160));
    QTest::mouseMove(window, QPoint(90, 170)); // released: the host gets it
    QCoreApplication::processEvents();

    // Press and release come with a move to their point first.
    const int right = static_cast<int>(TMouseButton::mbRight);
    const std::vector<PointerEvent> expected = {{'M', 0, 50, 10},        {'M', 0, 60, 10},
                                                {'D', right, 60, 10},    {'M', ssRight, 70, 150},
                                                {'M', ssRight, 70, 160}, {'U', right, 70, 160}};
    EXPECT_EQ(events, expected);
}
