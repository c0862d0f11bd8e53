#pragma once

class CMapClass;

// The active undo history as the map objects see it. Objects record themselves here before
// every change; the document's undo history implements it, and a disabled fallback absorbs
// the records while no document is active.
class HistoryRecorder {
public:
    virtual ~HistoryRecorder() = default;
    // Before an object's own data changes (geometry, faces, textures, keyvalues, visgroups).
    virtual void Keep(CMapClass* object) = 0;
    // Before an object is attached to or detached from a parent.
    virtual void KeepParent(CMapClass* object) = 0;
    // For an object just created.
    virtual void KeepNew(CMapClass* object) = 0;
    // After an object was taken out of the map for good: the recorder now owns it.
    virtual void KeepForDestruction(CMapClass* object) = 0;
};

// Records nothing. Objects handed over for destruction are destroyed at once, since nothing
// else will ever own them again.
class DisabledHistoryRecorder : public HistoryRecorder {
public:
    void Keep(CMapClass*) override {}
    void KeepParent(CMapClass*) override {}
    void KeepNew(CMapClass*) override {}
    void KeepForDestruction(CMapClass* object) override;
};
