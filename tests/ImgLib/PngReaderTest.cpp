#include "ImageTestSupport.h"

#include "ImgLib/PictureFile.h"
#include "ImgLib/PngReader.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zlib.h>

using namespace tavrin;
using namespace tavrin::test;

// Palette, 1-bit and 8-bit grey, 8- and 16-bit colour with and without alpha, and libpng's interlaced
// pngtest.png: the same pixels as netpbm's pngtopnm mixes over white (it blends 16-bit alpha before it
// rounds to 8 bits, we after, hence differences of up to 2). Gamma chunks change no pixel, in both.
TEST(PngReader, RealFilesMatchPngtopnmOverWhite)
{
    std::vector<std::string> files = FilesIn(kMagickImages, {".png"});
    std::erase_if(
        files, [](const std::string& f) { return f.ends_with("/logo.png") || f.ends_with("/wizard.png"); });
    for (const char* name : {"/test-image.png", "/dpi.png", "/icc-profile.png", "/bug725582-testrotate.png",
                             "/premature-end.png"})
        files.push_back(kPixbufDir + name);
    files.push_back(kPixbufImages + "/randomly-modified/valid.1.png");
    files.push_back(kPngTest);
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        TBitmap32 ours;
        const TReadResult result = ReadFile(ReadPng, file, ours);
        ASSERT_TRUE(result.Ok) << result.Error;
        const std::optional<TBitmap32> theirs =
            DecodeWithTool("pngtopnm", {"-mix", "-background=#ffffff", QString::fromStdString(file)});
        ASSERT_TRUE(theirs);
        const TPixelDiff diff = ComparePixels(ours, *theirs, 0);
        EXPECT_TRUE(diff.SameSize);
        EXPECT_LE(diff.MaxChannel, 2);
        EXPECT_TRUE(AllOpaque(ours));
    }
}

TEST(PngReader, AlphaIsCompositedOverWhite)
{
    // pngtest.png is interlaced RGBA; its corner pixel is fully transparent.
    TBitmap32 out;
    ASSERT_TRUE(ReadFile(ReadPng, kPngTest, out).Ok);
    EXPECT_EQ(out.Width(), 91);
    EXPECT_EQ(out.Height(), 69);
    EXPECT_EQ(out.Pixel(0, 0), clWhite32);
}

TEST(PngReader, DamagedFilesAreErrorsAndLeaveOutputAlone)
{
    // bug696331.png is cut off inside its image data: an error, not a partly drawn picture.
    std::vector<std::string> files = FilesIn(kPixbufImages + "/fail", {".png"});
    files.push_back(kPixbufImages + "/reftests/bug696331.png");
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        TBitmap32 out(2, 2);
        out.Clear(0xFF123456);
        const TReadResult result = ReadFile(ReadPng, file, out);
        EXPECT_FALSE(result.Ok);
        EXPECT_FALSE(result.Error.empty());
        EXPECT_EQ(out.Pixel(1, 1), 0xFF123456u);
    }
}

// Files are read as a stream, not whole: the same picture as from memory, and the same errors when cut.
TEST(PngReader, TruncationAnywhereIsAnErrorInMemoryAndFromFile)
{
    const TPictureFormat& png = *PictureFormats().FindByExtension("png");
    ASSERT_NE(png.ReadStream, nullptr);
    const std::vector<std::uint8_t> whole = ReadBytes(kPngTest);
    TBitmap32 fromMemory, fromFile;
    ASSERT_TRUE(ReadPng(whole, fromMemory).Ok);
    ASSERT_TRUE(ReadPictureFile(kPngTest, png, fromFile).Ok);
    EXPECT_EQ(ComparePixels(fromMemory, fromFile, 0).MaxChannel, 0);

    QTemporaryDir dir;
    const std::string cut = dir.filePath("cut.png").toStdString();
    for (std::size_t length :
         {std::size_t{0}, std::size_t{8}, std::size_t{40}, whole.size() / 2, whole.size() - 1}) {
        SCOPED_TRACE(length);
        TBitmap32 out;
        EXPECT_FALSE(ReadPng(std::span(whole).first(length), out).Ok);
        EXPECT_TRUE(out.Empty());
        QFile file(QString::fromStdString(cut));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(reinterpret_cast<const char*>(whole.data()), static_cast<qint64>(length));
        file.close();
        const TReadResult result = ReadPictureFile(cut, png, out);
        EXPECT_FALSE(result.Ok);
        EXPECT_NE(result.Error.find("끊겨"), std::string::npos) << result.Error;
        EXPECT_TRUE(out.Empty());
    }
}

TEST(PngReader, PictureBeyondPixelBudgetIsRefused)
{
    TBitmap32 out;
    const TReadResult result = ReadFile(ReadPng, kPixbufDir + "/large.png", out);
    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Error.find("25200 × 33300"), std::string::npos) << result.Error;
}

// A small file that claims a large picture (16000 x 16000 is within the budget) is refused before the
// picture is allocated: deflate cannot pack that much image data into so few bytes.
TEST(PngReader, ClaimedSizeBeyondTheDataIsRefused)
{
    std::vector<std::uint8_t> png = ReadBytes(kPngTest);
    const std::uint8_t size[] = {0, 0, 0x3E, 0x80, 0, 0, 0x3E, 0x80}; // 16000 x 16000, big-endian
    std::copy(std::begin(size), std::end(size), png.begin() + 16);
    const std::uint32_t crc = crc32(crc32(0, nullptr, 0), png.data() + 12, 17); // "IHDR" and its data
    for (int i = 0; i < 4; ++i)
        png[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    TBitmap32 out;
    const TReadResult result = ReadPng(png, out);
    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Error.find("too little image data"), std::string::npos) << result.Error;
}
