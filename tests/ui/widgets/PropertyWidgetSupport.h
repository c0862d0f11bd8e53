#pragma once

#include "document/MapDoc.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/FakeViews.h"
#include "support/PropertiesGameData.h"
#include "support/ScriptedPrompts.h"
#include "support/Selection.h"
#include "support/SolidBuilders.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

// A fresh editor with the small test game data and one open map holding a light (light 200),
// a player start (angle 90) and a box solid.
class PropertyWidgetTest : public ::testing::Test {
protected:
    ScopedEditorContext scoped;
    ScriptedPrompts prompts;
    FakeStatusPanes panes;
    FakeMainFrame frame;
    PropertiesGameData data{scoped.Context()};
    std::unique_ptr<CMapDoc> doc;
    CMapEntity* light = nullptr;
    CMapEntity* start = nullptr;
    CMapSolid* box = nullptr;

    void SetUp() override {
        ASSERT_TRUE(data.loaded);
        EditorContext& editor = scoped.Context();
        editor.SetPrompts(&prompts);
        editor.statusPanes = &panes;
        editor.mainFrame = &frame;
        doc = std::make_unique<CMapDoc>();
        CMapDoc::SetActiveMapDoc(doc.get());
        light = AddEntity("light", {0, 0, 0});
        light->SetKeyValue("light", "200");
        start = AddEntity("info_player_start", {64, 0, 0});
        start->SetAngle(90);
        box = new CMapSolid;
        AddBoxPlanes(*box, {128, 0, 0}, {192, 64, 64});
        EXPECT_TRUE(box->CreateFromPlanes());
        box->CalcBounds();
        doc->World()->AddChild(box);
        doc->World()->UpdateVisibleObjects();
        doc->SetModified(false);
    }
    void TearDown() override {
        if (doc) {
            doc->SelectObject(nullptr, SELECT_CLEAR | SELECT_UPDATE);
        }
        doc.reset();
    }

    CMapEntity* AddEntity(const char* className, const Vector& origin) {
        auto* entity = new CMapEntity;
        entity->SetPointEntity(true);
        entity->SetClass(className);
        entity->SetOrigin(origin);
        doc->World()->AddChild(entity);
        return entity;
    }

    void Select(std::initializer_list<CMapClass*> objects) { SelectExactly(*doc, objects); }

    static std::string Value(const CEditGameClass& holder, const std::string& key) {
        auto value = holder.GetKeyValue(key);
        return value ? value->first : "<none>";
    }

    // Clicks the row of an item view (list or tree) as the user would.
    static void ClickRow(QAbstractItemView* view, const QModelIndex& index) {
        const QRect rect = view->visualRect(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }

    // Replaces the whole text of a line edit by typing.
    static void TypeOver(QWidget* edit, const QString& text) {
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    // Runs action on the next modal dialog once it is open.
    static void WhenModalOpens(std::function<void(QWidget*)> action) {
        QTimer::singleShot(0, [action] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            action(modal);
        });
    }
};
