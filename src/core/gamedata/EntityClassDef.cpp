#include "gamedata/EntityClassDef.h"

#include "gamedata/TextCompare.h"

#include <algorithm>

const ClassVariable* EntityClassDef::VariableAt(int slot) const {
    return const_cast<EntityClassDef*>(this)->VariableAt(slot);
}

ClassVariable* EntityClassDef::VariableAt(int slot) {
    EntityClassDef* owner = this;
    // Base classes always come earlier in the game data, so the chain ends; the bound guards
    // against a hand-built cycle all the same.
    for (int depth = 0; depth < 1024; ++depth) {
        if (slot < 0 || slot >= owner->SlotCount()) {
            return nullptr;
        }
        const VariableSlot& entry = owner->m_slots[static_cast<std::size_t>(slot)];
        if (entry.IsOwn()) {
            return &owner->m_ownVariables[static_cast<std::size_t>(entry.ownIndex)];
        }
        if (entry.baseClass == nullptr) {
            return nullptr;
        }
        owner = entry.baseClass;
        slot = entry.baseSlot;
    }
    return nullptr;
}

int EntityClassDef::FindSlot(const std::string& variableName) const {
    for (int k = 0; k < SlotCount(); ++k) {
        const ClassVariable* variable = VariableAt(k);
        if (variable != nullptr && EqualsNoCase(variable->name, variableName)) {
            return k;
        }
    }
    return -1;
}

const ClassVariable* EntityClassDef::FindVariable(const std::string& variableName,
                                                  int* slot) const {
    return const_cast<EntityClassDef*>(this)->FindVariable(variableName, slot);
}

ClassVariable* EntityClassDef::FindVariable(const std::string& variableName, int* slot) {
    int k = FindSlot(variableName);
    if (slot != nullptr) {
        *slot = k;
    }
    return k < 0 ? nullptr : VariableAt(k);
}

bool EntityClassDef::InheritFrom(EntityClassDef& base, int basePosition) {
    // Check the worst case first so that a failure leaves the class as it was.
    EntityClassDef trial = *this;
    for (int k = 0; k < base.SlotCount(); ++k) {
        const ClassVariable* variable = base.VariableAt(k);
        if (variable == nullptr) {
            continue;
        }
        VariableSlot reference;
        reference.baseClass = &base;
        reference.basePosition = basePosition;
        reference.baseSlot = k;
        if (!trial.AddSlot(*variable, reference)) {
            return false;
        }
    }
    m_slots = std::move(trial.m_slots);
    m_ownVariables = std::move(trial.m_ownVariables);
    if (!hasSize) {
        boxMin = base.boxMin;
        boxMax = base.boxMax;
        hasSize = true;
    }
    if (!hasColor) {
        color = base.color;
        hasColor = true;
    }
    return true;
}

bool EntityClassDef::AddVariable(const ClassVariable& variable) {
    return AddSlot(variable, VariableSlot{});
}

// Adds a variable V (an own one when reference is empty, else the base slot it names):
// a choices or flags variable meeting an earlier one of the same name and kind is merged with
// it in place; a different kind takes over the earlier slot; anything else gets a new slot.
bool EntityClassDef::AddSlot(const ClassVariable& variable, const VariableSlot& reference) {
    const bool isOwn = reference.baseClass == nullptr;
    const int existingSlot = FindSlot(variable.name);
    const ClassVariable* existing = existingSlot < 0 ? nullptr : VariableAt(existingSlot);

    if (existing == nullptr || !variable.IsChoicesOrFlags()) {
        if (m_slots.size() >= kMaxSlots) {
            return false;
        }
        if (isOwn) {
            m_ownVariables.push_back(variable);
            VariableSlot slot;
            slot.ownIndex = static_cast<int>(m_ownVariables.size()) - 1;
            m_slots.push_back(slot);
        } else {
            m_slots.push_back(reference);
        }
        return true;
    }

    VariableSlot& held = m_slots[static_cast<std::size_t>(existingSlot)];
    if (existing->type == variable.type) {
        ClassVariable merged = variable;
        for (const VariableChoice& item : existing->items) {
            bool known =
                std::any_of(variable.items.begin(), variable.items.end(),
                            [&](const VariableChoice& v) { return v.value == item.value; });
            if (!known) {
                merged.items.push_back(item);
            }
        }
        if (held.IsOwn()) {
            m_ownVariables[static_cast<std::size_t>(held.ownIndex)] = std::move(merged);
        } else {
            m_ownVariables.push_back(std::move(merged));
            held = VariableSlot{};
            held.ownIndex = static_cast<int>(m_ownVariables.size()) - 1;
        }
        return true;
    }

    // Choices against flags: the newer declaration takes the slot over.
    if (isOwn) {
        m_ownVariables.push_back(variable);
        held = VariableSlot{};
        held.ownIndex = static_cast<int>(m_ownVariables.size()) - 1;
    } else {
        held = reference;
    }
    return true;
}
