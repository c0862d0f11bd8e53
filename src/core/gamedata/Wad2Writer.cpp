#include "gamedata/Wad2Writer.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace {
void PutInt32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}
void SetInt32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}
} // namespace

std::array<char, 16> Wad2Writer::PackName(const std::string& name) {
    std::array<char, 16> packed{};
    std::memcpy(packed.data(), name.data(), std::min<std::size_t>(name.size(), packed.size()));
    return packed;
}

void Wad2Writer::AddTexture(const std::string& name, int width, int height,
                            std::array<std::vector<std::uint8_t>, 4> levels) {
    levels[0].resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int level = 1; level < 4; ++level) {
        const int w = std::max(width >> level, 1);
        const int h = std::max(height >> level, 1);
        if (levels[level].size() == static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) {
            continue;
        }
        levels[level].assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                int sx = std::min(x << level, width - 1);
                int sy = std::min(y << level, height - 1);
                if (width > 0 && height > 0) {
                    levels[level][static_cast<std::size_t>(y * w + x)] =
                        levels[0][static_cast<std::size_t>(sy * width + sx)];
                }
            }
        }
    }
    std::vector<std::uint8_t> lump;
    auto packed = PackName(name);
    lump.insert(lump.end(), packed.begin(), packed.end());
    PutInt32(lump, static_cast<std::uint32_t>(width));
    PutInt32(lump, static_cast<std::uint32_t>(height));
    std::uint32_t offset = 40;
    for (const auto& level : levels) {
        PutInt32(lump, offset);
        offset += static_cast<std::uint32_t>(level.size());
    }
    for (const auto& level : levels) {
        lump.insert(lump.end(), level.begin(), level.end());
    }
    m_lumps.push_back(Lump{packed, kTextureLumpType, std::move(lump)});
}

void Wad2Writer::AddRawLump(const std::string& name, std::vector<std::uint8_t> bytes,
                            std::uint8_t type) {
    m_lumps.push_back(Lump{PackName(name), type, std::move(bytes)});
}

std::vector<std::uint8_t> Wad2Writer::Build() const {
    std::vector<std::uint8_t> out = {'W', 'A', 'D', '2'};
    PutInt32(out, static_cast<std::uint32_t>(m_lumps.size()));
    PutInt32(out, 0); // directory offset, set below
    std::vector<std::uint32_t> offsets;
    for (const Lump& lump : m_lumps) {
        offsets.push_back(static_cast<std::uint32_t>(out.size()));
        out.insert(out.end(), lump.bytes.begin(), lump.bytes.end());
        while (out.size() % 4 != 0) {
            out.push_back(0);
        }
    }
    SetInt32(out, 8, static_cast<std::uint32_t>(out.size()));
    for (std::size_t i = 0; i < m_lumps.size(); ++i) {
        const Lump& lump = m_lumps[i];
        PutInt32(out, offsets[i]);
        PutInt32(out, static_cast<std::uint32_t>(lump.bytes.size()));
        PutInt32(out, static_cast<std::uint32_t>(lump.bytes.size()));
        out.push_back(lump.type);
        out.push_back(0); // no compression
        out.push_back(0);
        out.push_back(0);
        out.insert(out.end(), lump.name.begin(), lump.name.end());
    }
    return out;
}

bool Wad2Writer::Save(const std::string& path) const {
    std::vector<std::uint8_t> bytes = Build();
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        return false;
    }
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}
