#include "prefabs/PrefabLibrary.h"

#include "document/DocumentServices.h"
#include "gamedata/ByteSource.h"
#include "platform/AtomicFileWriter.h"
#include "platform/FileSystemOps.h"
#include "prefabs/PrefabRegistry.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

constexpr const char* kCouldNotLoadMessage = "Couldn't Load prefab to Save it.";

std::uint32_t ReadLe32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

void PutLe32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
    }
}

// A zero-terminated text field of a fixed width: the text cut to width - 1 characters,
// then zeros.
void PutField(std::string& out, const std::string& text, std::size_t width) {
    const std::size_t length = std::min(text.size(), width - 1);
    out.append(text, 0, length);
    out.append(width - length, '\0');
}

// The text of a zero-terminated field; false when the field holds no terminator.
bool TakeField(const std::uint8_t* field, std::size_t width, std::string& text) {
    const void* end = std::memchr(field, 0, width);
    if (!end) {
        return false;
    }
    text.assign(reinterpret_cast<const char*>(field),
                static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - field));
    return true;
}

void ShowSaveError(const std::string& path, const std::string& detail) {
    if (!detail.empty()) {
        DocumentServices::Installed().messages.AddText(MessageLog::Error, path + ": " + detail);
    }
    char text[600];
    std::snprintf(text, sizeof text, "The OS reported an error saving the file: %s", path.c_str());
    DocumentServices::Installed().GetPrompts().Message(text, Prompts::Icon::Error);
}

// The header text and the block after it: version, directory offset, count, description.
std::string HeaderBlock(std::uint32_t directoryOffset, std::uint32_t count,
                        const std::string& description) {
    std::string out(CPrefabLibrary::kHeaderText);
    std::uint32_t versionBits = 0;
    const float version = CPrefabLibrary::kVersion;
    std::memcpy(&versionBits, &version, sizeof versionBits);
    PutLe32(out, versionBits);
    PutLe32(out, directoryOffset);
    PutLe32(out, count);
    PutField(out, description, CPrefabLibrary::kDescriptionField);
    return out;
}

} // namespace

CPrefabLibrary::CPrefabLibrary() : m_id(DocumentServices::Installed().Prefabs().NextLibraryId()) {}

CPrefabLibrary::~CPrefabLibrary() = default;

void CPrefabLibrary::SetName(std::string_view name) {
    m_name = std::string(name.substr(0, kMaxName));
}

void CPrefabLibrary::SetDescription(std::string_view description) {
    m_description = std::string(description.substr(0, kMaxDescription));
}

std::string CPrefabLibrary::NameFromPath(const std::string& path) {
    const std::string::size_type slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    name = name.substr(0, name.find('.'));
    return name.substr(0, kMaxName);
}

int CPrefabLibrary::Load(const std::string& path) {
    auto file = std::make_unique<FileByteSource>();
    if (!file->Open(path)) {
        return -1;
    }
    return Load(std::move(file), path);
}

