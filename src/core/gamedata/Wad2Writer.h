#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Builds WAD2 files of textures: each lump holds the 40-byte texture header and four mip
// levels, so the files serve both the editor and the compile tools. Used by the content
// generator, tests and benchmarks.
class Wad2Writer {
public:
    static constexpr std::uint8_t kTextureLumpType = 0x44;

    // levels[0] holds width x height palette indices; levels 1 to 3 (half, quarter, eighth
    // size) are made by point sampling when left empty.
    void AddTexture(const std::string& name, int width, int height,
                    std::array<std::vector<std::uint8_t>, 4> levels);
    // A lump of any content, exactly as given (for files with unusual entries).
    void AddRawLump(const std::string& name, std::vector<std::uint8_t> bytes,
                    std::uint8_t type = kTextureLumpType);

    std::vector<std::uint8_t> Build() const;
    bool Save(const std::string& path) const;

    // The 16-byte directory name: the text cut to 16 bytes, NUL-padded.
    static std::array<char, 16> PackName(const std::string& name);

private:
    struct Lump {
        std::array<char, 16> name;
        std::uint8_t type;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Lump> m_lumps;
};
