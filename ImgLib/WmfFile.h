#pragma once
// The structure of a Windows metafile: the optional placeable header that gives its size, and the chain of
// records, each checked to lie inside the data.

#include "ImgLib/ReadResult.h"

#include <cstdint>
#include <cstring>
#include <span>

namespace tavrin {

struct TWmfRecord
{
    std::uint16_t Function = 0;
    std::span<const std::uint8_t> Params; // the record's parameters, after its size and function fields
};

struct TWmfFile
{
    bool Placeable = false;
    std::int16_t Left = 0, Top = 0, Right = 0, Bottom = 0; // logical units (placeable files)
    std::uint16_t UnitsPerInch = 0;
    std::uint16_t ObjectCount = 0;
    std::span<const std::uint8_t> Records; // the checked record chain, up to and not including META_EOF
};

TReadResult ParseWmf(std::span<const std::uint8_t> data, TWmfFile& file);

// Calls `visit` with each record of a chain that ParseWmf has checked.
template <typename F> void ForEachWmfRecord(std::span<const std::uint8_t> records, F&& visit)
{
    std::size_t position = 0;
    while (records.size() - position >= 6) {
        std::uint32_t words = 0;
        std::uint16_t function = 0;
        std::memcpy(&words, records.data() + position, 4);
        std::memcpy(&function, records.data() + position + 4, 2);
        const std::size_t bytes = std::size_t{words} * 2;
        visit(TWmfRecord{function, records.subspan(position + 6, bytes - 6)});
        position += bytes;
    }
}

} // namespace tavrin
