#pragma once

// A service the floors above the session hang on it (the clipboard, the prefab libraries, the
// new-object bar): made when first asked for and destroyed with the context, newest first.
class ContextPart {
public:
    virtual ~ContextPart() = default;
};
