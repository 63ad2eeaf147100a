#include "ImageTestSupport.h"

#include "ImgLib/EmfReader.h"
#include "ImgLib/WmfReader.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace tavrin;
using namespace tavrin::test;

namespace {

struct TDrawingCase
{
    std::string File;
    std::string Reference;
    double MaxOver32; // fraction of pixels off by more than 32 in some channel: only anti-aliased edges
    double MaxOver8;
};

TPictureReader ReaderFor(const std::string& file)
{
    return file.ends_with(".emf") ? ReadEmf : ReadWmf;
}

// The WMF readings are compared with the references drawn from the WMF records; the EMF ones of tiny16 and
// banner with those too, because the EMF references of these two are shrunk by up to 2 px.
const std::vector<TDrawingCase> kDrawings = {
    {"shapes.emf", "shapes.emf.ref.png", 0.001, 0.02},
    {"lines.emf", "lines.emf.ref.png", 0.001, 0.02},
    {"background.emf", "background.emf.ref.png", 0.001, 0.02},
    {"image.emf", "image.emf.ref.png", 0.001, 0.02},
    {"tiny16.emf", "wmf-records-only/tiny16.wmf.ref.png", 0, 0.01},
    {"banner.emf", "wmf-records-only/banner.wmf.ref.png", 0.001, 0.02},
    {"shapes.wmf", "wmf-records-only/shapes.wmf.ref.png", 0.001, 0.02},
    {"lines.wmf", "wmf-records-only/lines.wmf.ref.png", 0.001, 0.02},
    {"background.wmf", "wmf-records-only/background.wmf.ref.png", 0.001, 0.02},
    // The 4x enlarged bitmap is drawn pixel by pixel, as the file's stretch mode asks; the reference smooths
    // it.
    {"image.wmf", "wmf-records-only/image.wmf.ref.png", 0.02, 0.05},
    {"tiny16.wmf", "wmf-records-only/tiny16.wmf.ref.png", 0, 0.01},
    {"banner.wmf", "wmf-records-only/banner.wmf.ref.png", 0.001, 0.02},
    {"wmf-records-only/shapes.wmf", "wmf-records-only/shapes.wmf.ref.png", 0.001, 0.02},
    {"wmf-records-only/image.wmf", "wmf-records-only/image.wmf.ref.png", 0.02, 0.05},
};

struct TTextCase
{
    std::string File;
    std::string Reference;
    std::vector<std::pair<int, int>> Lines; // rows of each line of text
};

const std::vector<TTextCase> kTexts = {
    {"text.emf", "text.emf.ref.png", {{0, 70}, {70, 130}, {130, 208}}},
    {"text.wmf", "wmf-records-only/text.wmf.ref.png", {{0, 70}, {70, 130}, {130, 208}}},
    {"text_korean.emf", "text_korean.emf.ref.png", {{0, 90}, {90, 155}}},
    {"text_korean.wmf", "wmf-records-only/text_korean.wmf.ref.png", {{0, 90}, {90, 155}}},
    {"wmf-records-only/text_korean.wmf", "wmf-records-only/text_korean.wmf.ref.png", {{0, 90}, {90, 155}}},
};

TColor32 StrongestInk(const TBitmap32& b, int top, int bottom)
{
    TColor32 best = clWhite32;
    int bestInk = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const TColor32 p = b.Pixel(x, y);
            const int ink = 765 - RedOf(p) - GreenOf(p) - BlueOf(p);
            if (ink > bestInk) {
                bestInk = ink;
                best = p;
            }
        }
    return best;
}

bool HasColourNear(const TBitmap32& b, int top, int bottom, TColor32 colour, int tolerance)
{
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const TColor32 p = b.Pixel(x, y);
            if (std::abs(RedOf(p) - RedOf(colour)) <= tolerance &&
                std::abs(GreenOf(p) - GreenOf(colour)) <= tolerance &&
                std::abs(BlueOf(p) - BlueOf(colour)) <= tolerance)
                return true;
        }
    return false;
}

TBitmap32 Read(const std::string& file)
{
    TBitmap32 out;
    const TReadResult result = ReadFile(ReaderFor(file), MetafilePath(file), out);
    EXPECT_TRUE(result.Ok) << result.Error;
    return out;
}

} // namespace

