#include "platform/FileText.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {
// Files from this size on are read into memory of their own, in whole large pages.
constexpr std::size_t kLargeFile = std::size_t{1} << 20;
constexpr std::size_t kLargePage = std::size_t{2} << 20;

// Fills buffer by calls of readSome(at, want, done) (a read of what is left, done bytes in)
// until it is full or the file ends; false on a read error.
template <typename ReadSome>
bool Fill(ReadSome readSome, char* buffer, std::size_t room, std::size_t& got) {
    got = 0;
    while (got < room) {
        const ssize_t count = readSome(buffer + got, room - got, got);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (count == 0) {
            break;
        }
        got += static_cast<std::size_t>(count);
    }
    return true;
}

// Reads from fd into buffer until it is full or the file ends; false on a read error.
bool ReadInto(int fd, char* buffer, std::size_t room, std::size_t& got) {
    return Fill([fd](char* at, std::size_t want, std::size_t) { return ::read(fd, at, want); },
                buffer, room, got);
}

// The same from the file's offset on, leaving fd's position alone.
bool ReadAt(int fd, std::size_t offset, char* buffer, std::size_t room, std::size_t& got) {
    return Fill(
        [fd, offset](char* at, std::size_t want, std::size_t done) {
            return ::pread(fd, at, want, static_cast<off_t>(offset + done));
        },
        buffer, room, got);
}

// Reads the file from its start into buffer until it is full or the file ends, the second
// half on a thread of its own: copying a large file into fresh memory is work for two cores.
// Leaves fd's position after what was read.
bool ReadLargeFile(int fd, std::size_t size, char* buffer, std::size_t room, std::size_t& got) {
    const std::size_t half = size / 2 / 4096 * 4096;
    std::size_t secondGot = 0;
    int secondError = 0;
    bool secondOk = true;
    std::thread second;
    try {
        second = std::thread([&] {
            secondOk = ReadAt(fd, half, buffer + half, room - half, secondGot);
            secondError = errno;
        });
    } catch (const std::system_error&) {
        return ReadInto(fd, buffer, room, got);
    }
    std::size_t firstGot = 0;
    const bool firstOk = ReadAt(fd, 0, buffer, half, firstGot);
    const int firstError = errno;
    second.join();
    if (!firstOk || !secondOk) {
        errno = firstOk ? secondError : firstError;
        return false;
    }
    // A file that shrank meanwhile ends in its first half.
    got = firstGot < half ? firstGot : half + secondGot;
    return ::lseek(fd, static_cast<off_t>(got), SEEK_SET) >= 0;
}

// The memory of the last large file read, kept for the next one: memory the system has handed
// out already is filled without a page fault and a page of zeros per page, which cost more
// than the reading. It is marked free meanwhile, so that the system may take it back when
// memory runs short (it then comes back as fresh zeros).
class SpareMemory {
public:
    // Memory of room bytes or a little more (its size in size), or nullptr.
    char* Take(std::size_t room, std::size_t& size) {
        const std::lock_guard lock(m_lock);
        if (!m_memory || m_size < room || m_size > 2 * room) {
            return nullptr;
        }
        char* const memory = m_memory;
        size = m_size;
        m_memory = nullptr;
        m_size = 0;
        return memory;
    }
    void Give(char* memory, std::size_t size) {
        ::madvise(memory, size, MADV_FREE);
        const std::lock_guard lock(m_lock);
        if (m_memory) {
            ::munmap(m_memory, m_size);
        }
        m_memory = memory;
        m_size = size;
    }

private:
    std::mutex m_lock;
    char* m_memory = nullptr;
    std::size_t m_size = 0;
};

SpareMemory& Spare() {
    // Never destroyed: texts may be released while static objects are destroyed.
    static SpareMemory* const spare = new SpareMemory;
    return *spare;
}

// Reads the rest of the file onto the end of text.
bool ReadRest(int fd, std::string& text) {
    for (;;) {
        const std::size_t before = text.size();
        text.resize(before + (1 << 16));
        std::size_t got = 0;
        if (!ReadInto(fd, text.data() + before, 1 << 16, got)) {
            text.resize(before);
            return false;
        }
        text.resize(before + got);
        if (got == 0) {
            return true;
        }
    }
}
} // namespace

FileText::~FileText() {
    Release();
}

void FileText::Release() {
    if (m_mapped) {
        Spare().Give(m_mapped, m_mappedSize);
    }
    m_mapped = nullptr;
    m_mappedSize = 0;
    m_size = 0;
    m_string.clear();
    m_inString = true;
}

std::string_view FileText::Text() const {
    return m_inString ? std::string_view(m_string) : std::string_view(m_mapped, m_size);
}

bool FileText::Read(const std::string& path, std::string& error) {
    Release();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = "not a regular file";
        ::close(fd);
        return false;
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    bool ok = true;
    if (size >= kLargeFile) {
        // One byte of room beyond the size tells a file that grew from one that did not.
        std::size_t room = (size + 1 + kLargePage - 1) / kLargePage * kLargePage;
        void* memory = Spare().Take(room, room);
        if (!memory) {
            memory =
                ::mmap(nullptr, room, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (memory != MAP_FAILED) {
                // Only advice: without large pages the memory works the same.
                ::madvise(memory, room, MADV_HUGEPAGE);
            }
        }
        if (memory != MAP_FAILED) {
            m_mapped = static_cast<char*>(memory);
            m_mappedSize = room;
            std::size_t got = 0;
            ok = ReadLargeFile(fd, size, m_mapped, room, got);
            if (ok && got < room) {
                m_size = got;
                m_inString = false;
            } else if (ok) {
                // The file grew past the room: go on in a string.
                m_string.assign(m_mapped, got);
                Spare().Give(m_mapped, m_mappedSize);
                m_mapped = nullptr;
                m_mappedSize = 0;
                ok = ReadRest(fd, m_string);
            }
            if (!ok) {
                error = std::strerror(errno);
            }
            ::close(fd);
            if (!ok) {
                Release();
            }
            return ok;
        }
    }
    m_string.resize(size + 1);
    std::size_t got = 0;
    ok = ReadInto(fd, m_string.data(), m_string.size(), got);
    if (ok) {
        m_string.resize(got);
        if (got == size + 1) {
            ok = ReadRest(fd, m_string);
        }
    }
    if (!ok) {
        error = std::strerror(errno);
        Release();
    }
    ::close(fd);
    return ok;
}
