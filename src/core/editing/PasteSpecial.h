#pragma once

#include <array>

class CMapDoc;
class Clipboard;
class SettingsStore;

// The values of the Paste Special dialog, kept in the settings section "Paste Special".
struct PasteSpecialSettings {
    static constexpr int kMinCopies = 1;
    static constexpr int kMaxCopies = 256;

    int copies = 1;
    // Put all copies into one new group.
    bool group = false;
    // Added to the position per copy.
    std::array<int, 3> offset{0, 0, 0};
    // Added to the rotation per copy, degrees about x, y and z.
    std::array<float, 3> rotate{0.0f, 0.0f, 0.0f};
    // Start at the centre of the copied selection (else around the paste point).
    bool center = true;

    // Missing or unreadable values take their defaults; the copies are kept within 1 to 256.
    static PasteSpecialSettings Load(SettingsStore& store);
    void Save(SettingsStore& store) const;
};

// What the "<" button beside an offset field puts into it: the clipboard box's extent on that
// axis (whole units), or minus the extent when the field holds the extent already.
int OffsetButtonValue(int fieldValue, const Clipboard& clipboard, int axis);

// "Paste": settings.copies copies of the clipboard's objects, each moved by one more offset
// and turned by one more rotation step than the one before, into the world or a new group;
// the new objects (or the group) are selected. The settings are kept in the editor's
// settings store.
void OnPasteSpecial(CMapDoc& doc, const PasteSpecialSettings& settings);
