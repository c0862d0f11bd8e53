#pragma once

#include "geometry/Vector.h"

struct CUpdateHint;

// A view of a document (a 2D view or the 3D view), as the document sees it.
class MapDocView {
public:
    virtual ~MapDocView() = default;

    // flags: UPDATE_* bits; hint may be null (everything).
    virtual void OnDocumentUpdate(int flags, const CUpdateHint* hint) = 0;
    virtual bool Is3D() const = 0;

    // 2D views only. Axes are 0 x, 1 y, 2 z.
    virtual int HorizontalAxis() const { return 0; }
    virtual int VerticalAxis() const { return 1; }
    // Whether the view shows an axis reversed (world "up" drawn upwards inverts the vertical).
    virtual bool InvertHorizontal() const { return false; }
    virtual bool InvertVertical() const { return false; }
    // The centre of the view's client area in map coordinates (whole units) on its two axes.
    virtual Vector ClientCenterInMap() const { return {}; }
    virtual void SetZoom(float zoom) { (void)zoom; }
    // Centres the view on the point's coordinates on its two axes.
    virtual void CenterOn(const Vector& point) { (void)point; }
    virtual void SetRedrawSuspended(bool suspended) { (void)suspended; }
    virtual void Invalidate() {}
    // code 2: draw the active tool's handles; code 3: erase them.
    virtual void ToolHandles(int code) { (void)code; }
};
