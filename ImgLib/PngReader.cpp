#include "ImgLib/PngReader.h"

#include "ImgLib/PixelBudget.h"
#include "core/Bitmap32.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <png.h>

namespace tavrin {
namespace {

enum class TPngStatus
{
    Ok,
    Failed,
    TooLarge,
    TooShort
};

// Deflate packs at most about 1032 bytes into one. A file too short to hold its picture's data even at
// that rate is cut off or lying about its size; say so before allocating the picture.
constexpr std::uint64_t kMaxDeflateRatio = 1040;

constexpr png_alloc_size_t kMaxChunkBytes = 16u << 20;
constexpr png_byte kUnusedChunks[] = "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0sBIT\0"
                                     "sCAL\0sPLT\0sRGB\0tEXt\0tIME\0zTXt";

bool CanHoldImageData(png_structp png, png_infop info, std::uint64_t fileSize)
{
    const std::uint64_t rowBytes = png_get_rowbytes(png, info);
    const std::uint64_t imageBytes = (rowBytes + 1) * png_get_image_height(png, info);
    return imageBytes <= kMaxDeflateRatio * fileSize; // interlaced data is a little larger, never smaller
}

// Everything the decoder touches between setjmp and longjmp is plain data in here.
struct TPngState
{
    std::FILE* File = nullptr; // read from here when set, else from Data
    const std::uint8_t* Data = nullptr;
    std::uint64_t Size = 0;
    std::size_t Position = 0;
    bool Truncated = false;
    char Message[200] = {};
    png_uint_32 Width = 0;
    png_uint_32 Height = 0;
    bool HasAlpha = false;
};

TPngState& StateOf(png_structp png)
{
    return *static_cast<TPngState*>(png_get_error_ptr(png));
}

[[noreturn]] void OnPngError(png_structp png, png_const_charp message)
{
    TPngState& state = StateOf(png);
    if (state.Message[0] == '\0') std::snprintf(state.Message, sizeof state.Message, "%s", message);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void ReadFromSource(png_structp png, png_bytep buffer, png_size_t length)
{
    auto& state = *static_cast<TPngState*>(png_get_io_ptr(png));
    if (state.File) {
        if (std::fread(buffer, 1, length, state.File) != length) {
            state.Truncated = !std::ferror(state.File);
            png_error(png, state.Truncated ? "unexpected end of file" : "read error");
        }
        return;
    }
    if (length > state.Size - state.Position) {
        state.Truncated = true;
        png_error(png, "unexpected end of file");
    }
    std::memcpy(buffer, state.Data + state.Position, length);
    state.Position += length;
}

// Asks libpng for 8-bit BGRA rows whatever the file holds; BGRA bytes are $AARRGGBB words here. True when
// the picture has transparency, which then has to be composited.
bool RequestBgra(png_structp png, png_infop info)
{
    const int colorType = png_get_color_type(png, info);
    const bool hasTransparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    png_set_expand(png); // palette to RGB, grey below 8 bits to 8 bits, tRNS to an alpha channel
    png_set_scale_16(png);
    if ((colorType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
    png_set_bgr(png);
    const bool hasAlpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || hasTransparency;
    if (!hasAlpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    return hasAlpha;
}

std::uint8_t OverWhite(unsigned channel, unsigned alpha)
{
    return static_cast<std::uint8_t>((channel * alpha + 255u * (255u - alpha) + 127u) / 255u);
}

void CompositeOverWhite(TBitmap32& bitmap)
{
    TColor32* p = bitmap.Bits();
    TColor32* const end = p + static_cast<std::size_t>(bitmap.Width()) * bitmap.Height();
    for (; p != end; ++p) {
        const unsigned a = AlphaOf(*p);
        if (a != 255)
            *p = MakeColor32(255, OverWhite(RedOf(*p), a), OverWhite(GreenOf(*p), a),
                             OverWhite(BlueOf(*p), a));
    }
}

// Decodes into `bitmap`. Only plain data lives in this frame, so a longjmp out of libpng skips no
// destructor; the caller owns the bitmap and destroys the reader.
TPngStatus Decode(png_structp png, png_infop info, TPngState& state, TBitmap32& bitmap)
{
    if (setjmp(png_jmpbuf(png))) return TPngStatus::Failed;
    // The pixel budget is the limit that matters; libpng's own default of a million rows or columns is not.
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    // libpng reads each ancillary chunk it knows whole, at the length the file claims, before checking
    // it: a few hundred bytes claiming a gigabyte-long chunk cost a gigabyte. The picture needs none of
    // them but tRNS, so the rest are skipped unread, as unknown chunks are.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kUnusedChunks,
                                static_cast<int>(sizeof kUnusedChunks / 5));
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_set_read_fn(png, &state, ReadFromSource);
    png_read_info(png, info);
    state.Width = png_get_image_width(png, info);
    state.Height = png_get_image_height(png, info);
    if (!FitsPixelBudget(state.Width, state.Height)) return TPngStatus::TooLarge;
    if (!CanHoldImageData(png, info, state.Size)) return TPngStatus::TooShort;
    state.HasAlpha = RequestBgra(png, info);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<png_size_t>(state.Width) * 4)
        png_error(png, "unexpected row layout");
    bitmap.SetSize(static_cast<int>(state.Width), static_cast<int>(state.Height));
    // Interlaced files are read pass by pass into the same rows, which then hold the whole picture.
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < bitmap.Height(); ++y)
            png_read_row(png, reinterpret_cast<png_bytep>(bitmap.ScanLine(y)), nullptr);
    png_read_end(png, nullptr);
    return TPngStatus::Ok;
}

struct TPngGuard
{
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    ~TPngGuard() { png_destroy_read_struct(&Png, Info ? &Info : nullptr, nullptr); }
};

} // namespace

namespace {

TReadResult ReadPngFrom(TPngState& state, TBitmap32& out)
{
    TPngGuard guard;
    guard.Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, OnPngError, OnPngWarning);
    if (guard.Png) guard.Info = png_create_info_struct(guard.Png);
    if (!guard.Png || !guard.Info) return TReadResult::Failure(OutOfMemoryError());

