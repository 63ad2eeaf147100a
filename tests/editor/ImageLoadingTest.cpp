#include "editor/ImageLoading.h"

#include "ImgLib/JpegReader.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

using namespace tavrin;

namespace {

const QString kMagickImages = "/usr/share/doc/imagemagick-6-common/html/images";
const QString kPixbufImages = "/usr/libexec/installed-tests/gdk-pixbuf/test-images";

bool IsRed(TColor32 p)
{
    return RedOf(p) > 200 && GreenOf(p) < 60 && BlueOf(p) < 60;
}

struct ImageLoading : ::testing::Test
{
    QTemporaryDir dir;

    // A copy of a real picture under a name of our choosing.
    QString Copy(const QString& source, const QString& name)
    {
        const QString target = dir.filePath(name);
        EXPECT_TRUE(QFile::copy(source, target));
        return target;
    }
};

} // namespace

TEST_F(ImageLoading, LastThreeCharactersUpperCasedOrJpegChooseTheReader)
{
    const QString rose = kMagickImages + "/rose.jpg";
    struct TCase
    {
        QString Source, Name;
        bool Loads;
    };
    const std::vector<TCase> cases = {
        {rose, "photo.JPG", true},
        {rose, "photo.jpg", true},
        {rose, "photo.jpeg", true}, // the JPEG's four-letter ending
        {rose, "photo.JPEG", true},
        {rose, "photo.peg", false},
        {kMagickImages + "/rose.png", "LOGO.Png", true},
        {kPixbufImages + "/randomly-modified/valid.1.bmp", "mapbmp", true}, // no dot: still BMP
        {kMagickImages + "/rose.png", "notes.txt", false},
        {kMagickImages + "/rose.png", "ab", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name.toStdString());
        const TLoadedBitmap loaded = LoadBitmapByExtension(Copy(c.Source, c.Name));
        EXPECT_EQ(loaded.Ok(), c.Loads);
        if (c.Loads) {
            EXPECT_TRUE(loaded.Error.isEmpty());
            EXPECT_GT(loaded.Bitmap->Width(), 32);
            EXPECT_EQ(AlphaOf(loaded.Bitmap->Pixel(5, 5)), 255);
        } else {
            EXPECT_TRUE(loaded.Error.startsWith("Assertion failure\n")) << loaded.Error.toStdString();
            EXPECT_TRUE(loaded.Error.contains(".BMP, .EMF, .GIF, .ICO, .JPEG, .JPG, .PNG, .WMF"));
        }
    }
}

TEST_F(ImageLoading, JpegGoesThroughTheJpegReader)
{
    const std::string path = (kMagickImages + "/rose.jpg").toStdString();
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    TBitmap32 direct;
    ASSERT_TRUE(ReadJpeg(bytes, direct).Ok);
    const TLoadedBitmap loaded = LoadBitmapByExtension(Copy(kMagickImages + "/rose.jpg", "그림.JPG"));
    ASSERT_TRUE(loaded.Ok()) << loaded.Error.toStdString();
    ASSERT_EQ(loaded.Bitmap->Width(), direct.Width());
    ASSERT_EQ(loaded.Bitmap->Height(), direct.Height());
    EXPECT_TRUE(
        std::equal(direct.Bits(), direct.Bits() + direct.Width() * direct.Height(), loaded.Bitmap->Bits()));
}

// What does not exist as a file, a web address included, gives the red cross, whatever its ending.
TEST_F(ImageLoading, MissingFileGivesRedCrossPlaceholder)
{
    QDir(dir.path()).mkdir("folder.png");
    for (const QString& name : {dir.filePath("gone.png"), dir.filePath("gone.jpeg"),
                                dir.filePath("folder.png"), QString("http://example.com/page")}) {
        SCOPED_TRACE(name.toStdString());
        const TLoadedBitmap loaded = LoadBitmapByExtension(name);
        ASSERT_TRUE(loaded.Ok());
        const TBitmap32& b = *loaded.Bitmap;
        ASSERT_EQ(b.Width(), 32);
        ASSERT_EQ(b.Height(), 32);
        // Both diagonals from (2, 2) to (29, 29) and from (2, 29) to (29, 2), three pixels wide.
        for (int i = 2; i <= 29; ++i) {
            EXPECT_TRUE(IsRed(b.Pixel(i, i))) << i;
            EXPECT_TRUE(IsRed(b.Pixel(i, 31 - i))) << i;
        }
        EXPECT_TRUE(IsRed(b.Pixel(16, 15)));
        for (auto [x, y] :
             {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}, {16, 2}, {2, 16}, {16, 29}, {29, 16}})
            EXPECT_EQ(b.Pixel(x, y), clWhite32) << x << "," << y;
        EXPECT_TRUE(std::all_of(b.Bits(), b.Bits() + 32 * 32, [](TColor32 p) { return AlphaOf(p) == 255; }));
    }
}

// A file the reader cannot decode gives the reader's message, which names the file, for a message box.
TEST_F(ImageLoading, DamagedFileReportsFileAndReason)
{
    const QString path = Copy(kMagickImages + "/rose.png", "photo.gif"); // a PNG in disguise
    const TLoadedBitmap loaded = LoadBitmapByExtension(path);
    EXPECT_FALSE(loaded.Ok());
    EXPECT_TRUE(loaded.Error.startsWith("이미지 파일을 읽을 수 없습니다: ")) << loaded.Error.toStdString();
    EXPECT_TRUE(loaded.Error.contains(path));
}

// A broken icon is an error like any other, not an empty picture passed off as read.
TEST_F(ImageLoading, BrokenIconIsAnError)
{
    const QString path = Copy(kPixbufImages + "/fail/bug778204.ico", "x.ico");
    const TLoadedBitmap loaded = LoadBitmapByExtension(path);
    EXPECT_FALSE(loaded.Ok());
    EXPECT_TRUE(loaded.Error.startsWith("이미지 파일을 읽을 수 없습니다: ")) << loaded.Error.toStdString();
    EXPECT_TRUE(loaded.Error.contains(path));
}
