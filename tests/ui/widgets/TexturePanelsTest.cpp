#include "ModalDriver.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/QtSettingsStore.h"
#include "document/MapDoc.h"
#include "gamedata/GamePalette.h"
#include "gamedata/QuakeGraphic.h"
#include "gamedata/TextureManager.h"
#include "gamedata/Wad2Writer.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "panels/FacePropertiesBar.h"
#include "panels/FaceSpinField.h"
#include "panels/TextureBar.h"
#include "panels/TextureBrowser.h"
#include "panels/TextureBrowserWindow.h"
#include "panels/TextureThumbnails.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

class TexturePanelsTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    QTemporaryDir directory;
    std::unique_ptr<QtSettingsStore> settings;

    void SetUp() override {
        EditorContext& editor = context.Context();
        editor.SetPrompts(&prompts);
        settings = std::make_unique<QtSettingsStore>(directory.filePath("Brickhaven.ini"));
        editor.SetSettings(settings.get());
        Wad2Writer writer;
        // Names sort byte-wise: the special ones first, then the twelve walls.
        for (const char* name : {"*lava", "+0exit", "bigdoor"}) {
            writer.AddTexture(name, 64, 64, {std::vector<std::uint8_t>(64 * 64, 40)});
        }
        for (int i = 0; i < 12; ++i) {
            const int width = i == 0 ? 128 : 64;
            writer.AddTexture("wall" + std::to_string(10 + i), width, 32,
                              {std::vector<std::uint8_t>(static_cast<std::size_t>(width) * 32,
                                                         static_cast<std::uint8_t>(i + 1))});
        }
        TextureManager& textures = editor.TextureCatalogue();
        textures.AddWadFromMemory("walls.wad", writer.Build());
        textures.SortAllTextures();
        editor.textures = &textures;
    }
    void TearDown() override {
        context.Context().textures = nullptr;
        context.Context().SetSettings(nullptr);
    }
    TextureManager& Textures() { return context.Context().TextureCatalogue(); }

    // Chooses entry index of the box as the user does: open the list and click the entry.
    static void Choose(QComboBox* box, int index) {
        box->showPopup();
        QAbstractItemView* list = box->view();
        const QModelIndex item = list->model()->index(index, 0);
        list->scrollTo(item);
        const QRect r = list->visualRect(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        QTest::qWait(10);
    }
    static QString ItemText(QComboBox* box, int index) { return box->itemText(index); }
};

TEST_F(TexturePanelsTest, BarStartsOnAPlainTextureAndKeepsEightRecentOnes) {
    TextureBar bar(Textures());
    bar.show();
    QComboBox* groups = bar.GroupBox();
    ASSERT_EQ(groups->count(), 2);
    EXPECT_EQ(groups->itemText(0), "All textures");
    EXPECT_EQ(groups->itemText(1), "walls.wad");
    QComboBox* box = bar.TextureBox();
    // No recently used textures: no separator, and the start skips "*", "+" and "door".
    EXPECT_EQ(box->count(), 15);
    EXPECT_EQ(box->currentText(), "wall10");
    EXPECT_EQ(context.Context().currentTexture, "wall10");
    EXPECT_EQ(bar.SizeLabel()->text(), "128x32");
    EXPECT_TRUE(Textures().RecentlyUsed().empty());

    // Nine different choices: the first one falls out of the recent block.
    for (int i = 0; i < 9; ++i) {
        const int position = box->findText(QString("wall%1").arg(11 + i), Qt::MatchExactly);
        Choose(box, position);
        EXPECT_EQ(box->currentIndex(), 0);
        EXPECT_EQ(box->currentText(), QString("wall%1").arg(11 + i));
    }
    const auto& recent = Textures().RecentlyUsed();
    ASSERT_EQ(recent.size(), 8u);
    EXPECT_EQ(recent.front()->name, "wall19");
    EXPECT_EQ(recent.back()->name, "wall12"); // wall11 was dropped
    EXPECT_EQ(box->count(), 8 + 1 + 15);
    EXPECT_EQ(ItemText(box, 8), ""); // the separator
    EXPECT_EQ(bar.SizeLabel()->text(), "64x32");
    EXPECT_EQ(context.Context().currentTexture, "wall19");

    // The entries of the list are thumbnails 72 pixels high, the separator 9.
    box->showPopup();
    QAbstractItemView* list = box->view();
    EXPECT_EQ(list->visualRect(list->model()->index(0, 0)).height(), TextureBar::kItemHeight);
    EXPECT_EQ(list->visualRect(list->model()->index(8, 0)).height(), TextureBar::kSeparatorHeight);
    box->hidePopup();
}

