#include "ImgLib/GifIndexedWriter.h"

#include <algorithm>
#include <gif_lib.h>
#include <memory>
#include <new>

namespace tavrin {
namespace {

constexpr int kMaxGifSide = 65535; // the file's fields are 16 bits wide

struct TMapFreer
{
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using TMapHandle = std::unique_ptr<ColorMapObject, TMapFreer>;

// Closes the encoder on every path; a finished file is closed by Finish() instead.
class TGifEncoder
{
  public:
    explicit TGifEncoder(std::string& bytes)
    {
        int error = 0;
        FGif = EGifOpen(&bytes, AppendBytes, &error);
        FError = error;
    }
    ~TGifEncoder()
    {
        if (FGif) EGifCloseFile(FGif, nullptr);
    }
    TGifEncoder(const TGifEncoder&) = delete;
    TGifEncoder& operator=(const TGifEncoder&) = delete;

    GifFileType* Gif() const { return FGif; }
    int Error() const { return FGif ? FGif->Error : FError; }

    bool Finish()
    {
        int error = 0;
        const bool ok = EGifCloseFile(FGif, &error) == GIF_OK;
        FGif = nullptr;
        FError = error;
        return ok;
    }

  private:
    static int AppendBytes(GifFileType* gif, const GifByteType* data, int length)
    {
        try {
            static_cast<std::string*>(gif->UserData)
                ->append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(length));
            return length;
        } catch (const std::bad_alloc&) {
            return 0; // giflib reports a write error
        }
    }

    GifFileType* FGif = nullptr;
    int FError = 0;
};

std::string EncoderError(int error)
{
    std::string text = "GIF 파일을 만들 수 없습니다.";
    if (const char* detail = GifErrorString(error)) {
        text += " (";
        text += detail;
        text += ')';
    }
    return text;
}

// Why the picture cannot be written at all, or empty when it can.
std::string CheckImage(const TIndexedImage& image, std::optional<std::uint8_t> transparentIndex)
{
    if (image.Empty()) return "저장할 그림이 비어 있습니다.";
    if (image.Width > kMaxGifSide || image.Height > kMaxGifSide)
        return "그림이 GIF로 저장하기에 너무 큽니다: " + std::to_string(image.Width) + " × " +
               std::to_string(image.Height) + " 픽셀. GIF는 가로세로 " + std::to_string(kMaxGifSide) +
               " 픽셀까지입니다.";
    const std::size_t paletteSize = image.Palette.size();
    if (paletteSize == 0 || paletteSize > 256) return "색상표의 크기가 올바르지 않습니다.";
    if (image.Indices.size() !=
        static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height))
        return "그림 데이터의 크기가 그림 크기와 맞지 않습니다.";
    const std::uint8_t largest = *std::max_element(image.Indices.begin(), image.Indices.end());
    if (largest >= paletteSize) return "그림이 색상표에 없는 색을 가리킵니다.";
    if (transparentIndex && *transparentIndex >= paletteSize) return "투명색이 색상표에 없습니다.";
    return {};
}

TMapHandle MakeColorMap(const std::vector<TRgb>& palette)
{
    const int size = 1 << GifBitSize(static_cast<int>(palette.size()));
    TMapHandle map(GifMakeMapObject(size, nullptr));
    if (!map) return map;
    for (int i = 0; i < size; ++i) {
        const TRgb c = i < static_cast<int>(palette.size()) ? palette[static_cast<std::size_t>(i)] : TRgb{};
        map->Colors[i] = {c.R, c.G, c.B};
    }
    return map;
}

bool PutTransparency(GifFileType* gif, std::uint8_t index)
{
    GraphicsControlBlock gcb{};
    gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
    gcb.UserInputFlag = false;
    gcb.DelayTime = 0;
    gcb.TransparentColor = index;
    GifByteType block[4];
    const std::size_t length = EGifGCBToExtension(&gcb, block);
    return EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), block) == GIF_OK;
}

bool PutPixels(GifFileType* gif, const TIndexedImage& image)
{
    if (EGifPutImageDesc(gif, 0, 0, image.Width, image.Height, false, nullptr) != GIF_OK) return false;
    // giflib masks the line in place, so each row is handed over as a copy.
    std::vector<GifPixelType> row(static_cast<std::size_t>(image.Width));
    for (int y = 0; y < image.Height; ++y) {
        const auto first = image.Indices.begin() + static_cast<std::ptrdiff_t>(y) * image.Width;
        std::copy(first, first + image.Width, row.begin());
        if (EGifPutLine(gif, row.data(), image.Width) != GIF_OK) return false;
    }
    return true;
}

bool Encode(const TIndexedImage& image, std::optional<std::uint8_t> transparentIndex, std::string& bytes,
            std::string& reason)
{
    TMapHandle map = MakeColorMap(image.Palette);
    if (!map) {
        reason = "GIF 파일을 만들 메모리가 부족합니다.";
        return false;
    }
    TGifEncoder encoder(bytes);
    GifFileType* gif = encoder.Gif();
    if (!gif) {
        reason = EncoderError(encoder.Error());
        return false;
    }
    EGifSetGifVersion(gif, true);
    const bool written = EGifPutScreenDesc(gif, image.Width, image.Height, 8, 0, map.get()) == GIF_OK &&
                         (!transparentIndex || PutTransparency(gif, *transparentIndex)) &&
                         PutPixels(gif, image);
    if (!written) {
        reason = EncoderError(encoder.Error());
        return false;
    }
    if (!encoder.Finish()) {
        reason = EncoderError(encoder.Error());
        return false;
    }
    return true;
}

} // namespace

bool WriteIndexedGif(const TIndexedImage& image, std::optional<std::uint8_t> transparentIndex,
                     std::string& out, std::string& reason)
{
    try {
        if (std::string why = CheckImage(image, transparentIndex); !why.empty()) {
            reason = std::move(why);
            return false;
        }
        std::string bytes;
        bytes.reserve(image.Indices.size() / 2 + 1024);
        if (!Encode(image, transparentIndex, bytes, reason)) return false;
        out = std::move(bytes);
        return true;
    } catch (const std::bad_alloc&) {
        reason = "GIF 파일을 만들 메모리가 부족합니다.";
        return false;
    }
}

} // namespace tavrin
