#pragma once

#include "platform/RandomAccessFile.h"
#include <cstddef>
#include <cstdint>

#include <string>
#include <vector>

// Random-access reading of a WAD file's bytes: from an open file (kept open so pixels can be
// read on first use) or from memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Reads exactly count bytes at offset; false (and nothing promised about buffer) when the
    // range does not lie inside the source or the read fails.
    virtual bool ReadAt(std::uint64_t offset, void* buffer, std::size_t count) = 0;
};

class FileByteSource : public ByteSource {
public:
    // Opens a regular file for reading; false when it cannot be opened.
    bool Open(const std::string& path) { return m_file.Open(path); }
    std::uint64_t Size() const override { return m_file.Size(); }
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t count) override {
        return m_file.ReadAt(offset, buffer, count);
    }

private:
    RandomAccessFile m_file;
};

class MemoryByteSource : public ByteSource {
public:
    explicit MemoryByteSource(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    MemoryByteSource(const std::uint8_t* data, std::size_t size) : m_bytes(data, data + size) {}
    std::uint64_t Size() const override { return m_bytes.size(); }
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t count) override;

private:
    std::vector<std::uint8_t> m_bytes;
};