TEST_F(TexturePanelsTest, ChoosingAGroupNarrowsTheBox) {
    Wad2Writer writer;
    writer.AddTexture("sky1", 64, 64, {std::vector<std::uint8_t>(64 * 64, 3)});
    Textures().LoadAllWadFiles({});
    Textures().AddWadFromMemory("sky.wad", writer.Build());
    Textures().SortAllTextures();
    TextureBar bar(Textures());
    bar.show();
    ASSERT_EQ(bar.GroupBox()->count(), 3);
    Choose(bar.GroupBox(), 2);
    EXPECT_EQ(Textures().CurrentListIndex(), 2);
    EXPECT_EQ(bar.TextureBox()->count(), 1);
    EXPECT_EQ(bar.TextureBox()->itemText(0), "sky1");
}

TEST_F(TexturePanelsTest, ThumbnailsFollowTheBrightness) {
    GamePalette palette;
    std::vector<std::uint8_t> colours(768, 0);
    colours[40 * 3] = 100;
    ASSERT_TRUE(palette.LoadFromBytes(colours.data(), colours.size()));
    Textures().SetPalette(&palette);
    TextureThumbnails thumbnails(Textures());
    QuakeGraphic* lava = Textures().FindTexture("*lava", false);
    ASSERT_NE(lava, nullptr);
    EXPECT_EQ(qRed(thumbnails.Scaled(*lava, 8, 8).toImage().pixel(1, 1)), 100);
    EXPECT_EQ(thumbnails.CachedCount(), 1);
    palette.SetBrightness(2.0f);
    EXPECT_EQ(thumbnails.CachedCount(), 0);
    EXPECT_EQ(qRed(thumbnails.Scaled(*lava, 8, 8).toImage().pixel(1, 1)), 200);
    Textures().SetPalette(nullptr);
}

TEST_F(TexturePanelsTest, BrowserPicksByDoubleClickAndKeepsItsRectangleOnlyWhenClosed) {
    QWidget parent;
    {
        TextureBrowser browser(Textures(), "WALL15", &parent);
        browser.resize(400, 300);
        browser.show();
        QTest::qWait(20);
        TextureBrowserWindow* grid = browser.Window();
        EXPECT_EQ(grid->ThumbnailSize(), 64);
        ASSERT_NE(grid->SelectedTexture(), nullptr);
        EXPECT_EQ(grid->SelectedTexture()->name, "wall15");
        // Selected by name: the view scrolled so that the cell's top is at the top.
        const auto& cell = grid->Layout().Cells()[static_cast<std::size_t>(grid->SelectedCell())];
        EXPECT_EQ(grid->verticalScrollBar()->value(),
                  std::min(cell.y, grid->verticalScrollBar()->maximum()));

        // 64x64 cells: a 128 x 32 texture gets a 64 pixel cell.
        EXPECT_EQ(grid->Layout().Cells()[3].width, 64);
        grid->verticalScrollBar()->setValue(0);
        const QRect first = grid->CellRectInView(4);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, first.center());
        EXPECT_EQ(grid->SelectedCell(), 4);

        // Natural size: wall10 is as wide as its picture.
        browser.SizeBox()->setCurrentIndex(0);
        EXPECT_EQ(grid->Layout().Cells()[3].width, 128);
        browser.SizeBox()->setCurrentIndex(2);

        // The extra filter narrows the grid.
        QTest::keyClicks(browser.FilterField(), "all2");
        EXPECT_EQ(grid->Layout().Cells().size(), 2u); // wall20, wall21
        browser.FilterField()->clear();

        browser.move(120, 80);
        browser.resize(420, 310);
        QTest::qWait(20);
        const QRect kept = browser.geometry();
        browser.close();
        const std::string stored =
            context.Context().Settings().GetString("Texture Browser", "Position", "");
        EXPECT_EQ(stored, QString("%1 %2 %3 %4")
                              .arg(kept.left())
                              .arg(kept.top())
                              .arg(kept.right() + 1)
                              .arg(kept.bottom() + 1)
                              .toStdString());
    }
    {
        TextureBrowser again(Textures(), "", &parent);
        EXPECT_EQ(again.size(), QSize(420, 310));
        again.show();
        QTest::qWait(20);
        const QRect cell = again.Window()->CellRectInView(5);
        QTest::mouseDClick(again.Window()->viewport(), Qt::LeftButton, {}, cell.center());
        EXPECT_EQ(again.result(), QDialog::Accepted);
        ASSERT_NE(again.PickedTexture(), nullptr);
        EXPECT_EQ(again.PickedTexture()->name, "wall12");
    }
    // Ending with a double click stores nothing new.
    context.Context().Settings().WriteString("Texture Browser", "Position", "1 2 303 204");
    {
        TextureBrowser third(Textures(), "", &parent);
        third.show();
        QTest::qWait(20);
        QTest::mouseDClick(third.Window()->viewport(), Qt::LeftButton, {},
                           third.Window()->CellRectInView(0).center());
    }
    EXPECT_EQ(context.Context().Settings().GetString("Texture Browser", "Position", ""),
              "1 2 303 204");
}

