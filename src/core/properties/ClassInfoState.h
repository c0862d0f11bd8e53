#pragma once

#include "mapobjects/EditGameClass.h"

#include <optional>
#include <string>
#include <vector>

class ClassVariable;
class EntityClassDef;
class GameDataSet;

// The Class Info page of the object properties: the class, the angle and the keyvalues of an
// entity or the world, edited in a page-local keyvalue list that is written back on apply.
// Two modes: keyvalue mode lists every pair as "key<TAB>value"; SmartEdit lists one row per
// variable of the class and fills in the defaults of variables the entity lacks.
class ClassInfoState {
public:
    struct Row {
        std::string text;
        // SmartEdit: the class's variable slot the row stands for; -1 in keyvalue mode.
        int slot = -1;
    };

    // Loads from the holder: class choices, angle, class text, the local keyvalues, then the
    // class is applied (SmartEdit fills in defaults).
    void Load(const CEditGameClass& holder, const GameDataSet* gameData);
    // Writes the angle, the non-empty keyvalues and the class into the holder.
    void Write(CEditGameClass& holder) const;

    // --- class ---
    const std::vector<std::string>& ClassChoices() const { return m_classChoices; }
    const std::string& ClassText() const { return m_classText; }
    // The world's class cannot be changed.
    bool ClassEditable() const { return m_classEditable; }
    // Takes the class text (typed or picked) and applies it.
    void SetClassText(const std::string& text);
    // The class the text names in the game data, or null.
    const EntityClassDef* CurrentClass() const { return m_class; }

    // --- modes ---
    bool SmartEditAvailable() const { return m_class != nullptr; }
    bool SmartEdit() const { return m_smartEditPreferred && SmartEditAvailable(); }
    bool SmartEditPreferred() const { return m_smartEditPreferred; }
    void SetSmartEditPreferred(bool preferred);

    // --- rows ---
    const std::vector<Row>& Rows() const { return m_rows; }
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    const CEditGameClass& LocalKeyValues() const { return m_local; }

    // Keyvalue mode: the key and value a row shows (split at its first tab).
    std::pair<std::string, std::string> RowKeyValue(int row) const;
    // Keyvalue mode, the value field changed: the row becomes key<TAB>value and the local key
    // takes the value (cut to 511 characters); a key changed in the key field renames the pair. A
    // key that cannot be stored changes nothing and its message is returned.
    std::optional<std::string> SetRowKeyValue(int row, const std::string& key,
                                              const std::string& value);
    // "add": appends a pair as a new row; returns its row, or the message why the key was
    // refused.
    struct AddResult {
        int row = -1;
        std::string error;
    };
    AddResult AddKeyValue(const std::string& key, const std::string& value);
    // "delete": removes the row and its key; returns the row to select then (-1 for none).
    int DeleteRow(int row);
    // The key the "New Keyvalue" dialog offers: "newkey1", "newkey2", ... (counts up also when
    // the dialog is cancelled; back to 1 on every load).
    std::string NextNewKey();

    // SmartEdit: the variable of a row, its current value, and a new value from an editor.
    // The row of the class's "angle" variable shows and sets the angle itself (the combo's
    // text), never a keyvalue.
    const ClassVariable* RowVariable(int row) const;
    std::string RowValue(int row) const;
    void SetRowValue(int row, const std::string& value);
    // The row of the "angle" variable in SmartEdit, or -1.
    int AngleRow() const;

    // --- angle ---
    const std::string& AngleText() const { return m_angleText; }
    int DialAngle() const { return m_dialAngle; }
    // Typed or picked text; the dial follows.
    void SetAngleText(const std::string& text);
    // The dial was dragged: the combo shows the number.
    void SetDialAngle(int angle);
    int AngleToWrite() const;

private:
    void ApplyClass();

    const GameDataSet* m_gameData = nullptr;
    std::vector<std::string> m_classChoices;
    std::string m_classText;
    bool m_classEditable = true;
    const EntityClassDef* m_class = nullptr;
    bool m_smartEditPreferred = true;
    std::vector<Row> m_rows;
    CEditGameClass m_local;
    int m_newKeyCounter = 1;
    std::string m_angleText;
    int m_dialAngle = 0;
};

// Class names the class combo offers: every class that is not a base class, in game data
// order, without "worldspawn"; only classes of the same kind (point or solid) when current
// names a class.
std::vector<std::string> ClassChoicesFor(const GameDataSet& gameData,
                                         const EntityClassDef* current);
