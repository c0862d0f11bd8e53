// The one list of tools: complete entries, no number, command or accelerator twice, a tool
// object in every document, and pictures that stay on their canvas.
#include "tools/ToolRegistry.h"
#include "document/MapDoc.h"
#include "session/EditorContext.h"
#include "support/FakeViews.h"
#include "tools/DocumentTools.h"
#include "tools/ToolIcon.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// Records whether anything was drawn, and anything drawn off the 24 x 24 canvas.
class BoundsCanvas : public ToolIconCanvas {
public:
    int drawn = 0;
    int outside = 0;
    void SetPen(IconColor, float, bool, bool) override {}
    void SetFill(IconColor) override {}
    void NoFill() override {}
    void Line(IconPoint from, IconPoint to) override {
        Point(from);
        Point(to);
    }
    void Polygon(std::initializer_list<IconPoint> points) override {
        for (const IconPoint& p : points) {
            Point(p);
        }
    }
    void Rect(float x, float y, float w, float h, float) override {
        Point({x, y});
        Point({x + w, y + h});
    }
    void Ellipse(float x, float y, float w, float h) override { Rect(x, y, w, h, 0); }

private:
    void Point(IconPoint p) {
        ++drawn;
        outside += (p.x < 0 || p.y < 0 || p.x > 24 || p.y > 24) ? 1 : 0;
    }
};

} // namespace

TEST(ToolRegistryTest, EveryToolIsCompleteUniqueAndMadeForEachDocument) {
    ScopedEditorContext context;
    FakeMainFrame frame;
    context.Context().mainFrame = &frame;
    CMapDoc doc;
    std::set<int> ids;
    std::set<int> commands;
    std::set<std::string> accelerators;
    ASSERT_GE(RegisteredTools().size(), 7u);
    for (const ToolRegistration& tool : RegisteredTools()) {
        SCOPED_TRACE(tool.menuText);
        EXPECT_TRUE(ids.insert(tool.id).second);
        EXPECT_TRUE(commands.insert(tool.commandId).second);
        const std::string text = tool.menuText;
        const auto tab = text.find('\t');
        ASSERT_NE(tab, std::string::npos);
        EXPECT_TRUE(accelerators.insert(text.substr(tab + 1)).second);
        EXPECT_EQ(FindRegisteredTool(tool.id), &tool);
        EXPECT_EQ(FindToolCommand(tool.commandId), &tool);
        EXPECT_NE(doc.Tools().Find(tool.id), nullptr);
        ASSERT_NE(tool.drawIcon, nullptr);
        BoundsCanvas canvas;
        tool.drawIcon(canvas);
        EXPECT_GT(canvas.drawn, 0);
        EXPECT_EQ(canvas.outside, 0);
    }
    EXPECT_EQ(FindRegisteredTool(4), nullptr);
    EXPECT_EQ(doc.Tools().Find(4), nullptr);
    context.Context().mainFrame = nullptr;
}
