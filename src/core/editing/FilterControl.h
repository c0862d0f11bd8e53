#pragma once

#include <vector>

class CMapDoc;
class CMapWorld;

// The state of the Filter Control bar: one check per visgroup of the active map (switched
// on), the "VisGroups" toggle (filter by visgroups), and what was in force at the last Apply.
class FilterControl {
public:
    // Fills the checks from the world's groups (none without a world); the toggle follows the
    // world's visgroup filter bit.
    void Refill(const CMapWorld* world);

    int CheckCount() const { return static_cast<int>(m_checks.size()); }
    bool Checked(int index) const;
    void SetChecked(int index, bool checked);

    bool FilterByVisGroups() const { return m_toggle; }
    // The "VisGroups" push button.
    void ToggleVisGroups() { m_toggle = !m_toggle; }

    // "Apply": the checks become the groups' visible flags. When a flag changed while the
    // toggle is on, or the toggle changed since the last Apply, the world's visgroup filter
    // bit follows the toggle (the region bit is cleared), the world is filtered again, the
    // selection drops what is no longer visible and the views update. True when the map was
    // filtered again.
    bool Apply(CMapDoc& doc);

private:
    std::vector<bool> m_checks;
    bool m_toggle = false;
    bool m_appliedToggle = false;
};
