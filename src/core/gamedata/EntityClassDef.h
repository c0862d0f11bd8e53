#pragma once

#include "gamedata/ClassVariable.h"
#include "geometry/Vector.h"

#include <cstdint>
#include <string>
#include <vector>

// One entity class of the game data: its kind, default box and colour, and the keys it takes.
// Variables live in slots: a slot holds either a variable of this class or refers to a slot of
// a base class, whose variable it then shares.
class EntityClassDef {
public:
    static constexpr std::size_t kMaxName = 32;
    static constexpr std::size_t kMaxDescription = 127;
    static constexpr std::size_t kMaxSlots = 32;

    std::string name;
    std::string description;
    bool isBase = false;
    bool isSolid = false;
    // 24-bit RGB with red in the low byte, then green, then blue.
    std::uint32_t color = 220u | (0u << 8) | (180u << 16);
    bool hasColor = false;
    Vector boxMin{-8.0f, -8.0f, -8.0f};
    Vector boxMax{8.0f, 8.0f, 8.0f};
    bool hasSize = false;

    bool IsPointClass() const { return !isBase && !isSolid; }
    bool IsSolidClass() const { return isSolid; }
    // The colour as 0xRRGGBB, the form map objects keep.
    std::uint32_t ColorRGB() const {
        return ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
    }
    static std::uint32_t PackColor(int red, int green, int blue) {
        return (static_cast<std::uint32_t>(red) & 0xFFu) |
               ((static_cast<std::uint32_t>(green) & 0xFFu) << 8) |
               ((static_cast<std::uint32_t>(blue) & 0xFFu) << 16);
    }

    struct VariableSlot {
        // Index into the own variables, or -1 for a reference to a base class's slot.
        int ownIndex = -1;
        EntityClassDef* baseClass = nullptr;
        int basePosition = -1; // the base's position in the game data
        int baseSlot = -1;
        bool IsOwn() const { return ownIndex >= 0; }
    };

    int SlotCount() const { return static_cast<int>(m_slots.size()); }
    const std::vector<VariableSlot>& Slots() const { return m_slots; }
    const std::vector<ClassVariable>& OwnVariables() const { return m_ownVariables; }

    // The variable in slot k, following references through base classes; null when k is out of
    // range.
    const ClassVariable* VariableAt(int slot) const;
    ClassVariable* VariableAt(int slot);
    // First variable in slot order whose name matches (ignoring case); slot receives its index.
    const ClassVariable* FindVariable(const std::string& variableName, int* slot = nullptr) const;
    ClassVariable* FindVariable(const std::string& variableName, int* slot = nullptr);

    // Building a class while game data is read. Both return false, changing nothing, when the
    // class would get more than kMaxSlots slots.
    // Adds every slot of base as a reference, then takes its box and colour unless this class
    // already has its own.
    bool InheritFrom(EntityClassDef& base, int basePosition);
    // Adds a variable declared by this class, merging choices and flags of the same name.
    bool AddVariable(const ClassVariable& variable);

private:
    bool AddSlot(const ClassVariable& variable, const VariableSlot& reference);
    int FindSlot(const std::string& variableName) const;

    std::vector<VariableSlot> m_slots;
    std::vector<ClassVariable> m_ownVariables;
};