TEST_F(TexturePanelsTest, RotationSpinStaysAt359AndEveryStepApplies) {
    CMapDoc doc;
    CMapDoc::SetActiveMapDoc(&doc);
    auto* solid = new CMapSolid;
    AddBoxPlanes(*solid, {0, 0, 0}, {64, 64, 64});
    ASSERT_TRUE(solid->CreateFromPlanes());
    doc.World()->AddChild(solid);
    solid->Face(0).SetRotation(358.0f);
    solid->Face(1).SetShift(16, 0);
    solid->Face(2).SetShift(32, 0);
    FacePropertiesBar bar(Textures());
    bar.show();
    doc.SelectFace(&solid->Face(0), solid, SELECT_ADD | SELECT_UPDATE);
    EXPECT_EQ(bar.Rotation()->Text(), "358.0");
    EXPECT_EQ(bar.ScaleX()->text(), "1.0");

    bar.Rotation()->stepBy(1);
    EXPECT_EQ(bar.Rotation()->Text(), "359");
    EXPECT_EQ(solid->Face(0).Rotation(), 359.0f);
    QTest::keyClick(bar.Rotation(), Qt::Key_Up);
    EXPECT_EQ(bar.Rotation()->Text(), "359");
    EXPECT_EQ(solid->Face(0).Rotation(), 359.0f);

    // Mixed shifts show blank; applying keeps each face's own value.
    doc.SelectFace(&solid->Face(1), solid, SELECT_TOGGLE | SELECT_CLEAR);
    doc.SelectFace(&solid->Face(2), solid, SELECT_TOGGLE | SELECT_UPDATE);
    EXPECT_EQ(bar.ShiftX()->Text(), "");
    EXPECT_EQ(bar.ShiftY()->Text(), "0.0");
    bar.ScaleX()->setText("0.5");
    QTest::mouseClick(bar.ApplyButton(), Qt::LeftButton);
    EXPECT_EQ(solid->Face(1).ShiftX(), 16.0f);
    EXPECT_EQ(solid->Face(2).ShiftX(), 32.0f);
    EXPECT_EQ(solid->Face(2).ScaleX(), 0.5f);
    EXPECT_EQ(solid->Face(0).ScaleX(), 1.0f);

    // Revert throws typing away.
    bar.ScaleY()->setText("7");
    QTest::mouseClick(bar.RevertButton(), Qt::LeftButton);
    EXPECT_EQ(bar.ScaleY()->text(), "1.0");
    doc.OnUndo();
    CMapDoc::SetActiveMapDoc(nullptr);
}

