#include "gamedata/ByteSource.h"

#include <cstring>

bool MemoryByteSource::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) {
    if (offset > m_bytes.size() || count > m_bytes.size() - offset) {
        return false;
    }
    if (count > 0) {
        std::memcpy(buffer, m_bytes.data() + offset, count);
    }
    return true;
}
