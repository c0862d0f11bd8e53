#include "gamedata/ByteSource.h"

#include <cstring>
#include <filesystem>

FileByteSource::~FileByteSource() {
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

bool FileByteSource::Open(const std::string& path) {
    // Only plain files: opening a pipe could block, and a device has no size.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    if (std::fseek(file, 0, SEEK_END) != 0) {
        std::fclose(file);
        return false;
    }
    long size = std::ftell(file);
    if (size < 0) {
        std::fclose(file);
        return false;
    }
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
    m_file = file;
    m_size = static_cast<std::uint64_t>(size);
    return true;
}

bool FileByteSource::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) {
    if (m_file == nullptr || offset > m_size || count > m_size - offset) {
        return false;
    }
    if (count == 0) {
        return true;
    }
    if (std::fseek(m_file, static_cast<long>(offset), SEEK_SET) != 0) {
        return false;
    }
    return std::fread(buffer, 1, count, m_file) == count;
}

bool MemoryByteSource::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) {
    if (offset > m_bytes.size() || count > m_bytes.size() - offset) {
        return false;
    }
    if (count > 0) {
        std::memcpy(buffer, m_bytes.data() + offset, count);
    }
    return true;
}
