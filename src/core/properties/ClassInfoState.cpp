#include "properties/ClassInfoState.h"

#include "gamedata/GameDataSet.h"
#include "properties/AngleText.h"
#include "properties/KeyValueRules.h"

namespace {
const char* const kWorldClass = "worldspawn";

std::string RowText(const std::string& key, const std::string& value) {
    return key + "\t" + value;
}

bool IsAngleVariable(const ClassVariable& variable) {
    return EqualsIgnoreCase(variable.name, "angle");
}
} // namespace

std::vector<std::string> ClassChoicesFor(const GameDataSet& gameData,
                                         const EntityClassDef* current) {
    std::vector<std::string> names;
    for (const auto& gameClass : gameData.Classes()) {
        if (gameClass->isBase || gameClass->name == kWorldClass) {
            continue;
        }
        if (current && gameClass->isSolid != current->isSolid) {
            continue;
        }
        names.push_back(gameClass->name);
    }
    return names;
}

void ClassInfoState::Load(const CEditGameClass& holder, const GameDataSet* gameData) {
    m_gameData = gameData;
    m_newKeyCounter = 1;
    const EntityClassDef* current =
        gameData ? gameData->FindClass(holder.ClassName(), nullptr) : nullptr;
    m_classChoices = gameData ? ClassChoicesFor(*gameData, current) : std::vector<std::string>{};
    m_dialAngle = holder.Angle();
    m_angleText = AngleComboText(holder.Angle());
    m_classText = holder.ClassName();
    m_classEditable = holder.ClassName() != kWorldClass;
    m_local.RemoveAllKeys();
    for (const CEditGameClass::KeyValue& pair : holder.KeyValues()) {
        m_local.SetKeyValue(pair.key, pair.value);
    }
    ApplyClass();
}

void ClassInfoState::SetClassText(const std::string& text) {
    m_classText = text;
    ApplyClass();
}

void ClassInfoState::SetSmartEditPreferred(bool preferred) {
    m_smartEditPreferred = preferred;
    ApplyClass();
}

void ClassInfoState::ApplyClass() {
    const std::string name = EffectiveClassName(m_classText);
    m_class = m_gameData ? m_gameData->FindClass(name, nullptr) : nullptr;
    m_rows.clear();
    if (SmartEdit()) {
        for (int slot = 0; slot < m_class->SlotCount(); ++slot) {
            const ClassVariable* variable = m_class->VariableAt(slot);
            // The spawn flags have their page; the class and an entity's origin are not
            // edited as attributes.
            if (!variable ||
                (CEditGameClass::IsFieldKey(variable->name) && !IsAngleVariable(*variable))) {
                continue;
            }
            m_rows.push_back(Row{variable->description, slot});
            // The angle's row stands for the angle field: it is never a keyvalue.
            if (!IsAngleVariable(*variable) && !m_local.GetKeyValue(variable->name)) {
                const ClassVariable::KeyValue pair = variable->DefaultKeyValue();
                m_local.SetKeyValue(pair.key, pair.value);
            }
        }
        return;
    }
    std::vector<std::string> empty;
    for (const CEditGameClass::KeyValue& pair : m_local.KeyValues()) {
        if (pair.value.empty()) {
            empty.push_back(pair.key);
        }
    }
    for (const std::string& key : empty) {
        m_local.SetKeyValue(key, std::nullopt);
    }
    for (const CEditGameClass::KeyValue& pair : m_local.KeyValues()) {
        m_rows.push_back(Row{RowText(pair.key, pair.value), -1});
    }
}

std::pair<std::string, std::string> ClassInfoState::RowKeyValue(int row) const {
    if (row < 0 || row >= RowCount()) {
        return {};
    }
    const std::string& text = m_rows[static_cast<std::size_t>(row)].text;
    const std::size_t tab = text.find('\t');
    if (tab == std::string::npos) {
        return {text, {}};
    }
    return {text.substr(0, tab), text.substr(tab + 1)};
}

std::optional<std::string> ClassInfoState::SetRowKeyValue(int row, const std::string& key,
                                                          const std::string& value) {
    if (row < 0 || row >= RowCount()) {
        return std::nullopt;
    }
    if (std::optional<std::string> error = CheckKeyText(key)) {
        return error;
    }
    // A changed key renames the pair: the old key would otherwise stay in the list unseen.
    const std::string oldKey = RowKeyValue(row).first;
    if (!EqualsIgnoreCase(oldKey, key)) {
        m_local.SetKeyValue(oldKey, std::nullopt);
    }
    const std::string stored = StoredValueText(value);
    m_rows[static_cast<std::size_t>(row)].text = RowText(key, stored);
    m_local.SetKeyValue(key, stored);
    return std::nullopt;
}

ClassInfoState::AddResult ClassInfoState::AddKeyValue(const std::string& key,
                                                      const std::string& value) {
    if (std::optional<std::string> error = CheckKeyText(key)) {
        return {-1, *error};
    }
    const std::string stored = StoredValueText(value);
    m_rows.push_back(Row{RowText(key, stored), -1});
    m_local.SetKeyValue(key, stored);
    return {RowCount() - 1, {}};
}

int ClassInfoState::DeleteRow(int row) {
    if (row < 0 || row >= RowCount()) {
        return -1;
    }
    m_local.SetKeyValue(RowKeyValue(row).first, std::nullopt);
    const bool wasLast = row == RowCount() - 1;
    m_rows.erase(m_rows.begin() + row);
    return wasLast ? row - 1 : -1;
}

std::string ClassInfoState::NextNewKey() {
    return "newkey" + std::to_string(m_newKeyCounter++);
}

const ClassVariable* ClassInfoState::RowVariable(int row) const {
    if (!m_class || row < 0 || row >= RowCount()) {
        return nullptr;
    }
    return m_class->VariableAt(m_rows[static_cast<std::size_t>(row)].slot);
}

std::string ClassInfoState::RowValue(int row) const {
    const ClassVariable* variable = RowVariable(row);
    if (!variable) {
        return {};
    }
    if (IsAngleVariable(*variable)) {
        return m_angleText;
    }
    auto value = m_local.GetKeyValue(variable->name);
    return value ? value->first : std::string();
}

void ClassInfoState::SetRowValue(int row, const std::string& value) {
    if (const ClassVariable* variable = RowVariable(row)) {
        if (IsAngleVariable(*variable)) {
            SetAngleText(value);
        } else {
            m_local.SetKeyValue(variable->name, StoredValueText(value));
        }
    }
}

int ClassInfoState::AngleRow() const {
    for (int row = 0; row < RowCount(); ++row) {
        if (const ClassVariable* variable = RowVariable(row);
            variable && IsAngleVariable(*variable)) {
            return row;
        }
    }
    return -1;
}

void ClassInfoState::SetAngleText(const std::string& text) {
    m_angleText = text;
    m_dialAngle = DialAngleForText(text);
}

void ClassInfoState::SetDialAngle(int angle) {
    m_dialAngle = angle;
    m_angleText = std::to_string(angle);
}

int ClassInfoState::AngleToWrite() const {
    return ::AngleToWrite(m_angleText, m_dialAngle);
}

void ClassInfoState::Write(CEditGameClass& holder) const {
    holder.SetAngle(AngleToWrite());
    holder.RemoveAllKeys();
    for (const CEditGameClass::KeyValue& pair : m_local.KeyValues()) {
        if (!pair.value.empty()) {
            holder.SetKeyValue(pair.key, pair.value);
        }
    }
    holder.SetClass(EffectiveClassName(m_classText));
}
