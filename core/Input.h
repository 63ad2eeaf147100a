#pragma once
// Pointer input as the editing core receives it, independent of any window toolkit.

#include <cstdint>

namespace tavrin {

enum class TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

// Shift state of a pointer or key event: a set of flags.
enum TShiftFlag : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
using TShiftState = unsigned;

// Pointer shapes. The window toolkit maps them onto its own; 101 and 102 are the two zoom cursors.
enum class TCursor : int {
    crDefault = 0,
    crArrow,
    crSizeAll,
    crSizeWE,
    crSizeNS,
    crSizeNWSE,
    crSizeNESW,
    crHSplit,
    crVSplit,
    crHandPoint,
    crZoomIn = 101,
    crZoomOut = 102,
};

} // namespace tavrin
