#include "editing/VisGroups.h"

#include "document/CommandSupport.h"
#include "document/DocumentServices.h"
#include "document/EditorSinks.h"
#include "document/MapDoc.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/TreeWalk.h"

#include <algorithm>
#include <vector>

namespace {

constexpr const char* kTypeVisGroupTable = "CVisGroupTable";

// Stands for a world's visgroup table in the undo history. Its state is the list of groups
// removed from the table (with their former places). Recording it keeps that list; restoring
// a recorded copy puts back the groups removed since (undo) or takes out again the groups
// the copy lists as removed (redo), so groups made in between are left alone.
class CVisGroupTableRecord : public CMapClass {
public:
    struct RemovedGroup {
        VisGroup group;
        int index = 0;
    };

    explicit CVisGroupTableRecord(CMapWorld* world) : m_world(world) {}

    const char* GetType() const override { return kTypeVisGroupTable; }
    CMapClass* Clone() const override {
        auto* copy = new CVisGroupTableRecord(m_world);
        copy->removed = removed;
        return copy;
    }
    void CopyFrom(const CMapClass& other) override {
        if (!other.IsType(kTypeVisGroupTable)) {
            return;
        }
        const auto& target = static_cast<const CVisGroupTableRecord&>(other).removed;
        for (auto it = removed.rbegin(); it != removed.rend(); ++it) {
            if (!Lists(target, it->group.id)) {
                PutBack(*it);
            }
        }
        for (const RemovedGroup& entry : target) {
            if (!Lists(removed, entry.group.id)) {
                TakeOut(entry.group.id);
            }
        }
        removed = target;
        m_world->RebuildVisGroupIndex();
    }

    bool Lists(std::uint8_t id) const { return Lists(removed, id); }

    std::vector<RemovedGroup> removed;

private:
    static bool Lists(const std::vector<RemovedGroup>& list, std::uint8_t id) {
        return std::any_of(list.begin(), list.end(),
                           [id](const RemovedGroup& entry) { return entry.group.id == id; });
    }

    void PutBack(const RemovedGroup& entry) {
        if (m_world->FindVisGroup(entry.group.id)) {
            return;
        }
        std::vector<VisGroup> groups = m_world->VisGroups();
        const auto at = std::min<std::size_t>(static_cast<std::size_t>(entry.index), groups.size());
        groups.insert(groups.begin() + static_cast<std::ptrdiff_t>(at), entry.group);
        m_world->ReplaceVisGroups(std::move(groups));
    }

    void TakeOut(std::uint8_t id) {
        std::vector<VisGroup> groups = m_world->VisGroups();
        groups.erase(std::remove_if(groups.begin(), groups.end(),
                                    [id](const VisGroup& group) { return group.id == id; }),
                     groups.end());
        m_world->ReplaceVisGroups(std::move(groups));
    }

    CMapWorld* m_world;
};

CVisGroupTableRecord& TableRecordOf(CMapWorld& world) {
    std::unique_ptr<CMapClass>& slot = world.VisGroupTableRecord();
    if (!slot) {
        slot = std::make_unique<CVisGroupTableRecord>(&world);
    }
    return static_cast<CVisGroupTableRecord&>(*slot);
}

bool IdIsKeptForUndo(CMapWorld& world, std::uint8_t id) {
    const auto& slot = world.VisGroupTableRecord();
    return slot && static_cast<const CVisGroupTableRecord&>(*slot).Lists(id);
}

bool ValidIndex(const CMapWorld& world, int index) {
    return index >= 0 && index < world.VisGroupCount();
}

} // namespace

int NewVisGroup(CMapWorld& world) {
    std::uint8_t freeId = 0;
    for (int id = 1; id <= 255 && freeId == 0; ++id) {
        const auto candidate = static_cast<std::uint8_t>(id);
        const bool used = std::any_of(world.VisGroups().begin(), world.VisGroups().end(),
                                      [candidate](const VisGroup& g) { return g.id == candidate; });
        if (!used && !IdIsKeptForUndo(world, candidate)) {
            freeId = candidate;
        }
    }
    if (freeId == 0) {
        world.Services().messages.AddLine(MessageLog::Error, "Out of group IDs.");
        return -1;
    }
    VisGroup group;
    group.name = "new group";
    group.color = world.Services().random.Next() % 65535u;
    group.id = freeId;
    group.visible = false;
    world.AddVisGroup(group);
    return world.VisGroupCount() - 1;
}

void RenameVisGroup(CMapWorld& world, int index, const std::string& name) {
    if (ValidIndex(world, index)) {
        world.VisGroupAt(index).name = name.substr(0, VisGroup::kMaxName);
    }
}

void SetVisGroupColor(CMapWorld& world, int index, std::uint32_t rgb) {
    if (ValidIndex(world, index)) {
        world.VisGroupAt(index).color = rgb & 0xFFFFFFu;
    }
}

std::uint32_t SwapRedAndBlue(std::uint32_t color) {
    return ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
}

void CloseObjectGroups(CMapDoc& doc) {
    if (CMapWorld* world = doc.World()) {
        world->RebuildVisGroupIndex();
    }
    if (MainFrameSink* frame = doc.Services().mainFrame) {
        frame->ActiveDocumentChanged(CMapDoc::GetActiveMapDoc());
    }
}

void RemoveVisGroup(CMapDoc& doc, int index) {
    CMapWorld& world = *doc.World();
    if (!ValidIndex(world, index)) {
        return;
    }
    const VisGroup group = world.VisGroupAt(index);
    BeginUndoStep(doc, "Remove Group");
    CVisGroupTableRecord& record = TableRecordOf(world);
    doc.Services().ActiveHistory().Keep(&record);

    const std::uint8_t id = group.id;
    EnumChildren(world, [id](CMapClass* object) {
        const VisGroupIds& ids = object->OwnVisGroups();
        if (std::find(ids.begin(), ids.end(), id) == ids.end()) {
            return true;
        }
        object->ChangeVisGroup(id, 0);
        // A first slot left empty would hide the object under filtering: the next membership
        // moves up. The colour stays as it was.
        if (object->OwnVisGroups()[0] == 0) {
            for (std::uint8_t other : object->OwnVisGroups()) {
                if (other != 0) {
                    object->ChangeVisGroup(other, 2);
                    break;
                }
            }
        }
        return true;
    });

    record.removed.push_back({group, index});
    std::vector<VisGroup> groups = world.VisGroups();
    groups.erase(groups.begin() + index);
    world.ReplaceVisGroups(std::move(groups));

    world.UpdateVisibleObjects();
    doc.UpdateAllViews(UPDATE_OBJECTS);
    doc.SetModified();
}

void ApplyDefaultVisGroups(CMapClass& object, const CMapWorld& world) {
    world.Services().ActiveHistory().Keep(&object);
    if (!(world.DisplayFilterFlags() & FILTER_VISGROUPS)) {
        return;
    }
    VisGroupIds ids{};
    std::size_t count = 0;
    for (const VisGroup& group : world.VisGroups()) {
        if (group.visible && count < ids.size()) {
            ids[count++] = group.id;
        }
    }
    // The colour of the first group reaches the object's children too.
    KeepWithDescendants(object);
    object.SetVisGroups(ids);
}
