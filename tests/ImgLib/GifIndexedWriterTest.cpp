#include "ImgLib/GifIndexedWriter.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstring>
#include <gif_lib.h>

#include <gtest/gtest.h>

using namespace tavrin;

namespace {

// giflib's own reading of a file held in memory.
struct TDecoded
{
    std::string Version;
    int Width = 0, Height = 0;
    std::vector<TRgb> Colors;
    std::vector<std::uint8_t> Indices;
    int ControlBlocks = 0;
    int TransparentIndex = NO_TRANSPARENT_COLOR;
};

struct TMemoryInput
{
    const std::string* Bytes;
    std::size_t At = 0;
};

int ReadMemory(GifFileType* gif, GifByteType* buffer, int length)
{
    auto& in = *static_cast<TMemoryInput*>(gif->UserData);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(length), in.Bytes->size() - in.At);
    std::memcpy(buffer, in.Bytes->data() + in.At, n);
    in.At += n;
    return static_cast<int>(n);
}

TDecoded Decode(const std::string& bytes)
{
    TDecoded d;
    d.Version = bytes.substr(0, 6);
    TMemoryInput input{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&input, ReadMemory, &error);
    if (!gif) {
        ADD_FAILURE() << "giflib cannot open the file: " << GifErrorString(error);
        return d;
    }
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1) {
        d.Width = gif->SWidth;
        d.Height = gif->SHeight;
        for (int i = 0; gif->SColorMap && i < gif->SColorMap->ColorCount; ++i) {
            const GifColorType c = gif->SColorMap->Colors[i];
            d.Colors.push_back({c.Red, c.Green, c.Blue});
        }
        const SavedImage& image = gif->SavedImages[0];
        d.Indices.assign(image.RasterBits, image.RasterBits + image.ImageDesc.Width * image.ImageDesc.Height);
        for (int i = 0; i < image.ExtensionBlockCount; ++i)
            if (image.ExtensionBlocks[i].Function == GRAPHICS_EXT_FUNC_CODE) ++d.ControlBlocks;
        GraphicsControlBlock gcb;
        if (DGifSavedExtensionToGCB(gif, 0, &gcb) == GIF_OK) d.TransparentIndex = gcb.TransparentColor;
    } else {
        ADD_FAILURE() << "giflib cannot read the file: " << GifErrorString(gif->Error);
    }
    DGifCloseFile(gif, nullptr);
    return d;
}

QString RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << ": "
                                     << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A 4 x 3 picture using entries 0-2 of a three-colour palette.
TIndexedImage ThreeColourPicture()
{
    TIndexedImage image;
    image.Width = 4;
    image.Height = 3;
    image.Indices = {0, 1, 1, 2, 2, 2, 1, 0, 0, 0, 0, 1};
    image.Palette = {{255, 0, 0}, {0, 255, 0}, {10, 20, 30}};
    return image;
}

TEST(GifIndexedWriterTest, WritesPixelsPaletteAndOneTransparentEntry)
{
    const TIndexedImage image = ThreeColourPicture();
    std::string bytes, reason;
    ASSERT_TRUE(WriteIndexedGif(image, std::uint8_t{2}, bytes, reason)) << reason;

    const TDecoded d = Decode(bytes);
    EXPECT_EQ(d.Version, "GIF89a");
    EXPECT_EQ(d.Width, 4);
    EXPECT_EQ(d.Height, 3);
    EXPECT_EQ(d.Indices, image.Indices);
    ASSERT_EQ(d.Colors.size(), 4u); // padded to a power of two
    EXPECT_TRUE(std::equal(image.Palette.begin(), image.Palette.end(), d.Colors.begin()));
    EXPECT_EQ(d.Colors[3], (TRgb{0, 0, 0}));
    EXPECT_EQ(d.ControlBlocks, 1);
    EXPECT_EQ(d.TransparentIndex, 2);

    // Independent readers: giftext for the extension's fields, ImageMagick for the transparent colour.
    QTemporaryDir dir;
    const QString path = dir.filePath("t.gif");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    file.close();
    const QString text = RunTool("giftext", {path});
    EXPECT_TRUE(text.contains("Transparency on: yes")) << text.toStdString();
    EXPECT_TRUE(text.contains("Transparent Index: 2")) << text.toStdString();
    EXPECT_TRUE(text.contains("Disposal Mode: 0")) << text.toStdString();
    EXPECT_TRUE(text.contains("DelayTime: 0")) << text.toStdString();
    const QString magick = RunTool("identify", {"-format", "%[type] %wx%h|", path});
    EXPECT_EQ(magick, "PaletteAlpha 4x3|");
    // Alpha and red of the pixel at (0, 1), index 2, and of the one at (0, 0), index 0.
    const QString alpha =
        RunTool("convert", {path, "-format", "%[fx:p{0,1}.a] %[fx:p{0,0}.a] %[fx:p{0,0}.r]", "info:-"});
    EXPECT_EQ(alpha, "0 1 1");
}

