#pragma once

#include "autosave/AutosaveStore.h"

#include <string>

class CMapDoc;

// What start-up does with the autosaves a crashed Tarno left behind.

inline constexpr const char* kRecoveryQuestion =
    "Tarno was not closed properly. Recover these maps?";
// Shown in place of a path for a map that was never saved.
inline constexpr const char* kUntitledMapName = "(untitled)";

// "/maps/e1m1.map (autosaved 2026-12-08 09:41:07)", local time.
std::string DescribeAutosave(const AutosaveEntry& entry);
// One line of `Tarno --recover-list`: the map's path, the autosave file and its time,
// separated by tabs.
std::string RecoverListLine(const AutosaveEntry& entry);
// Opens the entry's newest autosave into document, which then counts as modified and
// belongs to the original map: Save writes there. False when the autosave cannot be read.
bool OpenRecoveredMap(CMapDoc& document, const AutosaveEntry& entry);
