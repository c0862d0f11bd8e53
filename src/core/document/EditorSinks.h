#pragma once

#include <vector>

class CMapClass;
class CMapFace;
class CMapSolid;
class CMapDoc;

// What the document tells the main window.
class MainFrameSink {
public:
    virtual ~MainFrameSink() = default;
    // The active document changed: the bars refill from it.
    virtual void ActiveDocumentChanged(CMapDoc* document) = 0;
    virtual int CurrentTool() const = 0;
    // Texture application (face editing) mode.
    virtual bool FaceEditingMode() const = 0;
    // Makes tool the current tool of every open document (commands that switch to the
    // Selection Tool).
    virtual void SetCurrentTool(int tool) { (void)tool; }
};

// The object properties sheet.
class ObjectPropertiesSink {
public:
    virtual ~ObjectPropertiesSink() = default;
    virtual void SetObjects(const std::vector<CMapClass*>& objects) = 0;
    virtual void ClearObjects() = 0;
    // Shows the window and gives it the focus (a new entity's keyvalues are edited next).
    virtual void ShowAndActivate() {}
    // Writes what the user changed and has not applied yet (as its own undo step): the
    // document calls it before it takes another step, undoes, redoes or saves.
    virtual void ApplyPending() {}
};

// The face properties bar.
class FacePropertiesSink {
public:
    virtual ~FacePropertiesSink() = default;
    virtual void SetFaces(const std::vector<CMapFace*>& faces,
                          const std::vector<CMapSolid*>& owners) = 0;
};
