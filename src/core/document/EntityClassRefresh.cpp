#include "document/EntityClassRefresh.h"

#include "document/DocumentServices.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/TreeWalk.h"

int RefreshUnknownEntityClasses(CMapWorld& world) {
    DocumentServices& editor = DocumentServices::Installed();
    HistoryRecorder* active = editor.activeHistory;
    editor.SetActiveHistory(nullptr); // the disabled fallback: this is no user edit
    int found = 0;
    EnumChildren(
        world,
        [&found](CMapClass* object) {
            auto* entity = static_cast<CMapEntity*>(object);
            if (!entity->GameClass() && !entity->ClassName().empty()) {
                const std::string name = entity->ClassName();
                entity->SetClass(name);
                found += entity->GameClass() ? 1 : 0;
            }
            return true;
        },
        kTypeMapEntity);
    editor.activeHistory = active;
    if (found > 0) {
        world.CalcBounds(true);
    }
    return found;
}
