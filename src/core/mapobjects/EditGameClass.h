#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class EntityClassDef;

// The keyvalue holder of entities and the world: class name, angle, spawn flags and the other
// key/value pairs. Keys are unique without regard to case; "classname", "angle" and
// "spawnflags" live in their own fields and "origin" is the entity's position: none of the
// four is ever kept among the pairs, so a file never gets one of them twice.
class CEditGameClass {
public:
    static constexpr std::size_t kMaxClassName = 63;
    static constexpr std::size_t kMaxKey = 19;
    static constexpr std::size_t kMaxValue = 511;

    struct KeyValue {
        std::string key;
        std::string value;
    };

    virtual ~CEditGameClass() = default;

    // Looks the class up in the current game data and copies the name (cut to 63 characters).
    // Entities extend it (their class colour and box follow the class).
    virtual void SetClass(const std::string& name);
    const std::string& ClassName() const { return m_className; }
    const EntityClassDef* GameClass() const { return m_gameClass; }

    int Angle() const { return m_angle; }
    void SetAngle(int angle) { m_angle = angle; }
    std::uint32_t SpawnFlags() const { return m_spawnFlags; }
    void SetSpawnFlags(std::uint32_t flags) { m_spawnFlags = flags; }

    // With a value: replace or append. With no value: remove, keeping the others' order.
    // Keys are cut to 19 characters and values to 511. "classname", "angle" and "spawnflags"
    // (any case) set their fields instead (no value: angle and flags 0, the class stays);
    // "origin" is never stored (its value is the entity's position, read by the file formats).
    void SetKeyValue(const std::string& key, const std::optional<std::string>& value);
    // True for the keys that are never among the pairs (see SetKeyValue).
    static bool IsFieldKey(const std::string& key);
    // The value and index of the pair with this key (ignoring case), or none.
    std::optional<std::pair<std::string, int>> GetKeyValue(const std::string& key) const;
    const std::vector<KeyValue>& KeyValues() const { return m_keyValues; }
    int KeyValueCount() const { return static_cast<int>(m_keyValues.size()); }
    void RemoveAllKeys() { m_keyValues.clear(); }

    // Copies class, angle, spawn flags and pairs.
    void CopyGameClassFrom(const CEditGameClass& other);

protected:
    std::string m_className;
    const EntityClassDef* m_gameClass = nullptr;
    int m_angle = 0;
    std::uint32_t m_spawnFlags = 0;
    std::vector<KeyValue> m_keyValues;

private:
    friend class MapObjectAccess;

    int FindKey(const std::string& key) const;
};

// Case-insensitive ASCII comparison used for keys, keywords and texture names.
bool EqualsIgnoreCase(const std::string& a, const std::string& b);
