#include "ImgLib/GifReader.h"

#include "ImgLib/PixelBudget.h"
#include "core/Bitmap32.h"

#include <algorithm>
#include <cstring>
#include <gif_lib.h>
#include <memory>
#include <vector>

namespace tavrin {
namespace {

// Several images may make up the first frame; decoding them all may not cost more than this many pixels.
constexpr std::int64_t kMaxDecodedPixels = 2 * kPixelBudget;

// LZW codes are at most 12 bits and its table holds 4096 strings, none longer than 4096 pixels; the table
// fills with strings one pixel longer each, about 8 million pixels in all. No data can hold more pixels
// than this, so an image that claims more than its file has left is cut off or lying about its size.
constexpr std::int64_t kMaxLzwPixelsPerByte = 4096 * 8 / 12 + 1;
constexpr std::int64_t kMaxLzwTablePixels = 4096 * 4097 / 2;

bool CanHoldPixels(std::int64_t pixels, std::size_t bytesLeft)
{
    return pixels <= kMaxLzwTablePixels + static_cast<std::int64_t>(bytesLeft) * kMaxLzwPixelsPerByte;
}

struct TGifInput
{
    std::span<const std::uint8_t> Data;
    std::size_t Position = 0;
    bool Truncated = false;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int length)
{
    auto& input = *static_cast<TGifInput*>(gif->UserData);
    const std::size_t wanted = static_cast<std::size_t>(std::max(length, 0));
    const std::size_t n = std::min(wanted, input.Data.size() - input.Position);
    if (n < wanted) input.Truncated = true;
    if (n > 0) std::memcpy(buffer, input.Data.data() + input.Position, n);
    input.Position += n;
    return static_cast<int>(n);
}

struct TGifCloser
{
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};
using TGifHandle = std::unique_ptr<GifFileType, TGifCloser>;

TReadResult Failure(const TGifInput& input, int error)
{
    const char* detail = GifErrorString(error);
    if (input.Truncated) return TReadResult::Failure(TruncatedFileError(detail ? detail : ""));
    return TReadResult::Failure(DamagedFileError(detail ? detail : ""));
}

// The rows of an image in the order they are stored.
std::vector<int> StoredRowOrder(int height, bool interlaced)
{
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            rows.push_back(y);
        return rows;
    }
    constexpr int kStart[] = {0, 4, 2, 1};
    constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass])
            rows.push_back(y);
    return rows;
}

// How the image that follows a graphic control block is to be drawn and put away.
struct TImageControl
{
    int Transparent = NO_TRANSPARENT_COLOR;
    int Disposal = DISPOSAL_UNSPECIFIED;
    int Delay = 0;
};

// A check pass decodes the first frame without a screen to draw on; a draw pass paints it.
enum class TFramePass
{
    Check,
    Draw
};

class TFirstFrameReader
{
  public:
    TFirstFrameReader(GifFileType* gif, const TGifInput& input, TFramePass pass)
        : FGif(gif), FInput(input), FWidth(gif->SWidth), FHeight(gif->SHeight), FDraw(pass == TFramePass::Draw)
    {
    }

    // The first frame is every image up to and including the first that is shown for a while (has a
    // delay): images without one are drawn together, as parts of one picture.
    // An image without pixels is not drawn and does not count: a file with no other gives no picture.
    TReadResult Read()
    {
        for (;;) {
            GifRecordType record = UNDEFINED_RECORD_TYPE;
            if (DGifGetRecordType(FGif, &record) != GIF_OK || record == TERMINATE_RECORD_TYPE) {
                // After a complete image, whatever follows is not part of the picture.
                if (FDrawnAny) return TReadResult::Success();
                return record == TERMINATE_RECORD_TYPE ? TReadResult::Failure(NoPictureError())
                                                       : Failure(FInput, FGif->Error);
            }
            if (record == EXTENSION_RECORD_TYPE) {
                if (TReadResult r = ReadExtension(); !r) return r;
            } else if (record == IMAGE_DESC_RECORD_TYPE) {
                const bool last = FControl.Delay > 0;
                if (TReadResult r = ReadImage(last); !r) return r;
                if (last && FDrawnAny) return TReadResult::Success();
                FControl = {};
            }
        }
    }

    TBitmap32 TakeScreen()
    {
        EnsureScreen();
        return std::move(FScreen);
    }

