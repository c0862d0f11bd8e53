#include "panels/OptionsSheet.h"
#include "common/SettingsStore.h"
#include "gamedata/Options.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

namespace {

class OptionsSheetTest : public ::testing::Test {
protected:
    ScopedEditorContext scoped;
    ScriptedPrompts prompts;
    Options options;
    int texturesLoaded = 0;
    float brightnessApplied = 0.0f;
    int viewsUpdated = 0;

    void SetUp() override {
        scoped.Context().SetPrompts(&prompts);
        options.textureFiles = {"base.wad", "extra.wad"};
        options.brightness = 1.0f;
        options.autosaveInterval = 300;
        options.keepBackup = true;
        options.reloadTextures = [this] { ++texturesLoaded; };
        options.applyBrightness = [this](float value) { brightnessApplied = value; };
        options.updateViews = [this] { ++viewsUpdated; };
    }

    static void PressOk(OptionsSheet& sheet) {
        auto* buttons = sheet.findChild<QDialogButtonBox*>("OptionButtons");
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    }
    static QStringList Rows(QListWidget* list) {
        QStringList rows;
        for (int i = 0; i < list->count(); ++i) {
            rows << list->item(i)->text();
        }
        return rows;
    }
};

TEST_F(OptionsSheetTest, ThreePagesInOrderUnderTheDesignedCaption) {
    OptionsSheet sheet(options);
    EXPECT_EQ(sheet.windowTitle(), "Configure Brickhaven");
    ASSERT_EQ(sheet.Tabs()->count(), 3);
    EXPECT_EQ(sheet.Tabs()->tabText(0), "General");
    EXPECT_EQ(sheet.Tabs()->tabText(1), "2D views");
    EXPECT_EQ(sheet.Tabs()->tabText(2), "3D views");
    auto* undo = sheet.findChild<QSpinBox*>("UndoLevels");
    EXPECT_EQ(undo->minimum(), 5);
    EXPECT_EQ(undo->maximum(), 999);
    EXPECT_EQ(sheet.findChild<QSlider*>("BrightnessSlider")->value(), 10);
    EXPECT_EQ(sheet.findChild<QSpinBox*>("AutosaveMinutes")->value(), 5);
    EXPECT_FALSE(sheet.findChild<QCheckBox*>("GroupCarve")->isVisibleTo(&sheet));
}

TEST_F(OptionsSheetTest, BrightnessOfSevenTenthsIsStoredAsSeven) {
    MemorySettingsStore store;
    options.Initialize(store);
    texturesLoaded = 0;
    OptionsSheet sheet(options);
    sheet.show();
    auto* slider = sheet.findChild<QSlider*>("BrightnessSlider");
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Home);
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(slider, Qt::Key_Right);
    }
    ASSERT_EQ(slider->value(), 7);
    PressOk(sheet);
    EXPECT_NEAR(options.brightness, 0.7f, 1e-6);
    EXPECT_NEAR(brightnessApplied, 0.7f, 1e-6);
    EXPECT_EQ(texturesLoaded, 1);
    options.Save();
    EXPECT_EQ(store.GetInt("General", "Brightness", 0), 7);
}

TEST_F(OptionsSheetTest, RemovingAWadShowsAQuickNote) {
    OptionsSheet sheet(options);
    sheet.show();
    auto* list = sheet.findChild<QListWidget*>("WadList");
    ASSERT_EQ(Rows(list), (QStringList{"base.wad", "extra.wad"}));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    QTest::mouseClick(sheet.findChild<QPushButton*>("RemoveWadButton"), Qt::LeftButton);
    EXPECT_EQ(Rows(list), QStringList{"extra.wad"});
    EXPECT_TRUE(prompts.shown.empty());
    PressOk(sheet);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "A Quick Note");
    EXPECT_EQ(prompts.shown[0].text, OptionsSheet::kQuickNote);
    EXPECT_EQ(options.textureFiles, std::vector<std::string>{"extra.wad"});
}

