#pragma once
// Fixed-size little-endian fields of file headers and records, read from and written to byte buffers.
// The callers check the bounds; the host is little-endian.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace tavrin::bytes {

template <typename T> T Read(std::span<const std::uint8_t> data, std::size_t offset)
{
    T v{};
    std::memcpy(&v, data.data() + offset, sizeof v);
    return v;
}

template <typename T> void Write(std::vector<std::uint8_t>& data, std::size_t offset, T v)
{
    std::memcpy(data.data() + offset, &v, sizeof v);
}

} // namespace tavrin::bytes
