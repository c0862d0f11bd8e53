#include "mapobjects/FaceListMemory.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include <sys/mman.h>

#if defined(__SANITIZE_ADDRESS__)

void* AllocateFaceListMemory(std::size_t bytes) {
    return ::operator new(bytes);
}

void FreeFaceListMemory(void* memory, std::size_t) noexcept {
    ::operator delete(memory);
}

#else

namespace {
// Lists are kept by size in steps of kStep bytes up to kLargest; larger ones (solids of very
// many faces) come from the general heap.
constexpr std::size_t kStep = 16;
constexpr std::size_t kLargest = std::size_t{64} << 10;
constexpr std::size_t kSizes = kLargest / kStep;
// Blocks of kBlock bytes, in whole large pages.
constexpr std::size_t kLargePage = std::size_t{2} << 20;
constexpr std::size_t kBlock = std::size_t{32} << 20;

// Guards the pool. Its work is a few instructions, so a thread that finds it taken waits
// by trying again rather than by sleeping: threads reading one map take lists from the pool
// tens of thousands of times, and putting a thread to sleep and waking it costs far more
// than the wait.
class SpinLock {
public:
    void lock() noexcept {
        for (int tries = 0; m_taken.exchange(true, std::memory_order_acquire); ++tries) {
            if (tries >= 64) {
                std::this_thread::yield();
            }
        }
    }
    void unlock() noexcept { m_taken.store(false, std::memory_order_release); }

private:
    std::atomic<bool> m_taken{false};
};

class FaceListPool {
public:
    void* Allocate(std::size_t bytes) {
        if (bytes == 0 || bytes > kLargest) {
            return ::operator new(bytes);
        }
        const std::size_t size = (bytes + kStep - 1) / kStep;
        const std::lock_guard lock(m_lock);
        if (std::vector<void*>& free = m_free[size - 1]; !free.empty()) {
            void* list = free.back();
            free.pop_back();
            return list;
        }
        const std::size_t rounded = size * kStep;
        if (static_cast<std::size_t>(m_end - m_next) < rounded && !NewBlock()) {
            m_tookFromHeap = true;
            return ::operator new(bytes);
        }
        void* memory = m_next;
        m_next += rounded;
        return memory;
    }

    void Free(void* memory, std::size_t bytes) noexcept {
        if (!memory) {
            return;
        }
        if (bytes == 0 || bytes > kLargest) {
            ::operator delete(memory);
            return;
        }
        const std::size_t size = (bytes + kStep - 1) / kStep;
        const std::lock_guard lock(m_lock);
        if (m_tookFromHeap && !InBlock(memory)) {
            // Taken from the heap when no block could be had.
            ::operator delete(memory);
            return;
        }
        try {
            m_free[size - 1].push_back(memory);
        } catch (const std::bad_alloc&) {
            // No room to note it: the list is not used again.
        }
    }

private:
    bool InBlock(const void* memory) const {
        const auto* byte = static_cast<const char*>(memory);
        for (const char* block : m_blocks) {
            if (byte >= block && byte < block + kBlock) {
                return true;
            }
        }
        return false;
    }

    // A new block, aligned to a large page and marked for large pages.
    bool NewBlock() {
        void* mapped = ::mmap(nullptr, kBlock + kLargePage, PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED) {
            return false;
        }
        char* start = static_cast<char*>(mapped);
        char* aligned = reinterpret_cast<char*>(
            (reinterpret_cast<std::uintptr_t>(start) + kLargePage - 1) & ~(kLargePage - 1));
        if (aligned > start) {
            ::munmap(start, static_cast<std::size_t>(aligned - start));
        }
        char* const end = aligned + kBlock;
        char* const mappedEnd = start + kBlock + kLargePage;
        if (mappedEnd > end) {
            ::munmap(end, static_cast<std::size_t>(mappedEnd - end));
        }
        ::madvise(aligned, kBlock, MADV_HUGEPAGE);
        try {
            m_blocks.push_back(aligned);
        } catch (const std::bad_alloc&) {
            ::munmap(aligned, kBlock);
            return false;
        }
        m_next = aligned;
        m_end = end;
        return true;
    }

    SpinLock m_lock;
    // The freed lists of each size. Kept apart from the lists themselves, so that taking one
    // does not first wait for its memory to tell where the next one is.
    std::vector<void*> m_free[kSizes];
    std::vector<char*> m_blocks;
    char* m_next = nullptr;
    char* m_end = nullptr;
    // Some list of a pooled size came from the heap.
    bool m_tookFromHeap = false;
};

FaceListPool& Pool() {
    // Never destroyed: face lists may be freed while static objects are destroyed.
    static FaceListPool* const pool = new FaceListPool;
    return *pool;
}
} // namespace

void* AllocateFaceListMemory(std::size_t bytes) {
    return Pool().Allocate(bytes);
}

void FreeFaceListMemory(void* memory, std::size_t bytes) noexcept {
    Pool().Free(memory, bytes);
}

#endif
