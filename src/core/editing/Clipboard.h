#pragma once

#include "document/ServicesPart.h"
#include "geometry/BoundBox.h"
#include "mapobjects/MapClass.h"

#include <memory>
#include <vector>

// The editor-wide clipboard: copies of map objects with their subtrees, stored moved by minus
// the centre of the selection they came from (so they sit around the origin), and that
// selection's box. It owns the copies and is not tied to any document.
class Clipboard : public ServicesPart {
public:
    Clipboard() = default;
    ~Clipboard();
    Clipboard(const Clipboard&) = delete;
    Clipboard& operator=(const Clipboard&) = delete;

    bool IsEmpty() const { return m_objects.empty(); }
    std::size_t Count() const { return m_objects.size(); }
    const CMapClass& Object(std::size_t index) const { return *m_objects[index]; }
    // The box of the copied selection and its centre, in map coordinates.
    const BoundBox& Bounds() const { return m_bounds; }
    const Vector& Center() const { return m_center; }

    // Destroys the copies.
    void Clear();
    // Replaces the contents with copies of objects (with their subtrees) and box. Nothing is
    // recorded in the undo history.
    void Store(const std::vector<CMapClass*>& objects, const BoundBox& box);
    // A new copy of stored object index with its subtree, still around the origin; the new
    // objects are recorded as created in the active history.
    CMapClass* MakeCopy(std::size_t index) const;

private:
    std::vector<std::unique_ptr<CMapClass>> m_objects;
    BoundBox m_bounds;
    Vector m_center;
};
