#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A regular file opened for reading at any offset without moving a shared position (one
// system call per read). Opening refuses anything but a plain file, so a pipe or device named
// by a data file can neither block nor stream forever.
class RandomAccessFile {
public:
    RandomAccessFile() = default;
    ~RandomAccessFile();
    RandomAccessFile(const RandomAccessFile&) = delete;
    RandomAccessFile& operator=(const RandomAccessFile&) = delete;

    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    std::uint64_t Size() const { return m_size; }
    // Exactly count bytes at offset; false when the range leaves the file or reading fails.
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const;

private:
    int m_fd = -1;
    std::uint64_t m_size = 0;
};
