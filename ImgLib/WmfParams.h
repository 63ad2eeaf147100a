#pragma once
// Bounds-checked access to a metafile record's parameters, which are little-endian 16-bit words. Reads past
// the end give 0; players check Has() before they rely on a field.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace tavrin {

class TWmfParams
{
  public:
    explicit TWmfParams(std::span<const std::uint8_t> bytes) : FBytes(bytes) {}

    bool Has(std::size_t words) const { return words <= FBytes.size() / 2; }
    std::size_t ByteCount() const { return FBytes.size(); }

    std::uint16_t U16(std::size_t word) const
    {
        if (!Has(word + 1)) return 0;
        std::uint16_t v = 0;
        std::memcpy(&v, FBytes.data() + word * 2, 2);
        return v;
    }
    std::int16_t I16(std::size_t word) const { return static_cast<std::int16_t>(U16(word)); }
    std::uint32_t U32(std::size_t word) const
    {
        return static_cast<std::uint32_t>(U16(word)) | static_cast<std::uint32_t>(U16(word + 1)) << 16;
    }

    // `length` bytes from `offset`, or an empty span when they are not all there.
    std::span<const std::uint8_t> Bytes(std::size_t offset, std::size_t length) const
    {
        if (offset > FBytes.size() || length > FBytes.size() - offset) return {};
        return FBytes.subspan(offset, length);
    }
    std::span<const std::uint8_t> BytesFrom(std::size_t offset) const
    {
        return offset > FBytes.size() ? std::span<const std::uint8_t>{} : FBytes.subspan(offset);
    }

  private:
    std::span<const std::uint8_t> FBytes;
};

} // namespace tavrin
