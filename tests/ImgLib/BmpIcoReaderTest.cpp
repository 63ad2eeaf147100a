#include "ImageTestSupport.h"

#include "ImgLib/BmpReader.h"
#include "ImgLib/IcoReader.h"
#include "ImgLib/PictureFile.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

// The stored colours of a reference, opaque: what a BMP reader gives.
TBitmap32 StoredColours(const std::string& path)
{
    TBitmap32 b = LoadReference(path);
    QImage image(QString::fromStdString(path));
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.SetPixel(x, y, image.pixel(x, y) | 0xFF000000u);
    return b;
}

} // namespace

// Every pixel format ImageMagick writes, from a real photo: 1, 4 and 8 bits with a colour table, RLE8,
// 16 bits in two layouts, 24 bits, and 32 bits with alpha (whose colours are kept, the alpha ignored).
TEST(BmpReader, PixelFormatsMatchImageMagick)
{
    QTemporaryDir dir;
    const QString rose = QString::fromStdString(kMagickImages + "/rose.png");
    const QString wand = QString::fromStdString(kMagickImages + "/wand.png");
    const std::vector<std::pair<const char*, QStringList>> variants = {
        {"1", {rose, "-monochrome", "BMP3:"}},
        {"4", {rose, "-colors", "16", "-compress", "None", "BMP3:"}},
        {"8", {rose, "-colors", "200", "-compress", "None", "BMP3:"}},
        {"rle8", {rose, "-colors", "200", "-compress", "RLE", "BMP3:"}},
        {"565", {rose, "-define", "bmp:subtype=RGB565", "BMP:"}},
        {"555", {rose, "-define", "bmp:subtype=RGB555", "BMP:"}},
        {"24", {rose, "-type", "truecolor", "BMP3:"}},
        {"32", {wand, "BMP:"}},
    };
    for (auto [name, arguments] : variants) {
        SCOPED_TRACE(name);
        const QString file = dir.filePath(QString(name) + ".bmp");
        arguments.last() += file;
        ASSERT_EQ(QProcess::execute("convert", arguments), 0);
        TBitmap32 ours;
        const TReadResult result = ReadFile(ReadBmp, file.toStdString(), ours);
        ASSERT_TRUE(result.Ok) << result.Error;
        const std::optional<TBitmap32> theirs =
            DecodeWithTool("convert", {file, "-alpha", "off", "-depth", "8", "ppm:-"});
        ASSERT_TRUE(theirs);
        const TPixelDiff diff = ComparePixels(ours, *theirs, 0);
        EXPECT_TRUE(diff.SameSize);
        // 16-bit channels widen to 8 bits by shifting in ImageMagick and by scaling in Qt.
        EXPECT_LE(diff.MaxChannel, std::string(name).starts_with("5") ? 7 : 0);
        EXPECT_TRUE(AllOpaque(ours));
    }
}

TEST(BmpReader, RealFilesMatchTheirReferences)
{
    // A bit-field file with the 56-byte header, and a plain 24-bit one.
    TBitmap32 ours;
    ASSERT_TRUE(ReadFile(ReadBmp, kPixbufImages + "/reftests/mandatory-bitmasks.bmp", ours).Ok);
    EXPECT_EQ(
        ComparePixels(ours, StoredColours(kPixbufImages + "/reftests/mandatory-bitmasks.bmp.ref.png"), 0)
            .MaxChannel,
        0);
    ASSERT_TRUE(ReadFile(ReadBmp, kPixbufImages + "/randomly-modified/valid.1.bmp", ours).Ok);
    const std::optional<TBitmap32> theirs =
        DecodeWithMagick(kPixbufImages + "/randomly-modified/valid.1.bmp");
    ASSERT_TRUE(theirs);
    EXPECT_EQ(ComparePixels(ours, *theirs, 0).MaxChannel, 0);
}

TEST(BmpReader, DamagedFilesAreErrorsAndLeaveOutputAlone)
{
    std::vector<std::string> files = FilesIn(kPixbufImages + "/fail", {".bmp"});
    for (const char* name : {"/bmp-line-overflow.bmp", "/bug775242.bmp", "/decodecolormap.bmp"})
        files.push_back(kPixbufImages + "/randomly-modified" + name);
    files.push_back(kPixbufDir + "/cve-2015-4491.bmp");
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        TBitmap32 out(2, 2);
        out.Clear(0xFF123456);
        const TReadResult result = ReadFile(ReadBmp, file, out);
        EXPECT_FALSE(result.Ok);
        EXPECT_FALSE(result.Error.empty());
        EXPECT_EQ(out.Pixel(1, 1), 0xFF123456u);
    }
}

TEST(BmpReader, TruncatedPixelDataIsAnError)
{
    const std::vector<std::uint8_t> whole = ReadBytes(kPixbufImages + "/randomly-modified/valid.1.bmp");
    for (std::size_t length : {std::size_t{10}, std::size_t{54}, whole.size() / 2, whole.size() - 3}) {
        SCOPED_TRACE(length);
        TBitmap32 out;
        EXPECT_FALSE(ReadBmp(std::span(whole).first(length), out).Ok);
    }
}

// The first icon of each file, drawn over white.
TEST(IcoReader, RealIconsMatchFirstImageOverWhite)
{
    for (const std::string& file : {kMagickImages + "/ImageMagick.ico", kMagickImages + "/wand.ico",
                                    kPixbufImages + "/reftests/squares.ico"}) {
        SCOPED_TRACE(file);
        TBitmap32 ours;
        ASSERT_TRUE(ReadFile(ReadIco, file, ours).Ok);
        const std::optional<TBitmap32> theirs = DecodeWithMagick(file + "[0]");
        ASSERT_TRUE(theirs);
        const TPixelDiff diff = ComparePixels(ours, *theirs, 1);
        EXPECT_TRUE(diff.SameSize);
        EXPECT_EQ(diff.FractionOver, 0) << "max " << diff.MaxChannel;
        EXPECT_TRUE(AllOpaque(ours));
    }
}

// A broken icon fails like any other picture, with the reason, and leaves the output alone; whatever Qt
// still reads of one is a real picture, never an empty one passed off as read.
TEST(IcoReader, DamagedIconsFailWithReason)
{
    std::vector<std::string> files = FilesIn(kPixbufImages + "/fail", {".ico"});
    for (const std::string& f : FilesIn(kPixbufImages + "/randomly-modified", {".ico"}))
        files.push_back(f);
    ASSERT_FALSE(files.empty());
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        TBitmap32 out(2, 2);
        out.Clear(0xFF123456);
        const TReadResult result = ReadFile(ReadIco, file, out);
        if (result.Ok) {
            EXPECT_FALSE(out.Empty());
            EXPECT_TRUE(AllOpaque(out));
        } else {
            EXPECT_NE(result.Error.find("파일"), std::string::npos) << result.Error;
            EXPECT_EQ(out.Width(), 2);
            EXPECT_EQ(out.Pixel(0, 0), 0xFF123456u);
        }
    }
    // These opened as empty white pictures before.
    for (const std::string name : {"fail/bug778204.ico", "randomly-modified/bad-header.ico"}) {
        TBitmap32 out;
        const TReadResult result =
            ReadPictureFile(kPixbufImages + "/" + name, *PictureFormats().FindByExtension("ico"), out);
        EXPECT_FALSE(result.Ok) << name;
        EXPECT_NE(result.Error.find("이미지 파일을 읽을 수 없습니다"), std::string::npos) << result.Error;
        EXPECT_NE(result.Error.find("손상"), std::string::npos) << result.Error;
    }
}