TEST(GifIndexedWriterTest, WithoutTransparencyThereIsNoControlBlock)
{
    std::string bytes, reason;
    ASSERT_TRUE(WriteIndexedGif(ThreeColourPicture(), std::nullopt, bytes, reason)) << reason;
    const TDecoded d = Decode(bytes);
    EXPECT_EQ(d.Version, "GIF89a");
    EXPECT_EQ(d.ControlBlocks, 0);
    EXPECT_EQ(d.TransparentIndex, NO_TRANSPARENT_COLOR);
}

TEST(GifIndexedWriterTest, FullAndSingleEntryPalettesKeepEveryIndex)
{
    for (int size : {1, 256}) {
        TIndexedImage image;
        image.Width = 16;
        image.Height = 16;
        for (int i = 0; i < 256; ++i) {
            image.Indices.push_back(static_cast<std::uint8_t>(i % size));
            if (i < size)
                image.Palette.push_back({std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i / 2)});
        }
        std::string bytes, reason;
        ASSERT_TRUE(WriteIndexedGif(image, std::uint8_t(size - 1), bytes, reason)) << reason;
        const TDecoded d = Decode(bytes);
        EXPECT_EQ(d.Indices, image.Indices) << size;
        EXPECT_EQ(d.Colors.size(), size == 1 ? 2u : 256u);
        EXPECT_EQ(d.Colors[size - 1], image.Palette.back());
        EXPECT_EQ(d.TransparentIndex, size - 1);
    }
}

TEST(GifIndexedWriterTest, RefusesPicturesItCannotWriteAndLeavesTheOutputAlone)
{
    struct TCase
    {
        const char* What;
        void (*Spoil)(TIndexedImage&);
        std::optional<std::uint8_t> Transparent;
    };
    const TCase cases[] = {
        {"width 0",
         [](TIndexedImage& i) {
             i.Width = 0;
             i.Indices.clear();
         },
         std::nullopt},
        {"too wide",
         [](TIndexedImage& i) {
             i.Width = 65536;
             i.Height = 1;
             i.Indices.assign(65536, 0);
         },
         std::nullopt},
        {"index outside the palette", [](TIndexedImage& i) { i.Indices[5] = 3; }, std::nullopt},
        {"no palette", [](TIndexedImage& i) { i.Palette.clear(); }, std::nullopt},
        {"palette of 257", [](TIndexedImage& i) { i.Palette.resize(257); }, std::nullopt},
        {"short pixel data", [](TIndexedImage& i) { i.Indices.pop_back(); }, std::nullopt},
        {"transparent index outside the palette", [](TIndexedImage&) {}, std::uint8_t{3}},
    };
    for (const TCase& c : cases) {
        TIndexedImage image = ThreeColourPicture();
        c.Spoil(image);
        std::string bytes = "kept", reason;
        EXPECT_FALSE(WriteIndexedGif(image, c.Transparent, bytes, reason)) << c.What;
        EXPECT_EQ(bytes, "kept") << c.What;
        EXPECT_FALSE(reason.empty()) << c.What;
        EXPECT_EQ(static_cast<unsigned char>(reason[0]) & 0x80, 0x80)
            << c.What << ": " << reason; // Korean text
    }
}

} // namespace
