#pragma once
// A second opinion on WMF files: libwmf's own renderer. It is kept out of the program (it crashes on some
// valid files, cannot draw Korean text and misplaces baseline text) and serves the tests as an independent
// decoder of shapes and colours. Its headers define names that clash with Qt, so this interface is
// standard C++ only and its .cpp includes no Qt header.

#include <cstdint>
#include <string>
#include <vector>

namespace tavrin::test {

// Renders a placeable WMF at width x height pixels over white; pixels are 0xFFRRGGBB, row by row.
bool RenderWithLibwmf(const std::vector<std::uint8_t>& wmf, int width, int height,
                      std::vector<std::uint32_t>& pixels, std::string& error);

} // namespace tavrin::test
