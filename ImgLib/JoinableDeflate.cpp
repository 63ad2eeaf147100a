#include "ImgLib/JoinableDeflate.h"

#include <libdeflate.h>
#include <zlib.h>

#include <new>

namespace tavrin {
namespace {

// The empty stored block that ends an open band: three header bits of zero (not final, stored), the
// rest of the byte, then a length of 0 and its complement.
constexpr std::uint8_t kStoredEmpty[] = {0x00, 0x00, 0xFF, 0xFF};
constexpr int kStoredHeaderBits = 3;

struct TInflateGuard
{
    z_stream* Stream;
    ~TInflateGuard() { inflateEnd(Stream); }
};

// Where a block header's first bit (the final-block mark) lies.
struct TBitAt
{
    std::size_t Byte = 0;
    std::uint8_t Mask = 1;
};

// Walks the complete stream block by block (libdeflate tells nothing about where its blocks begin), clears
// the final block's mark and appends the empty stored block after its last bit. `band` has room for five
// more bytes. False when the stream does not decode to its end.
bool OpenStream(TDeflatedBand& band)
{
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) throw std::bad_alloc();
    const TInflateGuard guard{&z};
    z.next_in = band.Bytes.get();
    z.avail_in = static_cast<uInt>(band.Size);
    static thread_local std::uint8_t sink[1 << 16];
    TBitAt header; // the first block starts at the first bit
    for (;;) {
        z.next_out = sink;
        z.avail_out = sizeof sink;
        const int ret = inflate(&z, Z_BLOCK);
        if (ret != Z_OK) return false; // the final block's end stops inflate before Z_STREAM_END
        if (!(z.data_type & 128)) {
            if (z.avail_in == 0 && z.avail_out != 0) return false; // cut short
            continue;
        }
        const auto unused = static_cast<unsigned>(z.data_type & 7);
        const std::size_t used = static_cast<std::size_t>(z.next_in - band.Bytes.get());
        if (z.data_type & 64) { // just past the final block's end
            if (used != band.Size) return false;
            band.Bytes[header.Byte] &= static_cast<std::uint8_t>(~header.Mask);
            if (unused > 0) band.Bytes[used - 1] &= static_cast<std::uint8_t>(0xFF >> unused);
            if (unused < kStoredHeaderBits) band.Bytes[band.Size++] = 0;
            for (std::uint8_t b : kStoredEmpty)
                band.Bytes[band.Size++] = b;
            return true;
        }
        header = unused > 0 ? TBitAt{used - 1, static_cast<std::uint8_t>(0x100 >> unused)} : TBitAt{used, 1};
        if (header.Byte >= band.Size) return false;
    }
}

} // namespace

TJoinableDeflater::TJoinableDeflater(int level) : FCompressor(libdeflate_alloc_compressor(level)) {}

TJoinableDeflater::~TJoinableDeflater()
{
    libdeflate_free_compressor(FCompressor);
}

bool TJoinableDeflater::Deflate(const std::uint8_t* data, std::size_t size, bool last,
                                TDeflatedBand& out) const
{
    const std::size_t room = libdeflate_deflate_compress_bound(FCompressor, size) + 1 + sizeof kStoredEmpty;
    if (out.Capacity < room) {
        out.Bytes = std::make_unique_for_overwrite<std::uint8_t[]>(room);
        out.Capacity = room;
    }
    out.Size = libdeflate_deflate_compress(FCompressor, data, size, out.Bytes.get(), room);
    if (out.Size == 0) return false;
    return last || OpenStream(out);
}

} // namespace tavrin
