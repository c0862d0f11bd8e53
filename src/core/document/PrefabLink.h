#pragma once

#include <cstdint>
#include <string>

class CMapDoc;

// Where the map of a prefab document goes when it is saved: the prefab it was opened from,
// in its library. The prefab floor makes one when it opens a prefab in a document.
class PrefabLink {
public:
    virtual ~PrefabLink() = default;
    virtual std::uint32_t LibraryId() const = 0;
    virtual std::uint32_t PrefabId() const = 0;
    // Stores a copy of the document's map into the prefab; false when nothing was stored.
    // When the library is gone the user is told and orphanName gets the file name the
    // document goes on with as an ordinary map.
    virtual bool Store(CMapDoc& document, std::string& orphanName) = 0;
};
