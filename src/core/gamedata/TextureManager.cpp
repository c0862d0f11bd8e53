#include "gamedata/TextureManager.h"

#include "common/CoreServices.h"
#include "common/ProgramDirectory.h"
#include "gamedata/ByteSource.h"
#include "gamedata/GamePalette.h"
#include "gamedata/ImageStretch.h"
#include "gamedata/TextCompare.h"
#include "gamedata/Wad2Directory.h"

#include <algorithm>
#include <filesystem>
#include <new>

namespace {
// A WAD path as a file: absolute, with "." and ".." worked out.
std::string WadFileKey(const std::string& path) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(ResolveProgramPath(path), ec);
    if (ec) {
        return path;
    }
    return full.lexically_normal().string();
}
} // namespace

TextureManager::TextureManager() {
    m_lists.emplace_back(kAllTexturesName);
}

TextureManager::~TextureManager() {
    SetPalette(nullptr);
}

int TextureManager::AddWadFile(const std::string& path) {
    for (auto it = m_wads.rbegin(); it != m_wads.rend(); ++it) {
        if (it->path == path) {
            return it->id;
        }
    }
    auto source = std::make_unique<FileByteSource>();
    if (!source->Open(ResolveProgramPath(path))) {
        return 0;
    }
    return AddWadSource(path, std::move(source));
}

int TextureManager::AddWadFromMemory(const std::string& name, std::vector<std::uint8_t> bytes) {
    for (auto it = m_wads.rbegin(); it != m_wads.rend(); ++it) {
        if (it->path == name) {
            return it->id;
        }
    }
    return AddWadSource(name, std::make_unique<MemoryByteSource>(std::move(bytes)));
}

int TextureManager::AddWadSource(const std::string& path, std::unique_ptr<ByteSource> source) {
    std::vector<Wad2Texture> found;
    if (!Wad2Directory::HasMagic(*source) || !Wad2Directory::Read(*source, found)) {
        return 0;
    }
    WadFileEntry entry;
    entry.path = path;
    entry.id = m_nextWadId++;
    entry.source = std::move(source);
    entry.directoryRead = true;
    const int id = entry.id;
    m_wads.push_back(std::move(entry));
    m_lists.emplace_back(path);
    TextureList& fileList = m_lists.back();

    for (Wad2Texture& texture : found) {
        QuakeGraphic& graphic = m_textures.emplace_back();
        graphic.name = std::move(texture.name);
        graphic.width = texture.width;
        graphic.height = texture.height;
        graphic.dataOffset = texture.dataOffset;
        graphic.wadId = id;
        graphic.globalIndex = static_cast<int>(m_textures.size()) - 1;
        m_lowerNames.push_back(LowerCaseAscii(graphic.name));
        fileList.Append(graphic.globalIndex);
        m_lists.front().Append(graphic.globalIndex);
    }
    fileList.Sort([this](int a, int b) {
        return m_textures[static_cast<std::size_t>(a)].name <
               m_textures[static_cast<std::size_t>(b)].name;
    });
    return id;
}

int TextureManager::FindWadFile(const std::string& path) const {
    const std::string key = WadFileKey(path);
    for (std::size_t i = 0; i < m_wads.size(); ++i) {
        if (m_wads[i].path == path || WadFileKey(m_wads[i].path) == key) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool TextureManager::WadHoldsTexture(int wadIndex, const std::string& name) const {
    const std::size_t list = wadIndex < 0 ? 0 : static_cast<std::size_t>(wadIndex) + 1;
    if (list >= m_lists.size()) {
        return false;
    }
    const std::string lower = LowerCaseAscii(name.substr(0, QuakeGraphic::kMaxName));
    return m_lists[list].FirstPosition(lower, [this](int index) -> const std::string& {
        return m_lowerNames[static_cast<std::size_t>(index)];
    }) >= 0;
}

void TextureManager::LoadAllWadFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        AddWadFile(path);
    }
    SortAllTextures();
    Notify(Change::ListsChanged);
}