    TBitmap32 bitmap;
    switch (Decode(guard.Png, guard.Info, state, bitmap)) {
    case TPngStatus::Ok:
        if (state.HasAlpha) CompositeOverWhite(bitmap);
        out = std::move(bitmap);
        return TReadResult::Success();
    case TPngStatus::TooLarge:
        return TReadResult::Failure(state.Width == 0 || state.Height == 0
                                        ? BadPictureSizeError(state.Width, state.Height)
                                        : PictureTooLargeError(state.Width, state.Height));
    case TPngStatus::TooShort:
        return TReadResult::Failure(TruncatedFileError("too little image data for its size"));
    case TPngStatus::Failed:
        break;
    }
    return TReadResult::Failure(state.Truncated ? TruncatedFileError(state.Message)
                                                : DamagedFileError(state.Message));
}

// Whether the chain of chunks, each with its declared length, reaches IEND within the file. A file cut
// off anywhere before its end would be refused only after its picture was decoded (libpng reads on to
// IEND); walking the 8-byte chunk headers first refuses it before anything is allocated. `readHeader`
// fills 8 bytes from an offset, false when they are not there.
template <typename TReadHeader>
bool ChunksReachTheEnd(std::uint64_t size, TReadHeader readHeader)
{
    std::uint64_t position = 8;
    std::uint8_t header[8];
    while (position + 12 <= size) {
        if (!readHeader(position, header)) return false;
        const std::uint64_t length = (std::uint64_t{header[0]} << 24) | (std::uint64_t{header[1]} << 16) |
                                     (std::uint64_t{header[2]} << 8) | header[3];
        position += 12 + length;
        if (position > size) return false;
        if (std::memcmp(header + 4, "IEND", 4) == 0) return true;
    }
    return false;
}

TReadResult CutOffFile()
{
    return TReadResult::Failure(TruncatedFileError("the file ends before its last chunk"));
}

} // namespace

TReadResult ReadPng(std::span<const std::uint8_t> data, TBitmap32& out)
{
    if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0)
        return TReadResult::Failure(data.size() < 8 ? TruncatedFileError() : WrongFormatError("PNG"));
    if (!ChunksReachTheEnd(data.size(), [&data](std::uint64_t at, std::uint8_t* header) {
            std::memcpy(header, data.data() + at, 8);
            return true;
        }))
        return CutOffFile();
    auto state = std::make_unique<TPngState>();
    state->Data = data.data();
    state->Size = data.size();
    return ReadPngFrom(*state, out);
}

TReadResult ReadPngStream(std::FILE* file, std::int64_t size, TBitmap32& out)
{
    std::uint8_t signature[8];
    if (std::fread(signature, 1, 8, file) != 8 || png_sig_cmp(signature, 0, 8) != 0)
        return TReadResult::Failure(std::ferror(file) ? OpenFileError(std::strerror(errno))
                                    : size < 8        ? TruncatedFileError()
                                                      : WrongFormatError("PNG"));
    const bool whole = ChunksReachTheEnd(static_cast<std::uint64_t>(size), [file](std::uint64_t at, std::uint8_t* header) {
        return std::fseek(file, static_cast<long>(at), SEEK_SET) == 0 && std::fread(header, 1, 8, file) == 8;
    });
    if (std::ferror(file)) return TReadResult::Failure(OpenFileError(std::strerror(errno)));
    if (!whole) return CutOffFile();
    if (std::fseek(file, 0, SEEK_SET) != 0) return TReadResult::Failure(OpenFileError(std::strerror(errno)));
    auto state = std::make_unique<TPngState>();
    state->File = file;
    state->Size = static_cast<std::uint64_t>(size);
    return ReadPngFrom(*state, out);
}

void RegisterPngFormat(TPictureFormatRegistry& registry)
{
    registry.Register({"PNG 이미지", "png", &ReadPng, &ReadPngStream});
}

} // namespace tavrin