TEST_F(TexturePanelsTest, FaceTextureOutsideTheGroupBecomesCurrentAndHeadsTheRecentOnes) {
    CMapDoc doc;
    CMapDoc::SetActiveMapDoc(&doc);
    auto* solid = new CMapSolid;
    AddBoxPlanes(*solid, {0, 0, 0}, {64, 64, 64});
    ASSERT_TRUE(solid->CreateFromPlanes());
    solid->SetTexture("wall13");
    solid->Face(4).SetTextureName("METAL1");
    doc.World()->AddChild(solid);
    FacePropertiesBar bar(Textures());
    bar.show();
    doc.SelectFace(&solid->Face(0), solid, SELECT_ADD | SELECT_UPDATE);
    EXPECT_EQ(context.Context().currentTexture, "wall13");
    EXPECT_EQ(bar.TextureBox()->currentIndex(), 0);
    EXPECT_EQ(bar.TextureBox()->currentText(), "wall13");

    doc.SelectFace(&solid->Face(4), solid, SELECT_ADD | SELECT_CLEAR | SELECT_UPDATE);
    EXPECT_EQ(context.Context().currentTexture, "METAL1");
    EXPECT_EQ(Textures().RecentlyUsed().front()->name, "METAL1");
    EXPECT_EQ(bar.TextureBox()->currentText(), "METAL1");

    // Two faces with different textures: the box shows nothing and apply keeps the names.
    doc.SelectFace(&solid->Face(0), solid, SELECT_ADD | SELECT_UPDATE);
    EXPECT_EQ(bar.TextureBox()->currentIndex(), -1);
    EXPECT_EQ(bar.SizeLabel()->text(), ""); // the preview is blank too
    EXPECT_EQ(context.Context().currentTexture, "METAL1");
    bar.Apply();
    EXPECT_STREQ(solid->Face(4).TextureName(), "METAL1");
    EXPECT_STREQ(solid->Face(0).TextureName(), "WALL13");
    CMapDoc::SetActiveMapDoc(nullptr);
}

TEST_F(TexturePanelsTest, ClosingTheFaceBarEndsTextureApplication) {
    CMainFrame frame(*settings);
    frame.resize(1000, 700);
    frame.show();
    QDockWidget* faceDock = frame.DialogBar(CommandId::FacePropertiesBar);
    QDockWidget* textureDock = frame.DialogBar(CommandId::TextureBar);
    ASSERT_NE(faceDock, nullptr);
    ASSERT_NE(textureDock, nullptr);
    EXPECT_EQ(textureDock->windowTitle(), "Textures");
    EXPECT_EQ(faceDock->windowTitle(), "Face Properties");
    EXPECT_TRUE(textureDock->isVisible());
    frame.SetFaceEditingMode(true);
    EXPECT_TRUE(frame.FaceEditingMode());
    EXPECT_TRUE(faceDock->isVisible());
    EXPECT_FALSE(textureDock->isVisible());
    faceDock->close();
    EXPECT_FALSE(frame.FaceEditingMode());
    EXPECT_TRUE(textureDock->isVisible());
}

