#pragma once
// Appending little-endian header fields to a file being built in memory.

#include <cstdint>
#include <string>

namespace tavrin::bytes {

inline void Put8(std::string& out, unsigned v)
{
    out.push_back(static_cast<char>(v & 0xFF));
}

inline void Put16(std::string& out, unsigned v)
{
    Put8(out, v);
    Put8(out, v >> 8);
}

inline void Put32(std::string& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

} // namespace tavrin::bytes
