#pragma once
// Text in a metafile is in the code page of its font's character set (Korean text in CP949 and so on).

#include <QString>

#include <cstdint>
#include <span>
#include <vector>

namespace tavrin {

struct TDecodedChar
{
    QString Text;
    int Bytes = 1; // how many bytes of the record it took: per-byte advances add up per character
};

std::vector<TDecodedChar> DecodeCharsetChars(std::span<const std::uint8_t> bytes, std::uint8_t charset);
QString DecodeCharset(std::span<const std::uint8_t> bytes, std::uint8_t charset);

} // namespace tavrin
