#pragma once

// A child frame on a real display showing two 64-unit boxes side by side, the top (XY) and
// front (XZ) views at zoom 1 centred on them, with scripted prompts and a fake main frame.
#include "ViewTestSupport.h"
#include "app/ChildFrame.h"
#include "document/MapDoc.h"
#include "document/MapFiles.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/FakeViews.h"
#include "support/ScriptedPrompts.h"
#include "views/MapView2D.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>

class TwoBoxFrameTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    FakeMainFrame mainFrame;
    FakeStatusPanes panes;
    std::unique_ptr<CChildFrame> frame;
    CMapDoc* doc = nullptr;
    CMapView2D* xy = nullptr;
    CMapView2D* xz = nullptr;

    void SetUp() override {
        context.Context().SetPrompts(&prompts);
        context.Context().mainFrame = &mainFrame;
        context.Context().statusPanes = &panes;
        auto document = std::make_unique<CMapDoc>();
        AddBox(*document->World(), {0, 0, 0}, {64, 64, 64});
        AddBox(*document->World(), {128, 0, 0}, {192, 64, 64});
        document->World()->CalcBounds(true);
        document->World()->UpdateVisibleObjects();
        frame = std::make_unique<CChildFrame>(std::move(document));
        frame->resize(1006, 806);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        QApplication::processEvents();
        doc = &frame->Document();
        CMapDoc::SetActiveMapDoc(doc);
        for (CMapView2D* view : frame->Views2D()) {
            if (view->ViewType() == VIEW2D_XY) {
                xy = view;
            } else if (view->ViewType() == VIEW2D_XZ) {
                xz = view;
            }
        }
        ASSERT_NE(xy, nullptr);
        ASSERT_NE(xz, nullptr);
        for (CMapView2D* view : {xy, xz}) {
            view->SetZoom(1.0f);
            view->CenterOnPoint(96.0f, 32.0f);
        }
        QApplication::processEvents();
    }
    void TearDown() override {
        frame.reset();
        context.Context().mainFrame = nullptr;
        context.Context().statusPanes = nullptr;
    }

    // The map as RMF bytes, to compare states exactly.
    std::string Rmf() const {
        std::string out;
        EXPECT_EQ(WriteRmfData(*doc->World(), out), 0);
        return out;
    }
};
