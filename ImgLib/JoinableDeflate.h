#pragma once
// Raw deflate streams that join into one: each band of the data is compressed on its own (on any thread),
// and every band but the last is left open, without the final-block mark and ended on a byte boundary by
// an empty stored block, so that the bands one after another decode as a single deflate stream.

#include <cstddef>
#include <cstdint>
#include <memory>

struct libdeflate_compressor;

namespace tavrin {

struct TDeflatedBand
{
    std::unique_ptr<std::uint8_t[]> Bytes;
    std::size_t Size = 0;
    std::size_t Capacity = 0; // of Bytes; a band's buffer is used again for the next when it is large enough
};

class TJoinableDeflater
{
  public:
    // libdeflate's level, 1 (fastest) to 12. Ok() is false when there was no memory for the compressor.
    explicit TJoinableDeflater(int level);
    ~TJoinableDeflater();
    TJoinableDeflater(const TJoinableDeflater&) = delete;
    TJoinableDeflater& operator=(const TJoinableDeflater&) = delete;

    bool Ok() const { return FCompressor != nullptr; }

    // Compresses `size` bytes; `last` keeps the final-block mark. Throws std::bad_alloc when memory runs out;
    // false when the band's own stream did not decode while it was being opened (it always should).
    bool Deflate(const std::uint8_t* data, std::size_t size, bool last, TDeflatedBand& out) const;

  private:
    libdeflate_compressor* FCompressor = nullptr;
};

} // namespace tavrin
