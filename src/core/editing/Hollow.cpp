#include "common/CountText.h"
#include "common/NumberPrompt.h"
#include "document/CommandSupport.h"
#include "document/DocumentServices.h"
#include "document/MapDoc.h"
#include "editing/EditCommands.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kThicknessLimit = 1024;

// Scale factors that move every face of the solid inwards by thickness (outwards when
// negative), per axis. False when the solid is too thin on an axis for walls that thick.
// Worked in double precision so that whole-unit walls come out at whole units.
bool WallScale(const BoundBox& box, int thickness, Vector3d& factors) {
    for (int axis = 0; axis < 3; ++axis) {
        const double half = (double(box.maxs[axis]) - double(box.mins[axis])) / 2.0;
        const double inner = half - thickness;
        if (!(half > 0.0) || !(inner > 0.0)) {
            return false;
        }
        factors[axis] = inner / half;
    }
    return true;
}

} // namespace

void OnMakeHollow(CMapDoc& doc) {
    if (doc.SelectedObjects().empty()) {
        return;
    }
    Prompts& prompts = doc.Services().GetPrompts();
    if (doc.SelectedObjects().size() > 1 &&
        prompts.YesNo("Do you want to turn each of the selected solids\ninto a hollow room?") !=
            Prompts::Answer::Yes) {
        return;
    }
    const std::optional<int> entered =
        AskNumber(prompts, "Brickhaven",
                  "How thick do you want the walls? Use a negative number to hollow outward.",
                  doc.Services().hollowThickness, -kThicknessLimit, kThicknessLimit);
    if (!entered) {
        return;
    }
    const int thickness = *entered;
    doc.Services().hollowThickness = thickness;
    if (thickness >= -4 && thickness <= 4) {
        prompts.Message("The width of the walls must be less than -4 or\ngreater than 4.");
        return;
    }

    const std::vector<CMapClass*>& selected = doc.SelectedObjects();
    if (std::none_of(selected.begin(), selected.end(),
                     [](const CMapClass* object) { return object->IsType(kTypeMapSolid); })) {
        return;
    }

    const UndoStep step(doc, "Hollow");
    const std::vector<CMapClass*> selection = doc.SelectedObjects();
    // Emptied first (which also erases the tool handles): the hollowed solids leave the map.
    doc.SelectObject(nullptr, SELECT_CLEAR);
    CMapWorld& world = *doc.World();
    HistoryRecorder& history = doc.Services().ActiveHistory();
    // The working solid never becomes part of the map, so nothing about it is recorded.
    const auto working = std::make_unique<CMapSolid>();
    int rooms = 0;

    for (CMapClass* object : selection) {
        if (!object->IsType(kTypeMapSolid)) {
            continue;
        }
        auto* solid = static_cast<CMapSolid*>(object);
        Vector3d factors;
        if (!WallScale(solid->Bounds(), thickness, factors)) {
            // Walls that thick would fill the solid; it stays as it is.
            continue;
        }
        // The walls take the solid's place: beside it in its entity, group or the world.
        CMapClass* home = solid->Parent() ? solid->Parent() : &world;
        {
            RecordingPause pause;
            working->CopyFrom(*solid);
            working->TransScale(working->Bounds().Center(), factors);
            home->AddChild(working.get());
        }
        CMapClass* walls =
            thickness > 0 ? world.Carve(working.get(), solid) : world.Carve(solid, working.get());
        {
            RecordingPause pause;
            home->RemoveChild(working.get(), true);
        }
        if (!walls) {
            // No walls came out of it: the solid is kept rather than lost.
            continue;
        }
        if (CMapClass* parent = solid->Parent()) {
            parent->RemoveChild(solid, true);
            for (CMapClass* p = parent->Parent(); p && !p->IsWorld(); p = p->Parent()) {
                p->CalcBounds();
            }
        }
        history.KeepForDestruction(solid);
        ++rooms;
    }

    ClearObjectProperties();
    world.CalcBounds();
    world.UpdateVisibleObjects();
    doc.UpdateAllViews(UPDATE_REDRAW | UPDATE_OBJECTS);
    if (step.Changed()) {
        doc.SetModified();
    }
    doc.UpdateStatusText();
    if (rooms > 0) {
        // The walls of each room are one group, selected as a whole by a click.
        doc.ShowNote(
            CountText(rooms, "hollow room", "hollow rooms") +
            (rooms == 1 ? " made; its walls are a group" : " made; each one's walls are a group") +
            ": select it and choose Ungroup (Ctrl+U) to work on single walls.");
    }
}
