#include "ImageTestSupport.h"

#include "ImgLib/JpegReader.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

using namespace tavrin;
using namespace tavrin::test;

namespace {

std::optional<TBitmap32> DecodeWithDjpeg(const std::string& path)
{
    return DecodeWithTool("djpeg", {"-ppm", QString::fromStdString(path)});
}

} // namespace

// Colour 4:2:0, 4:2:2 and 4:4:4, greyscale, progressive, a stray-bytes warning: every file from the Debian
// packages gives exactly the pixels of libjpeg-turbo's own decoder, fully opaque.
TEST(JpegReader, RealFilesMatchDjpegExactly)
{
    std::vector<std::string> files = FilesIn(kMagickImages, {".jpg"});
    for (const char* name : {"/bug143608-comment.jpg", "/dpi.jpeg", "/icc-profile.jpeg"})
        files.push_back(kPixbufDir + name);
    files.push_back(kPixbufImages + "/reftests/cat.jpg");
    files.push_back(kPixbufImages + "/randomly-modified/valid.1.jpeg");
    files.push_back(kPixbufImages + "/randomly-modified/valid.2.jpeg");
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        TBitmap32 ours;
        const TReadResult result = ReadFile(ReadJpeg, file, ours);
        ASSERT_TRUE(result.Ok) << result.Error;
        const std::optional<TBitmap32> theirs = DecodeWithDjpeg(file);
        ASSERT_TRUE(theirs);
        const TPixelDiff diff = ComparePixels(ours, *theirs, 0);
        EXPECT_TRUE(diff.SameSize);
        EXPECT_EQ(diff.MaxChannel, 0);
        EXPECT_TRUE(AllOpaque(ours));
    }
}

// CMYK files (as written by ImageMagick from a real photo, with the Adobe marker) come out in RGB.
TEST(JpegReader, CmykFileIsConverted)
{
    QTemporaryDir dir;
    const std::string cmyk = dir.filePath("cmyk.jpg").toStdString();
    ASSERT_EQ(
        QProcess::execute("convert", {QString::fromStdString(kMagickImages + "/rose.jpg"), "-colorspace",
                                      "CMYK", "-quality", "95", QString::fromStdString(cmyk)}),
        0);
    TBitmap32 ours;
    ASSERT_TRUE(ReadFile(ReadJpeg, cmyk, ours).Ok);
    const std::optional<TBitmap32> theirs = DecodeWithMagick(cmyk);
    ASSERT_TRUE(theirs);
    const TPixelDiff diff = ComparePixels(ours, *theirs, 6);
    EXPECT_TRUE(diff.SameSize);
    EXPECT_LT(diff.FractionOver, 0.01) << "max " << diff.MaxChannel;
}

// Damaged and truncated files are errors, with the reason in Korean, and leave the output as it was.
TEST(JpegReader, DamagedFilesAreErrorsAndLeaveOutputAlone)
{
    for (const std::string& file :
         {kPixbufImages + "/randomly-modified/bug775697.jpg", kPixbufImages + "/fail/CVE-2017-2862.jpg",
          kPixbufDir + "/bug775218.jpg", kPixbufDir + "/premature-end.jpg"}) {
        SCOPED_TRACE(file);
        TBitmap32 out(3, 3);
        out.Clear(0xFF123456);
        const TReadResult result = ReadFile(ReadJpeg, file, out);
        EXPECT_FALSE(result.Ok);
        EXPECT_NE(result.Error.find("파일"), std::string::npos) << result.Error;
        EXPECT_EQ(out.Width(), 3);
        EXPECT_EQ(out.Pixel(1, 1), 0xFF123456u);
    }
}

TEST(JpegReader, TruncationAnywhereIsAnError)
{
    const std::vector<std::uint8_t> whole = ReadBytes(kMagickImages + "/rose.jpg");
    for (std::size_t length :
         {std::size_t{0}, std::size_t{2}, std::size_t{300}, whole.size() / 2, whole.size() - 2}) {
        SCOPED_TRACE(length);
        TBitmap32 out;
        const TReadResult result = ReadJpeg(std::span(whole).first(length), out);
        EXPECT_FALSE(result.Ok);
        EXPECT_NE(result.Error.find("끊겨"), std::string::npos) << result.Error;
        EXPECT_TRUE(out.Empty());
    }
}

// large.jpg claims 22500 x 33300 pixels: refused from its header, before anything is allocated for it.
TEST(JpegReader, PictureBeyondPixelBudgetIsRefused)
{
    TBitmap32 out;
    const TReadResult result = ReadFile(ReadJpeg, kPixbufDir + "/large.jpg", out);
    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Error.find("22500 × 33300"), std::string::npos) << result.Error;
}

// A small file that claims a large picture (16000 x 16000 is within the budget) is refused before the
// picture is allocated: it cannot hold two bits for each of its blocks.
TEST(JpegReader, ClaimedSizeBeyondTheDataIsRefused)
{
    std::vector<std::uint8_t> jpeg = ReadBytes(kMagickImages + "/rose.jpg");
    const std::array<std::uint8_t, 2> marker = {0xFF, 0xC0};
    const auto sof = std::search(jpeg.begin(), jpeg.end(), marker.begin(), marker.end());
    ASSERT_NE(sof, jpeg.end());
    const std::size_t at = static_cast<std::size_t>(sof - jpeg.begin()) + 5; // height, then width
    for (std::size_t i : {at, at + 2}) {
        jpeg[i] = 16000 >> 8;
        jpeg[i + 1] = 16000 & 0xFF;
    }
    TBitmap32 out;
    const TReadResult result = ReadJpeg(jpeg, out);
    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Error.find("too little image data"), std::string::npos) << result.Error;
}

// Arithmetic coding (sequential and progressive, and a smooth gradient that codes in few bytes) loads as
// libjpeg-turbo decodes it. (A few bytes that claim a huge picture are in CraftedFilesTest.)
TEST(JpegReader, ArithmeticCodedFilesMatchDjpeg)
{
    QTemporaryDir dir;
    const QString photo = dir.filePath("photo.ppm");
    const QString gradient = dir.filePath("gradient.ppm");
    ASSERT_EQ(QProcess::execute("convert", {QString::fromStdString(kMagickImages + "/rose.jpg"), photo}), 0);
    ASSERT_EQ(QProcess::execute("convert", {"-size", "1200x800", "gradient:red-blue", gradient}), 0);
    const std::vector<std::pair<QString, QStringList>> sources = {
        {photo, {"-arithmetic"}}, {photo, {"-arithmetic", "-progressive"}}, {gradient, {"-arithmetic"}}};
    int index = 0;
    for (const auto& [source, options] : sources) {
        const QString path = dir.filePath(QString("arith%1.jpg").arg(index++));
        QProcess encode;
        encode.setStandardInputFile(source);
        encode.setStandardOutputFile(path);
        encode.start("cjpeg", options);
        ASSERT_TRUE(encode.waitForFinished());
        const std::string file = path.toStdString();
        SCOPED_TRACE(file);
        TBitmap32 ours;
        const TReadResult result = ReadFile(ReadJpeg, file, ours);
        ASSERT_TRUE(result.Ok) << result.Error;
        const std::optional<TBitmap32> theirs = DecodeWithDjpeg(file);
        ASSERT_TRUE(theirs);
        EXPECT_EQ(ComparePixels(ours, *theirs, 0).MaxChannel, 0);
    }
}