// Shapes, positions and colours as in the reference renderings, at the metafile's own size, over white.
TEST(MetafileReader, DrawingsMatchReferenceRenderings)
{
    for (const TDrawingCase& c : kDrawings) {
        SCOPED_TRACE(c.File);
        const TBitmap32 ours = Read(c.File);
        const TBitmap32 reference = LoadReference(MetafilePath(c.Reference));
        const TPixelDiff coarse = ComparePixels(ours, reference, 32);
        ASSERT_TRUE(coarse.SameSize) << ours.Width() << " x " << ours.Height();
        EXPECT_LE(coarse.FractionOver, c.MaxOver32);
        EXPECT_LE(ComparePixels(ours, reference, 8).FractionOver, c.MaxOver8);
        EXPECT_TRUE(AllOpaque(ours));
    }
}

// tiny16 is white with a red square at pixels 2-7 and a blue one at 8-13, in both formats.
TEST(MetafileReader, TinyPictureIsGeometricallyExact)
{
    TBitmap32 expected(16, 16);
    expected.Clear(clWhite32);
    expected.FillRect(2, 2, 8, 8, 0xFFFF0000);
    expected.FillRect(8, 8, 14, 14, 0xFF0000FF);
    for (const std::string file : {"tiny16.emf", "tiny16.wmf", "wmf-records-only/tiny16.wmf"}) {
        SCOPED_TRACE(file);
        EXPECT_LE(ComparePixels(Read(file), expected, 0).MaxChannel, 8);
    }
}

// Text is compared loosely: each line's place, extent and colour; glyph rasterisation may differ.
TEST(MetafileReader, TextLinesMatchReferenceRenderings)
{
    for (const TTextCase& c : kTexts) {
        SCOPED_TRACE(c.File);
        const TBitmap32 ours = Read(c.File);
        const TBitmap32 reference = LoadReference(MetafilePath(c.Reference));
        ASSERT_TRUE(ComparePixels(ours, reference, 0).SameSize);
        for (auto [top, bottom] : c.Lines) {
            SCOPED_TRACE(top);
            const TInkBox a = InkBox(ours, 64, 0, top, -1, bottom);
            const TInkBox b = InkBox(reference, 64, 0, top, -1, bottom);
            ASSERT_GT(b.Pixels, 0);
            EXPECT_NEAR(a.Left, b.Left, 3);
            EXPECT_NEAR(a.Top, b.Top, 3);
            EXPECT_NEAR(a.Bottom, b.Bottom, 3);
            EXPECT_NEAR(a.Right, b.Right, 3 + (b.Right - b.Left) / 50);
            EXPECT_NEAR(double(a.Pixels), double(b.Pixels), 0.3 * b.Pixels);
            EXPECT_TRUE(HasColourNear(ours, top, bottom, StrongestInk(reference, top, bottom), 24));
        }
    }
}

// libwmf, an independent WMF renderer, agrees on the shapes and colours of the drawings it can play.
// (It crashes on background.wmf and draws no Korean text, which is why it is not the program's reader.)
TEST(MetafileReader, WmfPlayerAgreesWithLibwmf)
{
    for (const std::string name : {"shapes", "lines", "image", "tiny16", "banner"}) {
        SCOPED_TRACE(name);
        const std::string file = "wmf-records-only/" + name + ".wmf";
        const TBitmap32 ours = Read(file);
        const std::optional<TBitmap32> theirs = DecodeWithTool(
            TAVRIN_LIBWMF2PPM, {QString::fromStdString(MetafilePath(file)), QString::number(ours.Width()),
                                QString::number(ours.Height())});
        ASSERT_TRUE(theirs);
        // libwmf places shapes up to a pixel off and smooths stretched bitmaps.
        EXPECT_TRUE(ComparePixels(ours, *theirs, 0).SameSize);
        EXPECT_LE(FractionWithoutNearMatch(ours, *theirs, 1, 48), 0.02);
        EXPECT_LE(FractionWithoutNearMatch(*theirs, ours, 1, 48), 0.02);
    }
}

// Without a placeable header a WMF has no physical size: one logical unit is one pixel, over the window
// its records set up (tiny16 is in 0.01 mm, so it comes out 423 pixels wide).
TEST(MetafileReader, WmfWithoutPlaceableHeaderUsesItsWindow)
{
    const std::vector<std::uint8_t> placeable = ReadBytes(MetafilePath("wmf-records-only/tiny16.wmf"));
    const std::vector<std::uint8_t> bare(placeable.begin() + 22, placeable.end());
    TBitmap32 out;
    const TReadResult result = ReadWmf(bare, out);
    ASSERT_TRUE(result.Ok) << result.Error;
    EXPECT_EQ(out.Width(), 423);
    EXPECT_EQ(out.Height(), 423);
    EXPECT_EQ(out.Pixel(10, 10), clWhite32);
    EXPECT_EQ(out.Pixel(100, 100), 0xFFFF0000u);
    EXPECT_EQ(out.Pixel(300, 300), 0xFF0000FFu);
}

