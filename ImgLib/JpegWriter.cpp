#include "ImgLib/JpegWriter.h"

#include "core/Bitmap32.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE
#include <jpeglib.h>
#include <memory>
#include <new>
#include <string>

namespace tavrin {
namespace {

constexpr int kMaxJpegSide = JPEG_MAX_DIMENSION;
constexpr std::size_t kChunk = 1 << 18;
constexpr int kRowsPerCall = 16;

// Everything the encoder touches between setjmp and longjmp is plain data in here, except the sink,
// which is only called inside a try block.
struct TJpegWriteState
{
    jpeg_compress_struct Info{};
    jpeg_error_mgr ErrorManager{};
    jpeg_destination_mgr Destination{};
    std::jmp_buf Jump{};
    char Message[JMSG_LENGTH_MAX] = {};
    const TByteSink* Sink = nullptr;
    JOCTET Buffer[kChunk];
};

TJpegWriteState& StateOf(j_common_ptr info)
{
    return *static_cast<TJpegWriteState*>(info->client_data);
}

[[noreturn]] void OnJpegError(j_common_ptr info)
{
    TJpegWriteState& state = StateOf(info);
    (*info->err->format_message)(info, state.Message);
    std::longjmp(state.Jump, 1);
}

void OnJpegMessage(j_common_ptr, int) {}

// Hands `count` bytes of the chunk buffer to the sink; a refusal becomes a libjpeg error.
void Flush(j_compress_ptr info, std::size_t count)
{
    TJpegWriteState& state = StateOf(reinterpret_cast<j_common_ptr>(info));
    const char* refusal = nullptr;
    try {
        if (!(*state.Sink)({reinterpret_cast<const char*>(state.Buffer), count}))
            refusal = "the encoded bytes could not be kept";
    } catch (const std::bad_alloc&) {
        refusal = "out of memory";
    } catch (...) {
        refusal = "the encoded bytes could not be kept";
    }
    if (refusal) {
        std::snprintf(state.Message, sizeof state.Message, "%s", refusal);
        std::longjmp(state.Jump, 1);
    }
    state.Destination.next_output_byte = state.Buffer;
    state.Destination.free_in_buffer = kChunk;
}

void InitDestination(j_compress_ptr info)
{
    TJpegWriteState& state = StateOf(reinterpret_cast<j_common_ptr>(info));
    state.Destination.next_output_byte = state.Buffer;
    state.Destination.free_in_buffer = kChunk;
}

boolean EmptyOutputBuffer(j_compress_ptr info)
{
    Flush(info, kChunk); // libjpeg asks only when the whole buffer is full
    return TRUE;
}

void TermDestination(j_compress_ptr info)
{
    Flush(info, kChunk - StateOf(reinterpret_cast<j_common_ptr>(info)).Destination.free_in_buffer);
}

// Encodes; only plain data lives in this frame.
bool Encode(TJpegWriteState& state, const TBitmap32& bitmap, int quality)
{
    j_compress_ptr info = &state.Info;
    if (setjmp(state.Jump)) return false;
    info->dest = &state.Destination;
    info->image_width = static_cast<JDIMENSION>(bitmap.Width());
    info->image_height = static_cast<JDIMENSION>(bitmap.Height());
    info->input_components = 4;
    info->in_color_space = JCS_EXT_BGRX; // $AARRGGBB words are B, G, R, A bytes here
    jpeg_set_defaults(info);
    jpeg_set_quality(info, quality, TRUE);
    for (int c = 0; c < info->num_components; ++c)
        info->comp_info[c].h_samp_factor = info->comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(info, TRUE);
    JSAMPROW rows[kRowsPerCall];
    while (info->next_scanline < info->image_height) {
        const int first = static_cast<int>(info->next_scanline);
        const int count = std::min(kRowsPerCall, bitmap.Height() - first);
        for (int i = 0; i < count; ++i) // libjpeg only reads the rows it is given
            rows[i] = const_cast<JSAMPROW>(reinterpret_cast<const JSAMPLE*>(bitmap.ScanLine(first + i)));
        jpeg_write_scanlines(info, rows, static_cast<JDIMENSION>(count));
    }
    jpeg_finish_compress(info);
    return true;
}

struct TCompressGuard
{
    j_compress_ptr Info;
    ~TCompressGuard() { jpeg_destroy_compress(Info); }
};

} // namespace

TWriteResult WriteJpeg(const TBitmap32& bitmap, std::string& out, int quality)
{
    out.clear();
    return WriteJpeg(bitmap, AppendingTo(out), quality);
}

TWriteResult WriteJpeg(const TBitmap32& bitmap, const TByteSink& sink, int quality)
{
    if (bitmap.Empty()) return TWriteResult::Failure(EmptyPictureError());
    if (bitmap.Width() > kMaxJpegSide || bitmap.Height() > kMaxJpegSide)
        return TWriteResult::Failure(
            TooLargeForFormatError("JPEG", bitmap.Width(), bitmap.Height(), kMaxJpegSide));
    std::unique_ptr<TJpegWriteState> state;
    try {
        state = std::make_unique<TJpegWriteState>();
    } catch (const std::bad_alloc&) {
        return TWriteResult::Failure(NotEnoughMemoryToWriteError());
    }
    state->Sink = &sink;
    state->Info.err = jpeg_std_error(&state->ErrorManager);
    state->ErrorManager.error_exit = OnJpegError;
    state->ErrorManager.emit_message = OnJpegMessage;
    state->Info.client_data = state.get();
    state->Destination.init_destination = InitDestination;
    state->Destination.empty_output_buffer = EmptyOutputBuffer;
    state->Destination.term_destination = TermDestination;
    if (setjmp(state->Jump)) return TWriteResult::Failure(EncoderError("JPEG", state->Message));
    jpeg_create_compress(&state->Info);
    TCompressGuard guard{&state->Info};
    if (!Encode(*state, bitmap, std::clamp(quality, 0, 100)))
        return TWriteResult::Failure(EncoderError("JPEG", state->Message));
    return TWriteResult::Success();
}

} // namespace tavrin
