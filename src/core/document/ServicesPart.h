#pragma once

// A service the floors above the document hang on the document services (the clipboard, the
// prefab libraries, the new-object bar): made when first asked for and destroyed with the
// services, newest first.
class ServicesPart {
public:
    virtual ~ServicesPart() = default;
};