void TextureManager::SortAllTextures() {
    // Byte-wise and case-sensitive, as the names are stored; equal names keep catalogue order.
    m_lists.front().Sort([this](int a, int b) {
        return m_textures[static_cast<std::size_t>(a)].name <
               m_textures[static_cast<std::size_t>(b)].name;
    });
}

QuakeGraphic* TextureManager::FindTexture(const std::string& name, bool makePlaceholder) {
    return FindTexture(name, makePlaceholder, nullptr);
}

QuakeGraphic* TextureManager::FindTexture(const std::string& name, bool makePlaceholder,
                                          int* position) {
    if (position != nullptr) {
        *position = -1;
    }
    const std::string cut = name.substr(0, QuakeGraphic::kMaxName);
    const std::string lower = LowerCaseAscii(cut);
    const TextureList& list = CurrentList();
    int found = list.FirstPosition(lower, [this](int index) -> const std::string& {
        return m_lowerNames[static_cast<std::size_t>(index)];
    });
    if (found >= 0) {
        if (position != nullptr) {
            *position = found;
        }
        return &m_textures[static_cast<std::size_t>(list.IndexAt(found))];
    }
    if (!makePlaceholder) {
        return nullptr;
    }
    auto known = m_placeholderByName.find(lower);
    if (known != m_placeholderByName.end()) {
        return known->second;
    }
    QuakeGraphic& placeholder = m_placeholders.emplace_back();
    placeholder.name = cut;
    placeholder.placeholder = true;
    m_placeholderByName.emplace(lower, &placeholder);
    return &placeholder;
}

QuakeGraphic* TextureManager::TextureAt(int globalIndex) {
    if (globalIndex < 0 || globalIndex >= TextureCount()) {
        return nullptr;
    }
    return &m_textures[static_cast<std::size_t>(globalIndex)];
}

void TextureManager::SelectList(int index) {
    if (index >= 0 && index < ListCount()) {
        m_currentList = index;
    }
}

int TextureManager::PositionCount(bool withRecentlyUsed) const {
    int count = CurrentList().Count();
    return withRecentlyUsed ? count + static_cast<int>(m_recentlyUsed.size()) : count;
}

QuakeGraphic* TextureManager::TextureAtPosition(int position, bool withRecentlyUsed) {
    if (position < 0) {
        return nullptr;
    }
    if (withRecentlyUsed) {
        if (static_cast<std::size_t>(position) < m_recentlyUsed.size()) {
            return m_recentlyUsed[static_cast<std::size_t>(position)];
        }
        position -= static_cast<int>(m_recentlyUsed.size());
    }
    const TextureList& list = CurrentList();
    if (position >= list.Count()) {
        return nullptr;
    }
    return &m_textures[static_cast<std::size_t>(list.IndexAt(position))];
}

void TextureManager::MarkUsed(QuakeGraphic* texture) {
    if (texture == nullptr) {
        return;
    }
    auto it = std::find(m_recentlyUsed.begin(), m_recentlyUsed.end(), texture);
    if (it != m_recentlyUsed.end()) {
        m_recentlyUsed.erase(it);
    } else if (m_recentlyUsed.size() >= kMaxRecentlyUsed) {
        m_recentlyUsed.pop_back();
    }
    m_recentlyUsed.insert(m_recentlyUsed.begin(), texture);
}

