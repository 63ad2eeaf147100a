#include "ImgLib/PngWriter.h"

#include "core/Bitmap32.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <new>
#include <vector>
#include <png.h>
#include <zlib.h>

namespace tavrin {
namespace {

// Bytes gathered before they go to the sink: libpng hands over one small chunk at a time.
constexpr std::size_t kPieceBytes = 1 << 18;

// Everything the encoder touches between setjmp and longjmp is plain data in here, except the sink and
// the pending bytes, which are only touched inside a try block.
struct TPngWriteState
{
    const TByteSink* Sink = nullptr;
    std::string Pending;
    char Message[200] = {};
    std::vector<png_byte> Row; // sized before encoding starts; only written into afterwards
};

// Packs a row of $AARRGGBB words as the file's R, G, B bytes. Done here rather than by libpng's own
// byte-swap and filler-strip transforms, which take a generic path per row and cost more.
void PackRgb(const TColor32* pixels, int width, png_byte* out)
{
    for (int x = 0; x < width; ++x, out += 3) {
        const TColor32 c = pixels[x];
        out[0] = static_cast<png_byte>(c >> 16);
        out[1] = static_cast<png_byte>(c >> 8);
        out[2] = static_cast<png_byte>(c);
    }
}

TPngWriteState& StateOf(png_structp png)
{
    return *static_cast<TPngWriteState*>(png_get_error_ptr(png));
}

[[noreturn]] void OnPngError(png_structp png, png_const_charp message)
{
    TPngWriteState& state = StateOf(png);
    if (state.Message[0] == '\0') std::snprintf(state.Message, sizeof state.Message, "%s", message);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Hands the pending bytes to the sink; null when it kept them, else why not.
const char* PassOn(TPngWriteState& state)
{
    try {
        const bool kept = (*state.Sink)(state.Pending);
        state.Pending.clear();
        return kept ? nullptr : "the encoded bytes could not be kept";
    } catch (const std::bad_alloc&) {
        return "out of memory";
    } catch (...) {
        return "the encoded bytes could not be kept";
    }
}

void AppendToPending(png_structp png, png_bytep data, png_size_t length)
{
    TPngWriteState& state = *static_cast<TPngWriteState*>(png_get_io_ptr(png));
    bool ok = true;
    try {
        state.Pending.append(reinterpret_cast<const char*>(data), length);
    } catch (...) {
        ok = false;
    }
    if (!ok) png_error(png, "out of memory");
    if (state.Pending.size() >= kPieceBytes)
        if (const char* refusal = PassOn(state)) png_error(png, refusal);
}

void FlushNothing(png_structp) {}

// Encodes the picture's chunks; only plain data lives in this frame. With `withSignature` false the
// file's first eight bytes are left to the caller (the MNG form).
bool Encode(png_structp png, png_infop info, TPngWriteState& state, const TBitmap32& bitmap, int level,
            bool withSignature)
{
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &state, AppendToPending, FlushNothing);
    if (!withSignature) png_set_sig_bytes(png, 8);
    png_set_compression_level(png, level);
    png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.Width()), static_cast<png_uint_32>(bitmap.Height()),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < bitmap.Height(); ++y) {
        PackRgb(bitmap.ScanLine(y), bitmap.Width(), state.Row.data());
        png_write_row(png, state.Row.data());
    }
    png_write_end(png, info);
    return true;
}

struct TPngWriteGuard
{
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    ~TPngWriteGuard() { png_destroy_write_struct(&Png, Info ? &Info : nullptr); }
};

void AppendBigEndian(std::string& out, std::uint32_t v)
{
    const char bytes[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                           static_cast<char>(v)};
    out.append(bytes, 4);
}

// One chunk: length, type, data, CRC of type and data.
void AppendChunk(std::string& out, const char (&type)[5], const std::string& data)
{
    AppendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.append(type, 4);
    out += data;
    const auto* crcStart = reinterpret_cast<const Bytef*>(out.data() + typeAt);
    AppendBigEndian(out, static_cast<std::uint32_t>(crc32(0, crcStart, static_cast<uInt>(4 + data.size()))));
}

// MHDR of a single still picture: frame size, 1 tick a second, one layer, one frame, a play time of one
// tick, and a simplicity profile that says: no features beyond plain PNG chunks, no transparency.
std::string MngHeader(const TBitmap32& bitmap)
{
    std::string data;
    for (std::uint32_t v : {static_cast<std::uint32_t>(bitmap.Width()), static_cast<std::uint32_t>(bitmap.Height()),
                            1u, 1u, 1u, 1u, 1u})
        AppendBigEndian(data, v);
    return data;
}

TWriteResult EncodePng(const TBitmap32& bitmap, const TByteSink& sink, int level, bool asMng)
{
    if (bitmap.Empty()) return TWriteResult::Failure(EmptyPictureError());
    const char* format = asMng ? "MNG" : "PNG";
    try {
        auto state = std::make_unique<TPngWriteState>();
        state->Sink = &sink;
        state->Row.resize(static_cast<std::size_t>(bitmap.Width()) * 3);
        state->Pending.reserve(kPieceBytes + (1 << 16));
        if (asMng) {
            static constexpr char kMngSignature[] = "\x8AMNG\r\n\x1A\n";
            state->Pending.append(kMngSignature, 8);
            AppendChunk(state->Pending, "MHDR", MngHeader(bitmap));
        }
        TPngWriteGuard guard;
        guard.Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, state.get(), OnPngError, OnPngWarning);
        if (guard.Png) guard.Info = png_create_info_struct(guard.Png);
        if (!guard.Png || !guard.Info) return TWriteResult::Failure(NotEnoughMemoryToWriteError());
        if (!Encode(guard.Png, guard.Info, *state, bitmap, std::clamp(level, 0, 9), !asMng))
            return TWriteResult::Failure(EncoderError(format, state->Message));
        if (asMng) AppendChunk(state->Pending, "MEND", {});
        if (const char* refusal = PassOn(*state)) return TWriteResult::Failure(EncoderError(format, refusal));
    } catch (const std::bad_alloc&) {
        return TWriteResult::Failure(NotEnoughMemoryToWriteError());
    }
    return TWriteResult::Success();
}

// The whole file into a string, replaced.
TWriteResult EncodePngInto(const TBitmap32& bitmap, std::string& out, int level, bool asMng)
{
    out.clear();
    return EncodePng(bitmap, AppendingTo(out), level, asMng);
}

} // namespace

TWriteResult WritePng(const TBitmap32& bitmap, std::string& out, int compressionLevel)
{
    return EncodePngInto(bitmap, out, compressionLevel, false);
}

TWriteResult WriteMng(const TBitmap32& bitmap, std::string& out, int compressionLevel)
{
    return EncodePngInto(bitmap, out, compressionLevel, true);
}

TWriteResult WritePng(const TBitmap32& bitmap, const TByteSink& sink, int compressionLevel)
{
    return EncodePng(bitmap, sink, compressionLevel, false);
}

TWriteResult WriteMng(const TBitmap32& bitmap, const TByteSink& sink, int compressionLevel)
{
    return EncodePng(bitmap, sink, compressionLevel, true);
}

} // namespace tavrin
