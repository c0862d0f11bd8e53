#pragma once

#include <array>
#include <cstdint>
#include <string>

class CEditGameClass;
class EntityClassDef;

// The Flags page: twelve boxes for the spawn flag bits 1, 2, 4 ... 2048, captioned from the
// class's "spawnflags" choices.
class SpawnFlagsState {
public:
    static constexpr int kFlagCount = 12;

    // Captions from the class (empty where it has none) and checks from the holder's flags.
    void Load(const CEditGameClass& holder);
    // Checked boxes set their bit, unchecked ones clear it; bits above 2048 are kept.
    std::uint32_t Write(std::uint32_t flags) const;
    void Write(CEditGameClass& holder) const;
    // Captions for a class (after the class was changed on the Class Info page).
    void Relabel(const EntityClassDef* gameClass);
    void ClearAll() { m_checked.fill(false); }

    bool Checked(int index) const { return m_checked[static_cast<std::size_t>(index)]; }
    void SetChecked(int index, bool on) { m_checked[static_cast<std::size_t>(index)] = on; }
    const std::string& Caption(int index) const {
        return m_captions[static_cast<std::size_t>(index)];
    }
    static std::uint32_t Bit(int index) { return 1u << index; }

private:
    std::array<bool, kFlagCount> m_checked{};
    std::array<std::string, kFlagCount> m_captions;
};

// Caption of each of the twelve bits in the class's "spawnflags" variable (ignoring case).
std::array<std::string, SpawnFlagsState::kFlagCount>
SpawnFlagCaptions(const EntityClassDef* gameClass);