TEST_F(OptionsSheetTest, AddKeepsTheCaseOfTheChosenPath) {
    OptionsSheet sheet(options);
    sheet.show();
    prompts.texts.push_back("/data/Quake/ID1/Textures.WAD");
    QTest::mouseClick(sheet.findChild<QPushButton*>("AddWadButton"), Qt::LeftButton);
    prompts.texts.push_back(std::nullopt); // cancelled
    QTest::mouseClick(sheet.findChild<QPushButton*>("AddWadButton"), Qt::LeftButton);
    PressOk(sheet);
    EXPECT_EQ(options.textureFiles,
              (std::vector<std::string>{"base.wad", "extra.wad", "/data/Quake/ID1/Textures.WAD"}));
    EXPECT_EQ(prompts.shown.front().kind, "open");
    EXPECT_FALSE(prompts.Showed(OptionsSheet::kQuickNote));
}

TEST_F(OptionsSheetTest, FoldersUndoAutosaveAndViewOptionsAreStoredOnOk) {
    OptionsSheet sheet(options);
    QStringList titles;
    sheet.chooseFolder = [&titles](const QString& title, const QString&) {
        titles << title;
        return QString("/home/me/Quake");
    };
    sheet.show();
    QTest::mouseClick(sheet.findChild<QPushButton*>("QuakeDirectoryBrowse"), Qt::LeftButton);
    EXPECT_EQ(titles, QStringList{"Select the directory where Quake is located."});
    auto* maps = sheet.findChild<QLineEdit*>("MapDirectory");
    maps->setText("/home/me/maps");
    auto* undo = sheet.findChild<QSpinBox*>("UndoLevels");
    undo->setValue(2);
    EXPECT_EQ(undo->value(), 5);
    undo->setValue(120);
    sheet.findChild<QSpinBox*>("AutosaveMinutes")->setValue(0);
    QTest::mouseClick(sheet.findChild<QCheckBox*>("KeepBackup"), Qt::LeftButton);
    sheet.Tabs()->setCurrentIndex(1);
    QTest::mouseClick(sheet.findChild<QCheckBox*>("Crosshairs"), Qt::LeftButton);
    auto* grid = sheet.findChild<QComboBox*>("DefaultGrid");
    grid->setEditText("128");
    sheet.Tabs()->setCurrentIndex(2);
    auto* reverse = sheet.findChild<QCheckBox*>("ReverseY");
    reverse->setFocus();
    QTest::keyClick(reverse, Qt::Key_Space);
    PressOk(sheet);

    EXPECT_EQ(options.quakeDirectory, "/home/me/Quake");
    EXPECT_EQ(options.mapDirectory, "/home/me/maps");
    EXPECT_EQ(options.undoLevels, 120);
    EXPECT_EQ(options.autosaveInterval, 0);
    EXPECT_FALSE(options.keepBackup);
    EXPECT_TRUE(options.crosshairs);
    EXPECT_EQ(options.defaultGrid, 128);
    EXPECT_FALSE(options.reverseY);
    EXPECT_EQ(viewsUpdated, 1);
}

TEST_F(OptionsSheetTest, CancelChangesNothingAndABadGridKeepsTheOldOne) {
    {
        OptionsSheet sheet(options);
        sheet.findChild<QSpinBox*>("UndoLevels")->setValue(7);
        sheet.reject();
        EXPECT_EQ(options.undoLevels, 50);
        EXPECT_EQ(texturesLoaded, 0);
    }
    OptionsSheet sheet(options);
    sheet.findChild<QComboBox*>("DefaultGrid")->setEditText("huge");
    sheet.findChild<QSpinBox*>("AutosaveMinutes")->setValue(10);
    sheet.accept();
    EXPECT_EQ(options.defaultGrid, 64);
    EXPECT_EQ(options.autosaveInterval, 600);
}

} // namespace
