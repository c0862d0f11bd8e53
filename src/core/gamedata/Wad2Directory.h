#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ByteSource;

// The textures a WAD2 file lists: its directory read together with each texture's 40-byte
// header. Only these are read; pixels stay in the file until used.
struct Wad2Texture {
    std::string name; // at most 15 characters
    int width = 0;
    int height = 0;
    std::uint32_t dataOffset = 0; // the level-0 image, right after the texture header
};

struct Wad2Directory {
    static constexpr std::size_t kHeaderSize = 12;
    static constexpr std::size_t kEntrySize = 32;
    static constexpr std::size_t kTextureHeaderSize = 40;
    static constexpr std::uint64_t kMaxPixels = 0x100000;

    // Does the source start with "WAD2"?
    static bool HasMagic(ByteSource& source);
    // Reads the header and directory. Entries are dropped when their name is empty, their image
    // holds more than 1,048,576 pixels, or their header or image lies outside the file. False
    // when the file has no readable 12-byte header.
    static bool Read(ByteSource& source, std::vector<Wad2Texture>& textures);
};
