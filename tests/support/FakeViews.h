#pragma once

#include "common/StatusPanes.h"
#include "common/ToolId.h"
#include "document/EditorSinks.h"
#include "document/MapDocView.h"
#include "document/UpdateHint.h"

#include <array>
#include <string>
#include <vector>

// A view that records the updates it gets; a 2D one has fixed axes and a fixed centre.
class FakeView : public MapDocView {
public:
    FakeView(bool is3D, int h = 0, int v = 1, Vector center = {})
        : m_is3D(is3D), m_h(h), m_v(v), m_center(center) {}

    std::vector<int> updates;
    std::vector<int> handleCodes;
    bool invertHorizontal = false;
    bool invertVertical = false;
    Vector centeredOn{99999, 99999, 99999};
    float zoom = 0;

    void OnDocumentUpdate(int flags, const CUpdateHint*) override { updates.push_back(flags); }
    bool Is3D() const override { return m_is3D; }
    int HorizontalAxis() const override { return m_h; }
    int VerticalAxis() const override { return m_v; }
    bool InvertHorizontal() const override { return invertHorizontal; }
    bool InvertVertical() const override { return invertVertical; }
    Vector ClientCenterInMap() const override { return m_center; }
    void SetZoom(float z) override { zoom = z; }
    void CenterOn(const Vector& point) override { centeredOn = point; }
    void ToolHandles(int code) override { handleCodes.push_back(code); }

private:
    bool m_is3D;
    int m_h;
    int m_v;
    Vector m_center;
};

class FakeStatusPanes : public StatusPanes {
public:
    std::array<std::string, 6> panes;
    void SetPaneText(int pane, const std::string& text) override {
        if (pane >= 0 && pane < 6) {
            panes[static_cast<std::size_t>(pane)] = text;
        }
    }
};

class FakeMainFrame : public MainFrameSink {
public:
    int tool = TOOL_SELECTION;
    bool faceMode = false;
    std::vector<CMapDoc*> activations;
    void ActiveDocumentChanged(CMapDoc* document) override { activations.push_back(document); }
    int CurrentTool() const override { return tool; }
    bool FaceEditingMode() const override { return faceMode; }
    void SetCurrentTool(int t) override { tool = t; }
};
