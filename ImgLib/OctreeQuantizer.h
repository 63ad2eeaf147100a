#pragma once
// Choosing a small set of colours that stands for a picture: octree colour quantisation. The picture's
// colours are counted in an octree (6 bits a channel at the leaves, with exact sums, so every leaf's
// colour is the true mean of its pixels); then the subtree whose merging adds the least squared error is
// folded into its parent, again and again, until no more than the wanted number of leaves are left. A few
// rounds of k-means over the counted cells then move each colour to the mean of the cells nearest to it.

#include "ImgLib/SystemPalette.h"

#include <vector>

namespace tavrin {

class TBitmap32;

// At most `maxColors` colours. A picture of no more colours than that gets exactly its own colours.
std::vector<TRgb> OctreePalette(const TBitmap32& bitmap, int maxColors);

// The picture's distinct colours when it has at most `maxColors` of them; otherwise empty.
std::vector<TRgb> DistinctColors(const TBitmap32& bitmap, int maxColors);

} // namespace tavrin