bool TextureManager::LoadPixels(QuakeGraphic& texture) {
    if (texture.pixelsLoaded) {
        return true;
    }
    if (texture.loadFailed || !texture.HasImage()) {
        return false;
    }
    ByteSource* source = nullptr;
    for (WadFileEntry& wad : m_wads) {
        if (wad.id == texture.wadId) {
            source = wad.source.get();
            break;
        }
    }
    if (source == nullptr) {
        texture.loadFailed = true;
        return false;
    }
    const int scaledWidth = NextPowerOfTwo(texture.width);
    const int scaledHeight = NextPowerOfTwo(texture.height);
    try {
        // The image is read into a buffer of its own size and kept, so 2D drawing can use it
        // at its natural size.
        texture.naturalPixels.resize(static_cast<std::size_t>(texture.width) *
                                     static_cast<std::size_t>(texture.height));
        texture.pixels.resize(static_cast<std::size_t>(scaledWidth) *
                              static_cast<std::size_t>(scaledHeight));
    } catch (const std::bad_alloc&) {
        texture.naturalPixels = {};
        texture.pixels = {};
        texture.loadFailed = true;
        CoreServices::Installed().GetPrompts().Message(
            "There is not enough memory to load the graphic \"" + texture.name + "\".",
            Prompts::Icon::Error);
        return false;
    }
    if (!source->ReadAt(texture.dataOffset, texture.naturalPixels.data(),
                        texture.naturalPixels.size())) {
        texture.naturalPixels = {};
        texture.pixels = {};
        texture.loadFailed = true;
        return false;
    }
    texture.scaledWidth = scaledWidth;
    texture.scaledHeight = scaledHeight;
    StretchImage(texture.naturalPixels.data(), texture.width, texture.height, texture.pixels.data(),
                 scaledWidth, scaledHeight);
    texture.pixelsLoaded = true;
    return true;
}

unsigned TextureManager::PaletteGeneration() const {
    return m_palette != nullptr ? m_palette->Generation() : 0;
}

void TextureManager::MakeImage(const std::vector<std::uint8_t>& indices, int width, int height,
                               TextureImage& image) {
    static const GamePalette::Colors kBlack{};
    const GamePalette::Colors& colors = m_palette != nullptr ? m_palette->WorkingColors() : kBlack;
    image.width = width;
    image.height = height;
    image.rgba.resize(indices.size() * 4);
    std::uint8_t* out = image.rgba.data();
    for (std::uint8_t index : indices) {
        const GamePalette::Entry& color = colors[index];
        out[0] = color.red;
        out[1] = color.green;
        out[2] = color.blue;
        out[3] = 255;
        out += 4;
    }
    image.paletteGeneration = PaletteGeneration();
    ++image.generation;
}

const TextureImage* TextureManager::GetScaledImage(QuakeGraphic& texture) {
    if (!LoadPixels(texture)) {
        return nullptr;
    }
    TextureImage& image = texture.scaledImage;
    if (image.rgba.empty() || image.paletteGeneration != PaletteGeneration()) {
        MakeImage(texture.pixels, texture.scaledWidth, texture.scaledHeight, image);
    }
    return &image;
}

const TextureImage* TextureManager::GetNaturalImage(QuakeGraphic& texture) {
    if (!LoadPixels(texture)) {
        return nullptr;
    }
    TextureImage& image = texture.naturalImage;
    if (image.rgba.empty() || image.paletteGeneration != PaletteGeneration()) {
        MakeImage(texture.naturalPixels, texture.width, texture.height, image);
    }
    return &image;
}

void TextureManager::SetPalette(GamePalette* palette) {
    if (m_palette != nullptr) {
        m_palette->RemoveObserver(m_paletteObserver);
    }
    m_palette = palette;
    m_paletteObserver = 0;
    if (m_palette != nullptr) {
        m_paletteObserver = m_palette->AddObserver([this] { NotifyPaletteChanged(); });
    }
}

void TextureManager::NotifyPaletteChanged() {
    for (QuakeGraphic& texture : m_textures) {
        if (!texture.scaledImage.rgba.empty()) {
            MakeImage(texture.pixels, texture.scaledWidth, texture.scaledHeight,
                      texture.scaledImage);
        }
        if (!texture.naturalImage.rgba.empty()) {
            MakeImage(texture.naturalPixels, texture.width, texture.height, texture.naturalImage);
        }
    }
    Notify(Change::PaletteChanged);
}

int TextureManager::AddObserver(Observer observer) {
    int token = m_nextObserverToken++;
    m_observers.emplace_back(token, std::move(observer));
    return token;
}

void TextureManager::RemoveObserver(int token) {
    std::erase_if(m_observers, [token](const auto& entry) { return entry.first == token; });
}

void TextureManager::Notify(Change change) {
    auto observers = m_observers;
    for (auto& [token, observer] : observers) {
        observer(change);
    }
}
