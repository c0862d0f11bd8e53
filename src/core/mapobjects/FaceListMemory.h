#pragma once

#include <cstddef>

// Memory for the face lists of solids. A large map holds tens of thousands of lists of a few
// kilobytes each: from the general heap each list costs a search among the heap's larger
// free blocks, and a map being read touches fresh memory page by page. Face lists are cut
// from large blocks the system may back with large pages instead, and a freed list is kept
// for the next list of its size (this memory is reused, not handed back to the system).
// Safe to use from several threads. Builds with the address sanitizer use the general heap,
// so that it sees every list.
void* AllocateFaceListMemory(std::size_t bytes);
void FreeFaceListMemory(void* memory, std::size_t bytes) noexcept;

// The allocator of a solid's face list.
template <typename T> struct FaceListAllocator {
    using value_type = T;

    FaceListAllocator() noexcept = default;
    template <typename U> FaceListAllocator(const FaceListAllocator<U>&) noexcept {}

    T* allocate(std::size_t count) {
        return static_cast<T*>(AllocateFaceListMemory(count * sizeof(T)));
    }
    void deallocate(T* memory, std::size_t count) noexcept {
        FreeFaceListMemory(memory, count * sizeof(T));
    }

    template <typename U> bool operator==(const FaceListAllocator<U>&) const noexcept {
        return true;
    }
};
