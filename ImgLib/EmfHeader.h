#pragma once
// The parts of an EMF header the reader needs, and a check that the record chain is sound before the file
// is handed to a converter that trusts it.

#include "ImgLib/ReadResult.h"

#include <cstdint>
#include <span>

namespace tavrin {

struct TEmfHeader
{
    std::int32_t FrameLeft = 0, FrameTop = 0, FrameRight = 0, FrameBottom = 0; // 0.01 mm, inclusive
    double DevicePerUnitX = 0, DevicePerUnitY = 0; // reference-device pixels per 0.01 mm
    std::int64_t Width = 0, Height = 0;            // the picture at 96 pixels per inch
};

// Parses the header and walks every record to EMR_EOF, checking that each lies inside the data.
TReadResult ParseEmfHeader(std::span<const std::uint8_t> data, TEmfHeader& header);

} // namespace tavrin
