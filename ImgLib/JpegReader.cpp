#include "ImgLib/JpegReader.h"

#include "ImgLib/PixelBudget.h"
#include "core/Bitmap32.h"

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstdio> // jpeglib.h needs FILE
#include <jpeglib.h>
#include <memory>

#include <jerror.h>

namespace tavrin {
namespace {

// A progressive file may hold any number of scans, each a pass over the whole picture; past this many it is
// an attack on our time, not a picture.
constexpr int kMaxScans = 500;

enum class TJpegStatus
{
    Ok,
    Failed,
    TooLarge,
    BadSize,
    TooShort,
    NoEndMarker
};

// The decoder stops only at the end-of-image marker (FF D9): without one anywhere in the file it runs out
// of data, which is refused as a cut-off file, but only after the picture was allocated and decoded. FF D9
// cannot occur inside coded data (an FF there is followed by 00 or a restart number), so a file without
// the pair is refused first. A pair found elsewhere (inside a thumbnail, say) only means no early answer.
bool HasEndMarker(std::span<const std::uint8_t> data)
{
    for (std::size_t i = data.size() - 1; i >= 3; --i)
        if (data[i] == 0xD9 && data[i - 1] == 0xFF) return true;
    return false;
}

// A Huffman-coded file spends at least one bit on every 8 x 8 block (its DC code; a sequential file also an
// end-of-block code). One too short for that is cut off or lying about its size; say so before the decoder
// and we allocate the picture.
//
// Arithmetic coding has no such floor: its decoder reads zeros past the end of the data, legally, and a
// flat picture codes in next to nothing, so a file cut short cannot be told from a flat one and comes out
// grey. A limit of policy stands in for the floor: at most 16 blocks (1024 pixels) a byte. Real pictures
// stay far below it (photos take a byte for a few pixels, a smooth gradient for some tens), while a few
// kilobytes that claim a huge picture are refused before it is allocated. A flat picture of one colour
// coded smaller than that is refused too: no real file looks like it.
constexpr std::uint64_t kMaxArithmeticBlocksPerByte = 16;

bool CanHoldBlocks(j_decompress_ptr info, std::size_t fileSize)
{
    std::uint64_t blocks = 0;
    for (int i = 0; i < info->num_components; ++i)
        blocks += std::uint64_t{info->comp_info[i].width_in_blocks} * info->comp_info[i].height_in_blocks;
    if (info->arith_code) return blocks <= kMaxArithmeticBlocksPerByte * fileSize;
    const std::uint64_t bitsPerBlock = info->progressive_mode ? 1 : 2;
    return blocks * bitsPerBlock / 8 <= fileSize;
}

// A file of several scans (progressive ones above all) is decoded by first gathering every scan's
// coefficients for the whole picture: 2 bytes for each sample of each component, as much as the picture
// itself for 4:2:2 and half as much again for 4:4:4, all held beside it while it is made. For a big
// picture the coefficients are first rewritten as a single-scan file in memory (the same coefficients,
// so the same pixels), dropped, and that file is then decoded row by row into the picture: the peak is
// the larger of the two plus a compressed file, not their sum. Only for YCbCr and grey files, whose
// markers a rewrite keeps meaning the same.
bool WorthRewritingAsOneScan(j_decompress_ptr info)
{
    if (!jpeg_has_multiple_scans(info)) return false;
    if (info->jpeg_color_space != JCS_YCbCr && info->jpeg_color_space != JCS_GRAYSCALE) return false;
    std::uint64_t blocks = 0;
    for (int i = 0; i < info->num_components; ++i)
        blocks += std::uint64_t{info->comp_info[i].width_in_blocks} * info->comp_info[i].height_in_blocks;
    const std::uint64_t coefficientBytes = blocks * DCTSIZE2 * sizeof(JCOEF);
    const std::uint64_t pixels = std::uint64_t{info->image_width} * info->image_height;
    // Loading may take 1.2 times the picture's 4 bytes a pixel plus 64 MB; the picture takes the 4.
    return coefficientBytes > pixels * 4 / 5 + (std::uint64_t{64} << 20);
}

// The single-scan file being written, in a buffer of plain memory that ReadJpeg frees.
struct TMemoryFile
{
    unsigned char* Bytes = nullptr;
    std::size_t Size = 0;
    std::size_t Capacity = 0;
};

// Everything the decoder touches between setjmp and longjmp is plain data in here.
struct TJpegState
{
    jpeg_decompress_struct Info{};
    jpeg_error_mgr ErrorManager{};
    jpeg_progress_mgr Progress{};
    std::jmp_buf Jump{};
    char Message[JMSG_LENGTH_MAX] = {};
    bool Truncated = false;
    jpeg_compress_struct Rewriter{};
    bool RewriterMade = false;
    jpeg_destination_mgr RewriteDestination{};
    TMemoryFile Rewritten;
};

TJpegState& StateOf(j_common_ptr info)
{
    return *reinterpret_cast<TJpegState*>(info->client_data);
}

[[noreturn]] void OnJpegError(j_common_ptr info)
{
    TJpegState& state = StateOf(info);
    (*info->err->format_message)(info, state.Message);
    std::longjmp(state.Jump, 1);
}

// Warnings about corrupt or missing data mean the picture would come out partly invented: treat them as
// errors. The rest (unknown JFIF revision, odd Adobe transform codes, stray bytes between markers) are not.
bool IsDataLossWarning(int code)
{
    switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_BOGUS_PROGRESSION:
        return true;
    default:
        return false;
    }
}

void OnJpegMessage(j_common_ptr info, int level)
{
    if (level != -1 || !IsDataLossWarning(info->err->msg_code)) return;
    StateOf(info).Truncated = info->err->msg_code == JWRN_JPEG_EOF;
    OnJpegError(info);
}

void OnJpegProgress(j_common_ptr info)
{
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    TJpegState& state = StateOf(info);
    if (decompress->input_scan_number > kMaxScans) {
        std::snprintf(state.Message, JMSG_LENGTH_MAX, "more than %d scans", kMaxScans);
        std::longjmp(state.Jump, 1);
    }
}

constexpr std::size_t kRewriteChunk = 1 << 16;

[[noreturn]] void OutOfMemory(TJpegState& state)
{
    std::snprintf(state.Message, JMSG_LENGTH_MAX, "out of memory");
    std::longjmp(state.Jump, 1);
}

// Gives the encoder the next kRewriteChunk bytes of room at the end of the memory file.
void OfferRoom(j_compress_ptr info)
{
    TJpegState& state = StateOf(reinterpret_cast<j_common_ptr>(info));
    TMemoryFile& file = state.Rewritten;
    if (file.Capacity - file.Size < kRewriteChunk) {
        const std::size_t capacity = std::max(file.Capacity * 3 / 2, file.Size + kRewriteChunk);
        auto* bytes = static_cast<unsigned char*>(std::realloc(file.Bytes, capacity));
        if (!bytes) OutOfMemory(state);
        file.Bytes = bytes;
        file.Capacity = capacity;
    }
    state.RewriteDestination.next_output_byte = file.Bytes + file.Size;
    state.RewriteDestination.free_in_buffer = kRewriteChunk;
}

void InitRewrite(j_compress_ptr info)
{
    OfferRoom(info);
}

boolean RewriteChunkFull(j_compress_ptr info)
{
    StateOf(reinterpret_cast<j_common_ptr>(info)).Rewritten.Size += kRewriteChunk;
    OfferRoom(info);
    return TRUE;
}

void EndRewrite(j_compress_ptr info)
{
    TJpegState& state = StateOf(reinterpret_cast<j_common_ptr>(info));
    state.Rewritten.Size += kRewriteChunk - state.RewriteDestination.free_in_buffer;
}

// Reads every scan's coefficients, writes them as a single-scan file in memory, lets the coefficients
// go and reads that file's header in their place. Only plain data lives in this frame.
void RewriteAsOneScan(TJpegState& state, std::size_t fileSize)
{
    j_decompress_ptr info = &state.Info;
    jvirt_barray_ptr* coefficients = jpeg_read_coefficients(info);
    jpeg_compress_struct* writer = &state.Rewriter;
    writer->err = info->err;
    writer->client_data = &state;
    jpeg_create_compress(writer);
    state.RewriterMade = true;
    state.RewriteDestination.init_destination = InitRewrite;
    state.RewriteDestination.empty_output_buffer = RewriteChunkFull;
    state.RewriteDestination.term_destination = EndRewrite;
    writer->dest = &state.RewriteDestination;
    state.Rewritten.Bytes = static_cast<unsigned char*>(std::malloc(fileSize + fileSize / 4 + kRewriteChunk));
    if (!state.Rewritten.Bytes) OutOfMemory(state);
    state.Rewritten.Capacity = fileSize + fileSize / 4 + kRewriteChunk;
    jpeg_copy_critical_parameters(info, writer);
    jpeg_write_coefficients(writer, coefficients);
    jpeg_finish_compress(writer);
    jpeg_destroy_compress(writer);
    state.RewriterMade = false;
    jpeg_abort_decompress(info); // frees the coefficients
    jpeg_mem_src(info, state.Rewritten.Bytes, static_cast<unsigned long>(state.Rewritten.Size));
    jpeg_read_header(info, TRUE);
}

void CmykRowToPixels(const JSAMPLE* cmyk, TColor32* pixels, int width, bool inverted)
{
    for (int x = 0; x < width; ++x, cmyk += 4) {
        // Adobe writes CMYK inverted (255 = no ink), which is how libjpeg hands it over for such files.
        const unsigned c = inverted ? cmyk[0] : 255u - cmyk[0];
        const unsigned m = inverted ? cmyk[1] : 255u - cmyk[1];
        const unsigned y = inverted ? cmyk[2] : 255u - cmyk[2];
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        pixels[x] = MakeColor32(255, static_cast<std::uint8_t>((c * k + 127) / 255),
                                static_cast<std::uint8_t>((m * k + 127) / 255),
                                static_cast<std::uint8_t>((y * k + 127) / 255));
    }
}

// Decodes into `bitmap`. Only plain data lives in this frame, so a longjmp out of libjpeg skips no
// destructor; the caller owns the bitmap and destroys the decompressor.
TJpegStatus Decode(TJpegState& state, std::span<const std::uint8_t> data, TBitmap32& bitmap)
{
    j_decompress_ptr info = &state.Info;
    if (setjmp(state.Jump)) return TJpegStatus::Failed;
    jpeg_mem_src(info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(info, TRUE);
    if (info->image_width == 0 || info->image_height == 0) return TJpegStatus::BadSize;
    if (!FitsPixelBudget(info->image_width, info->image_height)) return TJpegStatus::TooLarge;
    if (!CanHoldBlocks(info, data.size())) return TJpegStatus::TooShort;
    if (!HasEndMarker(data)) return TJpegStatus::NoEndMarker;
    if (WorthRewritingAsOneScan(info)) RewriteAsOneScan(state, data.size());
    const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    info->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA; // BGRA bytes are $AARRGGBB words here
    jpeg_start_decompress(info);
    const int width = static_cast<int>(info->output_width);
    bitmap.SetSize(width, static_cast<int>(info->output_height));
    JSAMPARRAY cmykRow =
        cmyk ? (*info->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE, width * 4, 1)
             : nullptr;
    while (info->output_scanline < info->output_height) {
        TColor32* pixels = bitmap.ScanLine(static_cast<int>(info->output_scanline));
        JSAMPROW row = cmyk ? cmykRow[0] : reinterpret_cast<JSAMPROW>(pixels);
        if (jpeg_read_scanlines(info, &row, 1) != 1)
            return TJpegStatus::Failed; // cannot happen with a memory source, which never suspends
        if (cmyk) CmykRowToPixels(cmykRow[0], pixels, width, info->saw_Adobe_marker);
    }
    jpeg_finish_decompress(info);
    return TJpegStatus::Ok;
}

struct TDecompressGuard
{
    TJpegState& State;
    ~TDecompressGuard()
    {
        if (State.RewriterMade) jpeg_destroy_compress(&State.Rewriter);
        jpeg_destroy_decompress(&State.Info);
        std::free(State.Rewritten.Bytes);
    }
};

} // namespace

TReadResult ReadJpeg(std::span<const std::uint8_t> data, TBitmap32& out)
{
    if (data.empty()) return TReadResult::Failure(TruncatedFileError());
    auto state = std::make_unique<TJpegState>();
    state->Info.err = jpeg_std_error(&state->ErrorManager);
    state->ErrorManager.error_exit = OnJpegError;
    state->ErrorManager.emit_message = OnJpegMessage;
    state->Info.client_data = state.get();
    if (setjmp(state->Jump))
        return TReadResult::Failure(DamagedFileError(state->Message)); // jpeg_create_decompress failed
    jpeg_create_decompress(&state->Info);
    TDecompressGuard guard{*state};
    state->Progress.progress_monitor = OnJpegProgress;
    state->Info.progress = &state->Progress;

    TBitmap32 bitmap;
    switch (Decode(*state, data, bitmap)) {
    case TJpegStatus::Ok:
        out = std::move(bitmap);
        return TReadResult::Success();
    case TJpegStatus::TooLarge:
        return TReadResult::Failure(PictureTooLargeError(state->Info.image_width, state->Info.image_height));
    case TJpegStatus::BadSize:
        return TReadResult::Failure(BadPictureSizeError(state->Info.image_width, state->Info.image_height));
    case TJpegStatus::TooShort:
        return TReadResult::Failure(TruncatedFileError("too little image data for its size"));
    case TJpegStatus::NoEndMarker:
        return TReadResult::Failure(TruncatedFileError("no end-of-image marker"));
    case TJpegStatus::Failed:
        break;
    }
    return TReadResult::Failure(state->Truncated ? TruncatedFileError(state->Message)
                                                 : DamagedFileError(state->Message));
}

void RegisterJpegFormat(TPictureFormatRegistry& registry)
{
    registry.Register({"JPEG 이미지", "jpg", &ReadJpeg});
}

} // namespace tavrin
