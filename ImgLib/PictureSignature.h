#pragma once
// What the first bytes of each picture format look like. Qt's readers decide by content even when told
// the format, so a GIF named .bmp would be decoded as a GIF, at the cost of whatever it claims; the readers
// check the signature themselves first, and the file loader checks it before reading more than the head.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tavrin {

// Enough bytes for every check below.
inline constexpr std::size_t kSignatureBytes = 44;

bool HasBmpSignature(std::span<const std::uint8_t> head);
bool HasIcoSignature(std::span<const std::uint8_t> head);
bool HasGifSignature(std::span<const std::uint8_t> head);
bool HasJpegSignature(std::span<const std::uint8_t> head);
bool HasPngSignature(std::span<const std::uint8_t> head);
bool HasWmfSignature(std::span<const std::uint8_t> head);
bool HasEmfSignature(std::span<const std::uint8_t> head);

// The check for the format with file extension `extension` (lower case); true for an extension it does
// not know, whose reader then decides alone.
bool HasSignatureOf(std::string_view extension, std::span<const std::uint8_t> head);

} // namespace tavrin
