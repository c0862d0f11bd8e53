#include "editing/PasteSpecial.h"

#include "common/SettingsStore.h"
#include "document/CommandSupport.h"
#include "document/DocumentServices.h"
#include "document/MapDoc.h"
#include "editing/Clipboard.h"
#include "editing/EditCommands.h"
#include "mapobjects/MapGroup.h"
#include "mapobjects/MapWorld.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

const char* const kSection = "Paste Special";

template <typename T> void ReadTriple(const std::string& text, const char* format, T (&out)[3]) {
    T values[3]{};
    if (std::sscanf(text.c_str(), format, &values[0], &values[1], &values[2]) == 3) {
        std::copy(values, values + 3, out);
    }
}

} // namespace

PasteSpecialSettings PasteSpecialSettings::Load(SettingsStore& store) {
    PasteSpecialSettings settings;
    settings.copies = std::clamp(store.GetInt(kSection, "Copies", 1), kMinCopies, kMaxCopies);
    settings.group = store.GetInt(kSection, "Group", 0) != 0;
    settings.center = store.GetInt(kSection, "Center", 1) != 0;
    int offset[3]{};
    ReadTriple(store.GetString(kSection, "Offset", "0 0 0"), "%d %d %d", offset);
    std::copy(offset, offset + 3, settings.offset.begin());
    float rotate[3]{};
    ReadTriple(store.GetString(kSection, "Rotate", "0 0 0"), "%f %f %f", rotate);
    std::copy(rotate, rotate + 3, settings.rotate.begin());
    return settings;
}

void PasteSpecialSettings::Save(SettingsStore& store) const {
    char text[128];
    store.WriteInt(kSection, "Copies", copies);
    store.WriteInt(kSection, "Group", group ? 1 : 0);
    std::snprintf(text, sizeof text, "%d %d %d", offset[0], offset[1], offset[2]);
    store.WriteString(kSection, "Offset", text);
    std::snprintf(text, sizeof text, "%.1f %.1f %.1f", static_cast<double>(rotate[0]),
                  static_cast<double>(rotate[1]), static_cast<double>(rotate[2]));
    store.WriteString(kSection, "Rotate", text);
    store.WriteInt(kSection, "Center", center ? 1 : 0);
}

int OffsetButtonValue(int fieldValue, const Clipboard& clipboard, int axis) {
    const BoundBox& box = clipboard.Bounds();
    const int extent = box.IsEmpty() ? 0 : static_cast<int>(box.maxs[axis] - box.mins[axis]);
    return fieldValue == extent ? -extent : extent;
}

void OnPasteSpecial(CMapDoc& doc, const PasteSpecialSettings& settings) {
    const Clipboard& clipboard = doc.Services().GetClipboard();
    if (clipboard.IsEmpty()) {
        return;
    }
    // The dialog offers these values next time.
    settings.Save(doc.Services().Settings());
    BeginUndoStep(doc, "Paste");
    doc.SelectObject(nullptr, SELECT_CLEAR | SELECT_UPDATE);
    CMapWorld& world = *doc.World();

    const Vector offset(static_cast<float>(settings.offset[0]),
                        static_cast<float>(settings.offset[1]),
                        static_cast<float>(settings.offset[2]));
    const Vector step(settings.rotate[0], settings.rotate[1], settings.rotate[2]);
    Vector position;
    if (settings.center) {
        position = clipboard.Center() + offset;
    } else {
        const BoundBox& box = clipboard.Bounds();
        const Vector half = box.IsEmpty() ? Vector{} : box.Size() * 0.5f;
        position = doc.GetPastePoint() - half;
    }
    Vector rotation = step;
    const bool rotates = step.x != 0.0f || step.y != 0.0f || step.z != 0.0f;

    CMapClass* target = &world;
    CMapGroup* group = nullptr;
    if (settings.group) {
        // Attached to the world once it holds the copies, so the world's bounds cover them.
        group = new CMapGroup;
        doc.Services().ActiveHistory().KeepNew(group);
        target = group;
    }

    const int copies = std::clamp(settings.copies, PasteSpecialSettings::kMinCopies,
                                  PasteSpecialSettings::kMaxCopies);
    for (int n = 0; n < copies; ++n) {
        for (std::size_t i = 0; i < clipboard.Count(); ++i) {
            CMapClass* copy = clipboard.MakeCopy(i);
            {
                // New in this step: undo destroys the copy, so its placing needs no record.
                RecordingPause pause;
                copy->TransMove(position);
                if (rotates) {
                    copy->TransRotate(copy->Bounds().Center(), rotation);
                }
            }
            target->AddChild(copy);
            if (!group) {
                doc.SelectObject(copy, SELECT_ADD);
            }
        }
        position += offset;
        rotation += step;
    }
    if (group) {
        group->CalcBounds();
        world.AddChild(group);
        doc.SelectObject(group, SELECT_ADD);
    }
    ShowPastedObjects(doc);
}