  private:
    TReadResult ReadExtension()
    {
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(FGif, &code, &block) != GIF_OK) return Failure(FInput, FGif->Error);
        GraphicsControlBlock gcb{};
        if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4 &&
            DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK)
            FControl = {gcb.TransparentColor, gcb.DisposalMode, gcb.DelayTime};
        while (block)
            if (DGifGetExtensionNext(FGif, &block) != GIF_OK) return Failure(FInput, FGif->Error);
        return TReadResult::Success();
    }

    TReadResult ReadImage(bool lastOfFrame)
    {
        if (DGifGetImageDesc(FGif) != GIF_OK) return Failure(FInput, FGif->Error);
        const GifImageDesc& desc = FGif->Image;
        if (desc.Width <= 0 || desc.Height <= 0) return SkipImageData();
        if (!FitsPixelBudget(desc.Width, desc.Height))
            return TReadResult::Failure(PictureTooLargeError(desc.Width, desc.Height));
        FDecoded += std::int64_t{desc.Width} * desc.Height;
        if (FDecoded > kMaxDecodedPixels)
            return TReadResult::Failure(DamagedFileError("too many images in the first frame"));
        const ColorMapObject* colors = desc.ColorMap ? desc.ColorMap : FGif->SColorMap;
        if (!colors) return TReadResult::Failure(DamagedFileError("no colour table"));
        const std::int64_t rowsDecoded =
            lastOfFrame && !desc.Interlace ? std::clamp(FHeight - desc.Top, 0, desc.Height) : desc.Height;
        if (!CanHoldPixels(rowsDecoded * desc.Width, FInput.Data.size() - FInput.Position))
            return TReadResult::Failure(TruncatedFileError("too little image data for its size"));
        const bool restore = FControl.Disposal == DISPOSE_PREVIOUS && !lastOfFrame;
        const TSavedArea before = restore ? SaveArea(desc) : TSavedArea{};
        if (TReadResult r = DrawRows(desc, *colors, lastOfFrame); !r) return r;
        if (!lastOfFrame) Dispose(desc, before);
        FDrawnAny = true;
        return TReadResult::Success();
    }

    TReadResult DrawRows(const GifImageDesc& desc, const ColorMapObject& colors, bool lastOfFrame)
    {
        std::vector<GifPixelType> line(static_cast<std::size_t>(desc.Width));
        const bool interlaced = desc.Interlace;
        int rowsLeftOnScreen = std::clamp(FHeight - desc.Top, 0, desc.Height);
        for (int y : StoredRowOrder(desc.Height, interlaced)) {
            // Rows below the screen are never shown: the last image of a plain frame can stop there.
            if (lastOfFrame && !interlaced && rowsLeftOnScreen == 0) break;
            if (DGifGetLine(FGif, line.data(), desc.Width) != GIF_OK) return Failure(FInput, FGif->Error);
            const int screenY = desc.Top + y;
            if (screenY < 0 || screenY >= FHeight) continue;
            --rowsLeftOnScreen;
            const int shown = std::clamp(FWidth - desc.Left, 0, desc.Width);
            if (!FDraw) {
                if (!IndicesInTable(line.data(), shown, colors))
                    return TReadResult::Failure(DamagedFileError("colour index outside the colour table"));
                continue;
            }
            EnsureScreen();
            TColor32* row = FScreen.ScanLine(screenY);
            for (int x = 0; x < shown; ++x) {
                const int index = line[static_cast<std::size_t>(x)];
                if (index == FControl.Transparent) continue;
                if (index >= colors.ColorCount)
                    return TReadResult::Failure(DamagedFileError("colour index outside the colour table"));
                const GifColorType& c = colors.Colors[index];
                row[desc.Left + x] = MakeColor32(255, c.Red, c.Green, c.Blue);
            }
        }
        return TReadResult::Success();
    }

    bool IndicesInTable(const GifPixelType* line, int count, const ColorMapObject& colors) const
    {
        for (int x = 0; x < count; ++x)
            if (line[x] != FControl.Transparent && line[x] >= colors.ColorCount) return false;
        return true;
    }

    // The part of the screen an image covers, to be put back after it.
    struct TSavedArea
    {
        int Left = 0, Top = 0;
        TBitmap32 Pixels;
    };

    TSavedArea SaveArea(const GifImageDesc& desc)
    {
        if (!FDraw) return {};
        EnsureScreen();
        TSavedArea area{std::clamp(desc.Left, 0, FWidth), std::clamp(desc.Top, 0, FHeight), {}};
        const int right = std::clamp(desc.Left + desc.Width, 0, FWidth);
        const int bottom = std::clamp(desc.Top + desc.Height, 0, FHeight);
        area.Pixels.SetSize(right - area.Left, bottom - area.Top);
        for (int y = 0; y < area.Pixels.Height(); ++y)
            std::copy_n(FScreen.ScanLine(area.Top + y) + area.Left, area.Pixels.Width(),
                        area.Pixels.ScanLine(y));
        return area;
    }

    // Puts an image of a several-image frame away before the next one is drawn.
    void Dispose(const GifImageDesc& desc, const TSavedArea& before)
    {
        if (!FDraw) return;
        EnsureScreen();
        if (FControl.Disposal == DISPOSE_BACKGROUND)
            FScreen.FillRect(std::clamp(desc.Left, 0, FWidth), std::clamp(desc.Top, 0, FHeight),
                             std::clamp(desc.Left + desc.Width, 0, FWidth),
                             std::clamp(desc.Top + desc.Height, 0, FHeight), clWhite32);
        else if (FControl.Disposal == DISPOSE_PREVIOUS)
            for (int y = 0; y < before.Pixels.Height(); ++y)
                std::copy_n(before.Pixels.ScanLine(y), before.Pixels.Width(),
                            FScreen.ScanLine(before.Top + y) + before.Left);
    }

    TReadResult SkipImageData()
    {
        int codeSize = 0;
        GifByteType* block = nullptr;
        if (DGifGetCode(FGif, &codeSize, &block) != GIF_OK) return Failure(FInput, FGif->Error);
        while (block)
            if (DGifGetCodeNext(FGif, &block) != GIF_OK) return Failure(FInput, FGif->Error);
        return TReadResult::Success();
    }

    // The logical screen, white until drawn on. It is allocated when the first row of an image has been
    // decoded, so that a few bytes that claim a huge screen and then fail cost no gigabyte of memory.
    void EnsureScreen()
    {
        if (!FScreen.Empty()) return;
        FScreen.SetSize(FWidth, FHeight);
        FScreen.Clear(clWhite32);
    }

    GifFileType* FGif;
    const TGifInput& FInput;
    const int FWidth, FHeight;
    const bool FDraw;
    TBitmap32 FScreen;
    TImageControl FControl;
    std::int64_t FDecoded = 0;
    bool FDrawnAny = false;
};

