#include "core/LargeBlockAllocator.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tavrin::largeblock {

namespace {
std::size_t Rounded(std::size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }
} // namespace

void* Allocate(std::size_t bytes)
{
    if (bytes < kThreshold)
        return ::operator new(bytes);
    const std::size_t size = Rounded(bytes);
    void* p = ::operator new(size, std::align_val_t{kHugePage});
#if defined(MADV_HUGEPAGE)
    madvise(p, size, MADV_HUGEPAGE); // only advice: without huge pages everything works the same
#endif
    return p;
}

void Free(void* p, std::size_t bytes) noexcept
{
    if (bytes < kThreshold)
        ::operator delete(p);
    else
        ::operator delete(p, std::align_val_t{kHugePage});
}

} // namespace tavrin::largeblock