// The textures bar's button, and a double click in its browser, put the current texture on
// every face of the selected solids (one undo step each); entering texture application drops
// the object selection, so the views show only what the mode edits.
TEST_F(TexturePanelsTest, TheTexturesBarAppliesItsTextureToTheSelectedSolids) {
    CMainFrame frame(*settings);
    frame.resize(1000, 700);
    frame.show();
    CMapDoc doc;
    CMapDoc::SetActiveMapDoc(&doc);
    CMapSolid* solids[2];
    for (int i = 0; i < 2; ++i) {
        solids[i] = new CMapSolid;
        AddBoxPlanes(*solids[i], {i * 100.0f, 0, 0}, {i * 100.0f + 64, 64, 64});
        ASSERT_TRUE(solids[i]->CreateFromPlanes());
        solids[i]->SetTexture("WALL10");
        doc.World()->AddChild(solids[i]);
    }
    auto* bar = frame.findChild<TextureBar*>("TextureBar");
    ASSERT_NE(bar, nullptr);
    QPushButton* apply = bar->ApplyButton();
    ASSERT_NE(apply, nullptr);
    ASSERT_TRUE(bar->SelectByName("wall14"));

    // Nothing selected: nothing changes, and the status bar says why.
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_STRCASEEQ(solids[0]->Face(0).TextureName(), "WALL10");
    EXPECT_EQ(doc.UndoHistory().TrackCount(), 0u);
    EXPECT_NE(frame.PaneText(0).indexOf("select solids"), -1);

    doc.SelectObject(solids[0], SELECT_ADD);
    doc.SelectObject(solids[1], SELECT_ADD | SELECT_UPDATE);
    EXPECT_EQ(frame.PaneText(0), ""); // the note went with the selection change
    QTest::mouseClick(apply, Qt::LeftButton);
    for (CMapSolid* solid : solids) {
        for (int f = 0; f < solid->FaceCount(); ++f) {
            EXPECT_STRCASEEQ(solid->Face(f).TextureName(), "wall14");
        }
    }
    EXPECT_EQ(doc.UndoHistory().TrackCount(), 1u);
    EXPECT_EQ(doc.UndoHistory().CurrentName(), "Apply Texture");
    EXPECT_TRUE(doc.IsModified());

    // A double click in the bar's browser picks and applies.
    WhenModal([](QWidget* dialog) {
        auto* browser = qobject_cast<TextureBrowser*>(dialog);
        ASSERT_NE(browser, nullptr);
        const QRect cell = browser->Window()->CellRectInView(5); // wall12
        QTest::mouseDClick(browser->Window()->viewport(), Qt::LeftButton, {}, cell.center());
    });
    QTest::mouseClick(bar->BrowseButton(), Qt::LeftButton);
    EXPECT_EQ(context.Context().currentTexture, "wall12");
    EXPECT_STRCASEEQ(solids[1]->Face(3).TextureName(), "wall12");
    EXPECT_EQ(doc.UndoHistory().TrackCount(), 2u);
    doc.OnUndo();
    EXPECT_STRCASEEQ(solids[1]->Face(3).TextureName(), "wall14");

    frame.SetFaceEditingMode(true);
    EXPECT_TRUE(doc.SelectedObjects().empty());
    EXPECT_EQ(frame.PaneText(1), "0 faces selected");
    frame.SetFaceEditingMode(false);
    CMapDoc::SetActiveMapDoc(nullptr);
}

// Leaving texture application drops the face selection, so that Delete or Carve, enabled
// again, cannot leave it naming faces of solids taken out of the map.
TEST_F(TexturePanelsTest, LeavingTextureApplicationClearsTheFaceSelection) {
    CMainFrame frame(*settings);
    CMapDoc doc;
    auto* solid = new CMapSolid;
    AddBoxPlanes(*solid, {0, 0, 0}, {64, 64, 64});
    ASSERT_TRUE(solid->CreateFromPlanes());
    doc.World()->AddChild(solid);
    frame.SetFaceEditingMode(true);
    doc.SelectFace(&solid->Face(0), solid, SELECT_ADD | SELECT_UPDATE);
    ASSERT_EQ(doc.SelectedFaces().size(), 1u);
    frame.SetFaceEditingMode(false);
    EXPECT_TRUE(doc.SelectedFaces().empty());
}

// Figures for the browser with 2,000 textures (printed, not asserted): the layout, and
// painting one screen of 64 x 64 thumbnails before and after the scaled pictures are kept.
TEST_F(TexturePanelsTest, BrowserTimesWithTwoThousandTextures) {
    Wad2Writer writer;
    for (int i = 0; i < 2000; ++i) {
        const int w = 16 << (i % 4);
        const int h = 16 << ((i / 4) % 3);
        writer.AddTexture("many" + std::to_string(i), w, h,
                          {std::vector<std::uint8_t>(static_cast<std::size_t>(w * h),
                                                     static_cast<std::uint8_t>(i))});
    }
    Textures().AddWadFromMemory("many.wad", writer.Build());
    Textures().SortAllTextures();
    TextureBrowserWindow grid(Textures());
    grid.resize(1000, 700);
    grid.show();
    QElapsedTimer timer;
    timer.start();
    grid.SetThumbnailSize(64);
    const double layoutMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    QImage target(grid.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    auto paintOnce = [&] {
        QElapsedTimer paint;
        paint.start();
        grid.viewport()->render(&target);
        return static_cast<double>(paint.nsecsElapsed()) / 1e6;
    };
    const double first = paintOnce();
    double kept = 1e9;
    for (int i = 0; i < 5; ++i) {
        kept = std::min(kept, paintOnce());
    }
    EXPECT_GT(grid.Layout().Cells().size(), 2000u);
    std::printf("[ browser  ] 2015 textures: layout %.2f ms, paint one screen %.1f ms first, "
                "%.1f ms with kept pictures\n",
                layoutMs, first, kept);
}

} // namespace