// A screen up to this size costs no more memory than loading may spend on a file it then refuses; a
// larger one is allocated only after its first frame has decoded without it, since a small first image
// can be followed by a broken one that no size bound of the data can foresee.
constexpr std::int64_t kScreenPixelsWithoutCheck = std::int64_t{16} << 20;

TReadResult ReadFirstFrame(std::span<const std::uint8_t> data, TFramePass pass, TBitmap32* out)
{
    TGifInput input{data};
    int error = 0;
    TGifHandle gif(DGifOpen(&input, ReadFromMemory, &error));
    if (!gif) return Failure(input, error);
    if (gif->SWidth <= 0 || gif->SHeight <= 0)
        return TReadResult::Failure(BadPictureSizeError(gif->SWidth, gif->SHeight));
    if (!FitsPixelBudget(gif->SWidth, gif->SHeight))
        return TReadResult::Failure(PictureTooLargeError(gif->SWidth, gif->SHeight));
    if (pass == TFramePass::Draw && std::int64_t{gif->SWidth} * gif->SHeight > kScreenPixelsWithoutCheck)
        if (TReadResult checked = ReadFirstFrame(data, TFramePass::Check, nullptr); !checked) return checked;
    TFirstFrameReader reader(gif.get(), input, pass);
    TReadResult result = reader.Read();
    if (result && out) *out = reader.TakeScreen();
    return result;
}

} // namespace

TReadResult ReadGif(std::span<const std::uint8_t> data, TBitmap32& out)
{
    return ReadFirstFrame(data, TFramePass::Draw, &out);
}

void RegisterGifFormat(TPictureFormatRegistry& registry)
{
    registry.Register({"GIF 이미지", "gif", &ReadGif});
}

} // namespace tavrin