int CPrefabLibrary::Load(std::unique_ptr<ByteSource> source, const std::string& path) {
    if (!source) {
        return -1;
    }
    const std::uint64_t fileSize = source->Size();
    char header[kHeaderText.size()];
    if (!source->ReadAt(0, header, sizeof header) ||
        std::memcmp(header, kHeaderText.data(), sizeof header) != 0) {
        return -1;
    }
    std::uint8_t info[kInfoSize];
    if (!source->ReadAt(kHeaderText.size(), info, sizeof info)) {
        DocumentServices::Installed().messages.AddText(MessageLog::Error,
                                                       path + ": the prefab library is cut short");
        return -1;
    }
    const std::uint32_t directoryOffset = ReadLe32(info + 4);
    const std::uint32_t count = ReadLe32(info + 8);
    if (directoryOffset > fileSize || count > (fileSize - directoryOffset) / kEntrySize) {
        DocumentServices::Installed().messages.AddText(
            MessageLog::Error, path + ": the prefab library's directory is damaged");
        return -1;
    }
    std::vector<std::uint8_t> directory(static_cast<std::size_t>(count) * kEntrySize);
    if (!directory.empty() &&
        !source->ReadAt(directoryOffset, directory.data(), directory.size())) {
        DocumentServices::Installed().messages.AddText(MessageLog::Error,
                                                       path + ": the prefab library can't be read");
        return -1;
    }

    const std::uint8_t* descriptionField = info + 12;
    const void* end = std::memchr(descriptionField, 0, kDescriptionField);
    const std::size_t descriptionLength =
        end ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - descriptionField)
            : kDescriptionField;
    std::vector<std::unique_ptr<CPrefab>> prefabs;
    int skipped = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = directory.data() + static_cast<std::size_t>(i) * kEntrySize;
        const std::uint32_t offset = ReadLe32(entry);
        const std::uint32_t size = ReadLe32(entry + 4);
        const std::uint32_t kind = ReadLe32(entry + 540);
        std::string name;
        std::string notes;
        if (kind != static_cast<std::uint32_t>(CPrefab::kKindMap) || offset > fileSize ||
            size > fileSize - offset || !TakeField(entry + 8, kNameField, name) ||
            !TakeField(entry + 39, kNotesField, notes)) {
            ++skipped;
            continue;
        }
        auto prefab = std::make_unique<CPrefab>();
        prefab->SetName(name.empty() ? std::string("Prefab") : name);
        prefab->SetNotes(notes);
        prefab->m_libraryId = m_id;
        prefab->m_offset = offset;
        prefab->m_size = size;
        prefab->m_hasStoredData = true;
        prefabs.push_back(std::move(prefab));
    }
    if (skipped > 0) {
        DocumentServices::Installed().messages.AddLine(
            MessageLog::Error, "%s: %d damaged prefab entries were left out", path.c_str(),
            skipped);
    }
    SetDescription(
        std::string_view(reinterpret_cast<const char*>(descriptionField), descriptionLength));
    m_path = path;
    m_name = NameFromPath(path);
    m_directoryOffset = directoryOffset;
    m_source = std::move(source);
    m_prefabs = std::move(prefabs);
    return 1;
}

bool CPrefabLibrary::ReadPrefabData(const CPrefab& prefab, std::string& data) {
    if (!m_source || !prefab.m_hasStoredData) {
        return false;
    }
    data.resize(prefab.m_size);
    return prefab.m_size == 0 || m_source->ReadAt(prefab.m_offset, data.data(), data.size());
}

bool CPrefabLibrary::CopyStoredData(const CPrefab& prefab, AtomicFileWriter& writer) {
    std::vector<char> chunk(std::min<std::size_t>(kCopyChunk, prefab.m_size));
    std::uint64_t offset = prefab.m_offset;
    std::uint64_t left = prefab.m_size;
    while (left > 0) {
        const std::size_t count =
            static_cast<std::size_t>(std::min<std::uint64_t>(left, kCopyChunk));
        if (!m_source->ReadAt(offset, chunk.data(), count) || !writer.Write(chunk.data(), count)) {
            return false;
        }
        offset += count;
        left -= count;
    }
    return true;
}

