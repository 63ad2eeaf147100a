#pragma once
// Nearest-neighbour source columns for consecutive target columns: target column i (counted from
// the left of the destination) shows source column i x sourceSize / targetSize, rounded down. The
// stepper gives the same numbers as that division, one add and one compare per column.

#include <cstdint>

namespace tavrin {

struct TColumnStepper
{
    int Source = 0;

    // `first` >= 0 is the first target column, counted from the left of the destination.
    TColumnStepper(std::int64_t first, std::int64_t sourceSize, std::int64_t targetSize)
        : FTarget(targetSize), FWhole(sourceSize / targetSize), FPart(sourceSize % targetSize)
    {
        const std::int64_t n = first * sourceSize;
        Source = static_cast<int>(n / targetSize);
        FRest = n % targetSize;
    }

    void Next()
    {
        Source += static_cast<int>(FWhole);
        FRest += FPart;
        if (FRest >= FTarget) {
            FRest -= FTarget;
            ++Source;
        }
    }

private:
    std::int64_t FTarget;
    std::int64_t FWhole;
    std::int64_t FPart;
    std::int64_t FRest = 0;
};

} // namespace tavrin
