// Damaged input of every kind: the Debian packages' broken files, and files mutated here at random (with
// a fixed seed, so that a failure repeats). A reader may succeed or fail on each, but it never crashes or
// hangs, reports a reason when it fails and leaves its output alone, and what it returns is opaque and
// within the pixel budget.
#include "ImageTestSupport.h"

#include "ImgLib/BmpReader.h"
#include "ImgLib/EmfReader.h"
#include "ImgLib/GifReader.h"
#include "ImgLib/IcoReader.h"
#include "ImgLib/JpegReader.h"
#include "ImgLib/PixelBudget.h"
#include "ImgLib/PngReader.h"
#include "ImgLib/WmfReader.h"

#include <QtGlobal>

#include <gtest/gtest.h>

#include <random>

using namespace tavrin;
using namespace tavrin::test;

namespace {

struct TSeed
{
    TPictureReader Reader;
    std::string File;
};

std::vector<TSeed> Seeds()
{
    const std::string suite = kPixbufImages + "/gif-test-suite";
    return {
        {ReadJpeg, kMagickImages + "/rose.jpg"},
        {ReadJpeg, kPixbufImages + "/randomly-modified/valid.2.jpeg"}, // progressive
        {ReadPng, kPngTest},                                           // interlaced, alpha
        {ReadPng, kMagickImages + "/gaussian-blur.png"},               // palette
        {ReadGif, kMagickImages + "/smile.gif"},
        {ReadGif, suite + "/interlace.gif"},
        {ReadGif, suite + "/dispose-restore-previous.gif"},
        {ReadBmp, kPixbufImages + "/randomly-modified/valid.1.bmp"},
        {ReadBmp, kPixbufImages + "/reftests/mandatory-bitmasks.bmp"},
        {ReadIco, kMagickImages + "/wand.ico"},
        {ReadIco, kPixbufImages + "/reftests/squares.ico"},
        {ReadEmf, MetafilePath("tiny16.emf")},
        {ReadEmf, MetafilePath("text.emf")},
        {ReadWmf, MetafilePath("wmf-records-only/image.wmf")},
        {ReadWmf, MetafilePath("wmf-records-only/text_korean.wmf")},
        {ReadWmf, MetafilePath("wmf-records-only/shapes.wmf")},
    };
}

// Byte flips, extreme 16- and 32-bit values, cuts, and inserted or removed runs.
std::vector<std::uint8_t> Mutate(std::vector<std::uint8_t> data, std::mt19937& random)
{
    auto position = [&] { return std::uniform_int_distribution<std::size_t>(0, data.size() - 1)(random); };
    const int edits = std::uniform_int_distribution<int>(1, 4)(random);
    for (int i = 0; i < edits && !data.empty(); ++i) {
        switch (random() % 5) {
        case 0:
            data[position()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
            break;
        case 1:
            data[position()] = static_cast<std::uint8_t>(random());
            break;
        case 2: {
            static constexpr std::uint32_t kExtremes[] = {0,      1,          0x7FFF,    0x8000,
                                                          0xFFFF, 0x7FFFFFFF, 0xFFFFFFFF};
            const std::uint32_t v = kExtremes[random() % std::size(kExtremes)];
            const std::size_t at = position() & ~std::size_t{1};
            for (std::size_t b = 0; b < (random() % 2 ? 2u : 4u) && at + b < data.size(); ++b)
                data[at + b] = static_cast<std::uint8_t>(v >> (8 * b));
            break;
        }
        case 3:
            data.resize(position());
            break;
        default: {
            const std::size_t at = position();
            const std::size_t n = std::min<std::size_t>(random() % 64, data.size() - at);
            if (random() % 2)
                data.erase(data.begin() + std::ptrdiff_t(at), data.begin() + std::ptrdiff_t(at + n));
            else
                data.insert(data.begin() + std::ptrdiff_t(at), n, static_cast<std::uint8_t>(random()));
        }
        }
    }
    return data;
}

void ExpectSoundOutcome(TPictureReader reader, std::span<const std::uint8_t> data)
{
    TBitmap32 out(1, 1);
    out.Clear(0xFF123456);
    const TReadResult result = reader(data, out);
    if (result.Ok) {
        EXPECT_TRUE(out.Empty() || FitsPixelBudget(out.Width(), out.Height()));
        EXPECT_TRUE(AllOpaque(out));
    } else {
        EXPECT_FALSE(result.Error.empty());
        ASSERT_EQ(out.Width(), 1);
        EXPECT_EQ(out.Pixel(0, 0), 0xFF123456u);
    }
}

} // namespace

TEST(Robustness, BrokenFilesFromDebianPackages)
{
    const std::vector<std::pair<TPictureReader, std::string>> byExtension = {
        {ReadJpeg, ".jpg"}, {ReadJpeg, ".jpeg"}, {ReadPng, ".png"},
        {ReadGif, ".gif"},  {ReadBmp, ".bmp"},   {ReadIco, ".ico"},
    };
    for (const std::string& folder : {kPixbufImages + "/fail", kPixbufImages + "/randomly-modified"})
        for (const auto& [reader, extension] : byExtension)
            for (const std::string& file : FilesIn(folder, {extension})) {
                SCOPED_TRACE(file);
                ExpectSoundOutcome(reader, ReadBytes(file));
            }
}

// Inputs that fuzzing found to crash a reader or to cost it seconds, kept so that they stay harmless.
TEST(Robustness, FuzzFindings)
{
    const std::string folder = std::string(TAVRIN_TEST_DATA) + "/fuzz";
    const std::vector<std::pair<TPictureReader, std::string>> byExtension = {
        {ReadGif, ".gif"}, {ReadEmf, ".emf"}, {ReadWmf, ".wmf"},
        {ReadBmp, ".bmp"}, {ReadPng, ".png"}, {ReadJpeg, ".jpg"}};
    int files = 0;
    for (const auto& [reader, extension] : byExtension)
        for (const std::string& file : FilesIn(folder, {extension})) {
            SCOPED_TRACE(file);
            ExpectSoundOutcome(reader, ReadBytes(file));
            ++files;
        }
    EXPECT_GT(files, 0);
}

// Every reader is also handed every other format's files and plain garbage.
TEST(Robustness, WrongFormatsAndGarbage)
{
    std::mt19937 random(7);
    std::vector<std::uint8_t> garbage(4096);
    for (auto& b : garbage)
        b = static_cast<std::uint8_t>(random());
    for (const TSeed& reader : Seeds()) {
        ExpectSoundOutcome(reader.Reader, garbage);
        ExpectSoundOutcome(reader.Reader, {});
        for (const TSeed& other : Seeds())
            if (other.Reader != reader.Reader) {
                SCOPED_TRACE(other.File);
                ExpectSoundOutcome(reader.Reader, ReadBytes(other.File));
            }
    }
}

// TAVRIN_MUTANTS=<n> runs n mutants of each file instead of 150, and TAVRIN_MUTATION_SEED another
// sequence: for longer campaigns by hand.
TEST(Robustness, MutatedFiles)
{
    const int mutantsPerSeed = qEnvironmentVariableIntValue("TAVRIN_MUTANTS") > 0
                                   ? qEnvironmentVariableIntValue("TAVRIN_MUTANTS")
                                   : 150;
    std::mt19937 random(20240611u +
                        static_cast<unsigned>(qEnvironmentVariableIntValue("TAVRIN_MUTATION_SEED")));
    for (const TSeed& seed : Seeds()) {
        const std::vector<std::uint8_t> original = ReadBytes(seed.File);
        ASSERT_FALSE(original.empty()) << seed.File;
        for (int i = 0; i < mutantsPerSeed; ++i) {
            SCOPED_TRACE(seed.File + " mutant " + std::to_string(i));
            ExpectSoundOutcome(seed.Reader, Mutate(original, random));
        }
    }
}