int CPrefabLibrary::Save(const std::string& newPath) {
    std::string path = newPath.empty() ? m_path : newPath;
    if (path.empty()) {
        path =
            DocumentServices::Installed().Prefabs().PrefabDirectory() + "/" + m_name + kExtension;
    }

    // What goes into the file for each prefab, in library order: a loaded map is written
    // afresh, the data of one that is not loaded is copied from the old file unchanged.
    struct Block {
        CPrefab* prefab;
        std::string data;
        bool copy = false;
        std::uint32_t offset = 0;
        std::uint32_t size = 0;
    };
    std::vector<Block> blocks;
    std::uint64_t position = kDataStart;
    for (const auto& prefab : m_prefabs) {
        Block block{prefab.get(), {}};
        if (prefab->IsLoaded()) {
            if (prefab->SaveMap(block.data, 0) != 0) {
                DocumentServices::Installed().GetPrompts().Message(kCouldNotLoadMessage,
                                                                   Prompts::Icon::Warning);
                continue;
            }
            block.size = static_cast<std::uint32_t>(std::min<std::size_t>(
                block.data.size(), std::numeric_limits<std::uint32_t>::max()));
            if (block.size != block.data.size()) {
                ShowSaveError(path, "a prefab is too large for a library");
                return -1;
            }
        } else if (prefab->m_hasStoredData && m_source) {
            block.copy = true;
            block.size = prefab->m_size;
        } else {
            DocumentServices::Installed().GetPrompts().Message(kCouldNotLoadMessage,
                                                               Prompts::Icon::Warning);
            continue;
        }
        block.offset = static_cast<std::uint32_t>(position);
        position += block.size;
        if (position + blocks.size() * kEntrySize + kEntrySize >
            std::numeric_limits<std::uint32_t>::max()) {
            ShowSaveError(path, "the library would be larger than 4 GB");
            return -1;
        }
        blocks.push_back(std::move(block));
    }
    const auto directoryOffset = static_cast<std::uint32_t>(position);

    AtomicFileWriter writer;
    if (!writer.Open(path)) {
        ShowSaveError(path, writer.Error());
        return -1;
    }
    bool ok = writer.Write(
        HeaderBlock(directoryOffset, static_cast<std::uint32_t>(blocks.size()), m_description));
    for (Block& block : blocks) {
        if (!ok) {
            break;
        }
        if (!block.copy) {
            ok = writer.Write(block.data);
            block.data = std::string();
        } else if (!CopyStoredData(*block.prefab, writer)) {
            if (writer.Error().empty()) {
                // The old file could not be read; the new one would lack this prefab.
                DocumentServices::Installed().GetPrompts().Message(kCouldNotLoadMessage,
                                                                   Prompts::Icon::Warning);
                writer.Abort();
                return -1;
            }
            ok = false;
        }
    }
    std::string directory;
    directory.reserve(blocks.size() * kEntrySize);
    for (const Block& block : blocks) {
        PutLe32(directory, block.offset);
        PutLe32(directory, block.size);
        PutField(directory, block.prefab->Name(), kNameField);
        PutField(directory, block.prefab->Notes(), kNotesField);
        PutLe32(directory, static_cast<std::uint32_t>(CPrefab::kKindMap));
    }
    ok = ok && writer.Write(directory);
    if (!ok || !writer.Commit()) {
        ShowSaveError(path, writer.Error());
        return -1;
    }

    m_path = path;
    m_name = NameFromPath(path);
    m_directoryOffset = directoryOffset;
    for (const Block& block : blocks) {
        block.prefab->m_offset = block.offset;
        block.prefab->m_size = block.size;
        block.prefab->m_hasStoredData = true;
    }
    auto file = std::make_unique<FileByteSource>();
    if (file->Open(path)) {
        m_source = std::move(file);
    } else {
        // Loaded maps stay usable; the others can't be read until the library is loaded again.
        m_source.reset();
        DocumentServices::Installed().messages.AddText(
            MessageLog::Error, path + ": can't be opened again for reading");
    }
    return 0;
}

bool CPrefabLibrary::Rename(std::string_view newName) {
    const std::string name(newName.substr(0, kMaxName));
    const std::string target =
        DocumentServices::Installed().Prefabs().PrefabDirectory() + "/" + name + kExtension;
    if (target == m_path) {
        m_name = name;
        return true;
    }
    std::string error;
    const bool moveFile = !m_path.empty() && PathExists(m_path);
    if (moveFile ? !RenameNoReplace(m_path, target, error) : PathExists(target)) {
        if (PathExists(target)) {
            DocumentServices::Installed().GetPrompts().Message(
                "A file named " + name + kExtension + " already exists in the prefab folder.",
                Prompts::Icon::Warning);
        } else {
            DocumentServices::Installed().GetPrompts().Message(
                "The library could not be renamed: " + error, Prompts::Icon::Warning);
        }
        return false;
    }
    m_path = target;
    m_name = name;
    return true;
}

CPrefab* CPrefabLibrary::FindPrefab(std::uint32_t prefabId) const {
    for (const auto& prefab : m_prefabs) {
        if (prefab->Id() == prefabId) {
            return prefab.get();
        }
    }
    return nullptr;
}

CPrefab* CPrefabLibrary::AddPrefab(std::unique_ptr<CPrefab> prefab) {
    if (!prefab) {
        return nullptr;
    }
    if (prefab->m_libraryId != m_id) {
        // Stored data lies in another library's file: the map is what moves along.
        if (prefab->m_hasStoredData) {
            prefab->EnsureLoaded();
        }
        prefab->m_hasStoredData = false;
    }
    prefab->m_libraryId = m_id;
    m_prefabs.push_back(std::move(prefab));
    return m_prefabs.back().get();
}

std::unique_ptr<CPrefab> CPrefabLibrary::RemovePrefab(std::uint32_t prefabId) {
    auto it = std::find_if(m_prefabs.begin(), m_prefabs.end(),
                           [prefabId](const auto& p) { return p->Id() == prefabId; });
    if (it == m_prefabs.end()) {
        return nullptr;
    }
    std::unique_ptr<CPrefab> prefab = std::move(*it);
    m_prefabs.erase(it);
    prefab->m_libraryId = CPrefab::kNoLibrary;
    prefab->m_hasStoredData = false;
    return prefab;
}