TEST(MetafileReader, NullPenOutlinesAreRemovedFromConvertedSvg)
{
    EXPECT_EQ(
        RemoveNullPenOutlines(R"(<path d="M 0,0" stroke-width="1px" stroke="#FF0000"  fill="#FF0000" />)"),
        R"(<path d="M 0,0" stroke="none"  fill="#FF0000" />)");
    const std::string realPen = R"(<path stroke="#000000" stroke-width="1.0000" fill="none" />)";
    EXPECT_EQ(RemoveNullPenOutlines(realPen), realPen);
}

// Text given as glyph indices would make libemf2svg shut fontconfig down under Qt, which aborts once Qt
// has drawn text; it is left out and the rest of the picture drawn.
TEST(MetafileReader, EmfGlyphIndexTextIsLeftOut)
{
    Read("text.wmf"); // Qt draws text, so fontconfig is in use
    std::vector<std::uint8_t> emf = ReadBytes(MetafilePath("text.emf"));
    int changed = 0;
    for (std::size_t at = 0; at + 8 <= emf.size();) {
        std::uint32_t type = 0, size = 0;
        std::memcpy(&type, emf.data() + at, 4);
        std::memcpy(&size, emf.data() + at + 4, 4);
        if (type == 84) { // EMR_EXTTEXTOUTW: fOptions |= ETO_GLYPH_INDEX
            emf[at + 52] |= 0x10;
            ++changed;
        }
        at += size;
    }
    ASSERT_EQ(changed, 3);
    TBitmap32 out;
    const TReadResult result = ReadEmf(emf, out);
    ASSERT_TRUE(result.Ok) << result.Error;
    EXPECT_EQ(out.Width(), 412);
    EXPECT_EQ(InkBox(out, 64).Pixels, 0);
}

TEST(MetafileReader, DamagedAndTruncatedFilesAreErrors)
{
    for (const std::string file : {"shapes.emf", "shapes.wmf", "text.wmf", "image.emf"}) {
        const std::vector<std::uint8_t> whole = ReadBytes(MetafilePath(file));
        for (std::size_t length :
             {std::size_t{0}, std::size_t{10}, std::size_t{100}, whole.size() / 2, whole.size() - 4}) {
            SCOPED_TRACE(file + " " + std::to_string(length));
            TBitmap32 out;
            const TReadResult result = ReaderFor(file)(std::span(whole).first(length), out);
            EXPECT_FALSE(result.Ok);
            EXPECT_FALSE(result.Error.empty());
            EXPECT_TRUE(out.Empty());
        }
    }
}

TEST(MetafileReader, DeclaredSizeBeyondPixelBudgetIsRefused)
{
    // A placeable frame of 32767 x 32767 units at 100 units per inch is 31456 x 31456 pixels.
    std::vector<std::uint8_t> wmf = ReadBytes(MetafilePath("tiny16.wmf"));
    const std::int16_t frame[4] = {0, 0, 32767, 32767};
    const std::uint16_t inch = 100;
    std::memcpy(wmf.data() + 6, frame, sizeof frame);
    std::memcpy(wmf.data() + 14, &inch, sizeof inch);
    TBitmap32 out;
    const TReadResult wmfResult = ReadWmf(wmf, out);
    EXPECT_FALSE(wmfResult.Ok);
    EXPECT_NE(wmfResult.Error.find("31456 × 31456"), std::string::npos) << wmfResult.Error;

    // An EMF frame of 100 m square.
    std::vector<std::uint8_t> emf = ReadBytes(MetafilePath("tiny16.emf"));
    const std::int32_t emfFrame[4] = {0, 0, 10'000'000, 10'000'000};
    std::memcpy(emf.data() + 24, emfFrame, sizeof emfFrame);
    const TReadResult emfResult = ReadEmf(emf, out);
    EXPECT_FALSE(emfResult.Ok);
    EXPECT_NE(emfResult.Error.find("너무 큽니다"), std::string::npos) << emfResult.Error;
    EXPECT_TRUE(out.Empty());
}
