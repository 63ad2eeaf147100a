#include "ImgLib/EmfReader.h"

#include "ImgLib/EmfHeader.h"
#include "ImgLib/PixelBudget.h"
#include "ImgLib/QtImageBridge.h"
#include "core/Bitmap32.h"

#include <QPainter>
#include <QSvgRenderer>

#include <cstdlib>
#include <cstring>
#include <emf2svg.h>
#include <memory>
#include <vector>

namespace tavrin {
namespace {

constexpr double kUnitsPerPixel = 2540.0 / 96.0; // 0.01 mm per screen pixel

struct TFreeDeleter
{
    void operator()(char* p) const { std::free(p); }
};

constexpr std::uint32_t kEmrExtTextOutA = 83;
constexpr std::uint32_t kEmrExtTextOutW = 84;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint32_t kEtoGlyphIndex = 0x10;
constexpr std::size_t kTextCountOffset = 44; // in an EMR_EXTTEXTOUT record: nChars, offString, fOptions
constexpr std::size_t kTextOptionsOffset = 52;

// Text given as glyph indices makes libemf2svg look the glyphs up through fontconfig and then shut
// fontconfig down under Qt's feet, which aborts the program. Such text is left out of the picture.
void DropGlyphIndexText(std::vector<char>& contents)
{
    std::size_t position = 0;
    while (position + 8 <= contents.size()) {
        std::uint32_t type = 0, size = 0, options = 0;
        std::memcpy(&type, contents.data() + position, 4);
        std::memcpy(&size, contents.data() + position + 4, 4);
        if (type == kEmrEof || size < 8) return; // the chain was checked: this is its end
        if ((type == kEmrExtTextOutA || type == kEmrExtTextOutW) && size >= kTextOptionsOffset + 4) {
            std::memcpy(&options, contents.data() + position + kTextOptionsOffset, 4);
            if (options & kEtoGlyphIndex) {
                // No characters, and not as glyph indices either: the converter looks the font up for
                // glyph indices even when there are none.
                options &= ~kEtoGlyphIndex;
                std::memcpy(contents.data() + position + kTextOptionsOffset, &options, 4);
                std::memset(contents.data() + position + kTextCountOffset, 0, 4);
            }
        }
        position += size;
    }
}

TReadResult ConvertToSvg(std::span<const std::uint8_t> data, std::string& svg)
{
    std::vector<char> contents(data.begin(), data.end()); // the converter wants a mutable buffer
    DropGlyphIndexText(contents);
    char nameSpace[] = ""; // a prefix gives mismatched tags that Qt rejects
    generatorOptions options{};
    options.nameSpace = nameSpace;
    options.emfplus = false; // see ParseEmfHeader
    options.svgDelimiter = true;
    char* out = nullptr;
    std::size_t outLength = 0;
    const int ok = emf2svg(contents.data(), contents.size(), &out, &outLength, &options);
    std::unique_ptr<char, TFreeDeleter> owned(out);
    if (ok != 1 || !out) return TReadResult::Failure(DamagedFileError("EMF records"));
    svg.assign(out, outLength);
    return TReadResult::Success();
}

} // namespace

std::string RemoveNullPenOutlines(std::string svg)
{
    static const std::string kOutline = "stroke-width=\"1px\" stroke=\"#";
    static const std::string kNone = "stroke=\"none\"";
    constexpr std::size_t kColourAndQuote = 7;
    std::size_t at = 0;
    while ((at = svg.find(kOutline, at)) != std::string::npos) {
        const std::size_t end = at + kOutline.size() + kColourAndQuote;
        if (end > svg.size() || svg[end - 1] != '"') break;
        svg.replace(at, end - at, kNone);
        at += kNone.size();
    }
    return svg;
}

TReadResult ReadEmf(std::span<const std::uint8_t> data, TBitmap32& out)
{
    TEmfHeader header;
    if (TReadResult parsed = ParseEmfHeader(data, header); !parsed) return parsed;
    if (header.Width <= 0 || header.Height <= 0)
        return TReadResult::Failure(BadPictureSizeError(header.Width, header.Height));
    if (!FitsPixelBudget(header.Width, header.Height))
        return TReadResult::Failure(PictureTooLargeError(header.Width, header.Height));
    std::string svg;
    if (TReadResult converted = ConvertToSvg(data, svg); !converted) return converted;
    QSvgRenderer renderer(QByteArray::fromStdString(RemoveNullPenOutlines(std::move(svg))));
    if (!renderer.isValid()) return TReadResult::Failure(DamagedFileError("EMF records"));
    // The SVG is in reference-device pixels; show the header's frame at the picture's own size.
    const int width = static_cast<int>(header.Width);
    const int height = static_cast<int>(header.Height);
    renderer.setViewBox(QRectF(
        header.FrameLeft * header.DevicePerUnitX, header.FrameTop * header.DevicePerUnitY,
        width * kUnitsPerPixel * header.DevicePerUnitX, height * kUnitsPerPixel * header.DevicePerUnitY));
    // Painted straight onto the result's pixels: the picture is held once.
    TBitmap32 bitmap(width, height);
    bitmap.Clear(clWhite32);
    QImage canvas = ImageOnBitmap(bitmap);
    QPainter painter(&canvas);
    renderer.render(&painter, QRectF(0, 0, width, height));
    painter.end();
    MakeOpaque(bitmap);
    out = std::move(bitmap);
    return TReadResult::Success();
}

void RegisterEmfFormat(TPictureFormatRegistry& registry)
{
    registry.Register({"확장 메타파일", "emf", &ReadEmf});
}

} // namespace tavrin
