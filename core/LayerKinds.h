#pragma once
// The values kept in a layer's Tag, the tool modes and the area shapes of the editor document.

#include <cstdint>

namespace tavrin {

enum TLayerKind : int {
    lkHighlight = 0,
    lkGuideX = 1,
    lkGuideY = 2,
    lkSelection = 5,
    lkSketch = 6,
    lkMapPolygon = 10,
    lkMapShape = 11,
};

// Every test for an image-map area uses this range; 12 is reserved and never given to a layer.
constexpr bool IsAreaKind(int tag) { return tag >= 10 && tag <= 12; }
constexpr bool IsGuideKind(int tag) { return tag == lkGuideX || tag == lkGuideY; }

enum class TToolMode : std::uint8_t {
    tmNone = 0,
    tmSelect = 2,
    tmMapPolygon = 3,
    tmMapRect = 4,
    tmMapCircle = 5,
    tmZoomIn = 6,
    tmZoomOut = 7,
};

enum class TMapShape : std::uint8_t { msRect = 0, msCircle = 1, msPolygon = 2 };

} // namespace tavrin
