#pragma once
// An allocator for pixel buffers. Blocks of several megabytes are aligned to 2 MB and offered to
// the system for huge pages: a view of a large picture reads a few kilobytes from each of a
// thousand rows tens of kilobytes apart, and with ordinary 4 KB pages nearly every row costs a
// miss in the address translation cache. Small blocks are ordinary allocations.

#include <cstddef>
#include <new>

namespace tavrin {

namespace largeblock {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kThreshold = 4 * kHugePage;
void* Allocate(std::size_t bytes);
void Free(void* p, std::size_t bytes) noexcept;
} // namespace largeblock

template <class T>
struct TLargeBlockAllocator
{
    using value_type = T;

    TLargeBlockAllocator() = default;
    template <class U>
    TLargeBlockAllocator(const TLargeBlockAllocator<U>&) noexcept // NOLINT(google-explicit-constructor)
    {
    }

    T* allocate(std::size_t n)
    {
        if (n > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_array_new_length();
        return static_cast<T*>(largeblock::Allocate(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { largeblock::Free(p, n * sizeof(T)); }

    template <class U>
    bool operator==(const TLargeBlockAllocator<U>&) const noexcept
    {
        return true;
    }
};

} // namespace tavrin
