#include "properties/SpawnFlagsState.h"

#include "gamedata/EntityClassDef.h"
#include "mapobjects/EditGameClass.h"

std::array<std::string, SpawnFlagsState::kFlagCount>
SpawnFlagCaptions(const EntityClassDef* gameClass) {
    std::array<std::string, SpawnFlagsState::kFlagCount> captions;
    const ClassVariable* flags = gameClass ? gameClass->FindVariable("spawnflags") : nullptr;
    if (!flags) {
        return captions;
    }
    for (int i = 0; i < SpawnFlagsState::kFlagCount; ++i) {
        if (const std::string* caption =
                flags->ItemCaption(static_cast<std::int32_t>(SpawnFlagsState::Bit(i)))) {
            captions[static_cast<std::size_t>(i)] = *caption;
        }
    }
    return captions;
}

void SpawnFlagsState::Load(const CEditGameClass& holder) {
    Relabel(holder.GameClass());
    for (int i = 0; i < kFlagCount; ++i) {
        m_checked[static_cast<std::size_t>(i)] = (holder.SpawnFlags() & Bit(i)) != 0;
    }
}

void SpawnFlagsState::Relabel(const EntityClassDef* gameClass) {
    m_captions = SpawnFlagCaptions(gameClass);
}

std::uint32_t SpawnFlagsState::Write(std::uint32_t flags) const {
    for (int i = 0; i < kFlagCount; ++i) {
        if (m_checked[static_cast<std::size_t>(i)]) {
            flags |= Bit(i);
        } else {
            flags &= ~Bit(i);
        }
    }
    return flags;
}

void SpawnFlagsState::Write(CEditGameClass& holder) const {
    holder.SetSpawnFlags(Write(holder.SpawnFlags()));
}
