#pragma once

#include <string>
#include <vector>

class QuakeGraphic;
class TextureManager;

// The entries of a "Current texture:" box: the recently used textures (most recent first),
// a separator (a null texture) when there is at least one, then the current group in order.
class TextureBarItems {
public:
    static std::vector<QuakeGraphic*> Build(TextureManager& textures);

    // Where the bar starts: the first entry whose name starts with neither "*" nor "+" and
    // does not contain "door" (case-sensitive); the first texture when every name fails;
    // -1 without textures.
    static int StartPosition(const std::vector<QuakeGraphic*>& items);

    // The first entry after position `after` (-1: from the top) whose name begins with text,
    // ignoring case; separators are skipped. -1 when none does.
    static int FindByPrefix(const std::vector<QuakeGraphic*>& items, const std::string& text,
                            int after = -1);
};
