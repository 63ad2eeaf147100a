#pragma once
// The artwork of the left tool panel, drawn once in code: the 27 button pictures (three per button:
// normal, hover in a raised frame, selected on a coloured ground), the two small icons, the red
// markers and the three section labels.

#include <QImage>

#include <vector>

namespace tavrin {

inline constexpr int kToolPictureWidth = 31;
inline constexpr int kToolPictureHeight = 23;
inline constexpr int kToolPictureCount = 27;

// The button pictures in button order, three consecutive ones for each button. Opaque.
const std::vector<QImage>& ImageListIcon();

QImage PositionIconPicture(); // 17 x 17, four-way arrow
QImage GuideIconPicture();    // 17 x 13, a guide line between two arrows
QImage MarkerPicture();       // 7 x 4, small red triangle

enum class TToolSection { Cut, Link, View };
// The label over a group of buttons: a coloured plate naming the group.
QImage SectionLabelPicture(TToolSection section, int width, int height);

} // namespace tavrin
