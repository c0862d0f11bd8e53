#include "gamedata/Wad2Directory.h"

#include "gamedata/ByteSource.h"
#include "gamedata/QuakeGraphic.h"

#include <cstring>

namespace {
std::int32_t ReadInt32(const std::uint8_t* p) {
    std::uint32_t v = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                      (static_cast<std::uint32_t>(p[2]) << 16) |
                      (static_cast<std::uint32_t>(p[3]) << 24);
    return static_cast<std::int32_t>(v);
}
std::uint32_t ReadUInt32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(ReadInt32(p));
}
} // namespace

bool Wad2Directory::HasMagic(ByteSource& source) {
    char magic[4];
    return source.ReadAt(0, magic, sizeof magic) && std::memcmp(magic, "WAD2", 4) == 0;
}

bool Wad2Directory::Read(ByteSource& source, std::vector<Wad2Texture>& textures) {
    std::uint8_t header[kHeaderSize];
    if (!source.ReadAt(0, header, sizeof header)) {
        return false;
    }
    const std::int32_t count = ReadInt32(header + 4);
    const std::int32_t directoryOffset = ReadInt32(header + 8);
    const std::uint64_t size = source.Size();
    if (count <= 0 || directoryOffset < 0 || static_cast<std::uint64_t>(directoryOffset) > size) {
        return true;
    }
    // Never trust the count beyond what the file can hold.
    std::uint64_t available = (size - static_cast<std::uint64_t>(directoryOffset)) / kEntrySize;
    std::uint64_t entries = std::min<std::uint64_t>(static_cast<std::uint64_t>(count), available);
    std::vector<std::uint8_t> directory(static_cast<std::size_t>(entries * kEntrySize));
    if (!source.ReadAt(static_cast<std::uint64_t>(directoryOffset), directory.data(),
                       directory.size())) {
        return true;
    }
    textures.reserve(textures.size() + static_cast<std::size_t>(entries));
    for (std::uint64_t i = 0; i < entries; ++i) {
        const std::uint8_t* entry = directory.data() + i * kEntrySize;
        // The name fills at most 15 characters, whether or not the 16 bytes hold a terminator.
        const char* rawName = reinterpret_cast<const char*>(entry + 16);
        std::size_t length = 0;
        while (length < QuakeGraphic::kMaxName && rawName[length] != '\0') {
            ++length;
        }
        if (length == 0) {
            continue;
        }
        const std::int32_t lumpOffset = ReadInt32(entry);
        if (lumpOffset < 0) {
            continue;
        }
        std::uint8_t lumpHeader[kTextureHeaderSize];
        if (!source.ReadAt(static_cast<std::uint64_t>(lumpOffset), lumpHeader, sizeof lumpHeader)) {
            continue;
        }
        const std::uint64_t width = ReadUInt32(lumpHeader + 16);
        const std::uint64_t height = ReadUInt32(lumpHeader + 20);
        if (width > kMaxPixels || height > kMaxPixels || width * height > kMaxPixels) {
            continue;
        }
        const std::uint64_t dataOffset =
            static_cast<std::uint64_t>(lumpOffset) + kTextureHeaderSize;
        if (dataOffset + width * height > size) {
            continue;
        }
        Wad2Texture texture;
        texture.name.assign(rawName, length);
        texture.width = static_cast<int>(width);
        texture.height = static_cast<int>(height);
        texture.dataOffset = static_cast<std::uint32_t>(dataOffset);
        textures.push_back(std::move(texture));
    }
    return true;
}
