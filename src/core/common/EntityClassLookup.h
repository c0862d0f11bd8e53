#pragma once

#include <string>

class EntityClassDef;

// How map entities find their class by name in the current game data.
class EntityClassLookup {
public:
    virtual ~EntityClassLookup() = default;
    // Case-sensitive; null when the game data has no such class.
    virtual const EntityClassDef* FindClass(const std::string& name) const = 0;
    // The class given to entities made from selected solids ("DefaultClass").
    virtual std::string DefaultClassName() const = 0;
};
