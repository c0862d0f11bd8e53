#include "autosave/AutosaveRecovery.h"
#include "ViewTestSupport.h"
#include "app/AutosaveController.h"
#include "app/ChildFrame.h"
#include "app/DocumentSaving.h"
#include "app/EditorStartup.h"
#include "app/MainFrame.h"
#include "document/MapDoc.h"
#include "document/MapFiles.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"

#include <QApplication>
#include <QFile>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

// The recovery question at start-up, answered with the mouse, and the removal of autosaves
// when the user closes a map.
class AutosaveRecoveryTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    QTemporaryDir directory;
    std::string mapPath;
    std::string autosaveDirectory;
    QString question;
    QString listed;

    void SetUp() override {
        context.Context().SetPrompts(&prompts);
        context.Context().programDirectory = BRICKHAVEN_BIN_DIR;
        mapPath = directory.filePath("level.rmf").toStdString();
        autosaveDirectory = directory.filePath("autosave").toStdString();
    }

    static void AddBoxes(CMapWorld& world, int count) {
        for (int i = 0; i < count; ++i) {
            auto* solid = new CMapSolid;
            const float x = static_cast<float>(i) * 100;
            AddBoxPlanes(*solid, {x, 0, 0}, {x + 64, 64, 64});
            ASSERT_TRUE(solid->CreateFromPlanes());
            solid->CalcBounds();
            world.AddChild(solid);
        }
    }

    // The map file holds one box; the autosave a crashed run left, written later, three.
    void LeaveCrashedAutosave() {
        CMapWorld saved;
        AddBoxes(saved, 1);
        ASSERT_EQ(WriteRmfFile(saved, mapPath), 0);
        std::filesystem::last_write_time(mapPath, std::filesystem::file_time_type::clock::now() -
                                                      std::chrono::minutes(5));
        CMapWorld work;
        AddBoxes(work, 3);
        std::string data;
        ASSERT_EQ(WriteRmfData(work, data), 0);
        AutosaveStore store(autosaveDirectory);
        std::string error;
        const std::string key = AutosaveStore::KeyForMap(mapPath);
        ASSERT_TRUE(store.Write(key, mapPath, data, error)) << error;
        QFile info(QString::fromStdString(autosaveDirectory + "/" + key + ".info"));
        ASSERT_TRUE(info.open(QIODevice::WriteOnly | QIODevice::Truncate));
        info.write(("pid=2147480000\npath=" + mapPath).c_str());
    }

    // Starts the editor (with the map to open, if any) and answers the recovery question with
    // the button named answer.
    std::unique_ptr<EditorStartup> StartAndAnswer(const char* answer, const QString& map = {}) {
        QStringList arguments{"Tarno", "nologo"};
        if (!map.isEmpty()) {
            arguments << map;
        }
        auto startup = std::make_unique<EditorStartup>(
            arguments, directory.filePath("Brickhaven.ini"), &prompts);
        EXPECT_TRUE(startup->Start());
        QObject::connect(startup->Autosave(), &AutosaveController::recoveryQuestionShown,
                         [this, answer](QMessageBox* box) {
                             question = box->text();
                             listed = box->informativeText();
                             auto* button = box->findChild<QPushButton*>(answer);
                             ASSERT_NE(button, nullptr);
                             QTest::mouseClick(button, Qt::LeftButton);
                         });
        return startup;
    }

    std::size_t AutosaveCount() const {
        return AutosaveStore(autosaveDirectory).Files(AutosaveStore::KeyForMap(mapPath)).size();
    }
};

TEST_F(AutosaveRecoveryTest, RecoverOpensTheAutosaveAsAModifiedMapOfItsOriginalPath) {
    LeaveCrashedAutosave();
    auto startup = StartAndAnswer("Recover");
    CMainFrame& frame = *startup->MainFrame();
    ASSERT_TRUE(WaitFor([&] { return frame.ChildFrames().size() == 1; }));
    EXPECT_EQ(question, "Tarno was not closed properly. Recover these maps?");
    EXPECT_TRUE(listed.startsWith(QString::fromStdString(mapPath) + " (autosaved "))
        << listed.toStdString();
    CMapDoc& document = frame.ChildFrames()[0]->Document();
    EXPECT_EQ(document.Path(), mapPath);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(document.World()->Children().size(), 3u);
    // This run holds the autosaves now; another start would not offer them.
    EXPECT_TRUE(AutosaveStore(autosaveDirectory).Recoverable().empty());

    // Save writes to the original path; closing the map then removes its autosaves.
    ASSERT_TRUE(DocumentSaving::Save(document));
    CMapWorld reread;
    ASSERT_EQ(ReadRmfFile(reread, mapPath), 0);
    EXPECT_EQ(reread.Children().size(), 3u);
    EXPECT_TRUE(std::filesystem::exists(mapPath + ".bak"));
    frame.ChildFrames()[0]->parentWidget()->close();
    startup->Autosave()->Manager().WaitIdle();
    EXPECT_EQ(AutosaveCount(), 0u);
}

// The map named on the command line is the one the autosave belongs to: the recovered map
// takes the place of the unchanged copy instead of opening the same file in a second window.
TEST_F(AutosaveRecoveryTest, RecoveringTheMapOpenedAtStartReplacesItsUnchangedWindow) {
    LeaveCrashedAutosave();
    auto startup = StartAndAnswer("Recover", QString::fromStdString(mapPath));
    CMainFrame& frame = *startup->MainFrame();
    ASSERT_TRUE(WaitFor([&] { return !question.isEmpty(); }));
    // The window of the copy opened at start closes.
    WaitFor([&] { return frame.ChildFrames().size() == 1; }, 1000);
    ASSERT_EQ(frame.ChildFrames().size(), 1);
    CMapDoc& document = frame.ChildFrames()[0]->Document();
    EXPECT_EQ(document.Path(), mapPath);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(document.World()->Children().size(), 3u);
    // The recovered map keeps its autosaves until it is saved or closed.
    startup->Autosave()->Manager().WaitIdle();
    EXPECT_EQ(AutosaveCount(), 1u);
}

TEST_F(AutosaveRecoveryTest, LaterKeepsTheAutosavesAndDiscardDeletesThem) {
    LeaveCrashedAutosave();
    {
        auto startup = StartAndAnswer("Later");
        ASSERT_TRUE(WaitFor([&] { return !question.isEmpty(); }));
        QApplication::processEvents();
        EXPECT_TRUE(startup->MainFrame()->ChildFrames().isEmpty());
    }
    EXPECT_EQ(AutosaveCount(), 1u);
    question.clear();
    {
        auto startup = StartAndAnswer("Discard");
        ASSERT_TRUE(WaitFor([&] { return !question.isEmpty(); }));
        QApplication::processEvents();
        EXPECT_TRUE(startup->MainFrame()->ChildFrames().isEmpty());
    }
    EXPECT_EQ(AutosaveCount(), 0u);
    EXPECT_TRUE(AutosaveStore(autosaveDirectory).List().empty());
}

TEST_F(AutosaveRecoveryTest, ClosingAModifiedMapWithoutSavingRemovesItsAutosaves) {
    CMapWorld saved;
    AddBoxes(saved, 1);
    ASSERT_EQ(WriteRmfFile(saved, mapPath), 0);
    auto startup = StartAndAnswer("Later");
    CMainFrame& frame = *startup->MainFrame();
    CChildFrame* child = frame.OpenMapFile(QString::fromStdString(mapPath));
    ASSERT_NE(child, nullptr);
    CMapDoc& document = child->Document();
    AddBoxes(*document.World(), 1);
    document.SetModified();
    AutosaveManager& manager = startup->Autosave()->Manager();
    manager.AutosaveNow(document);
    manager.WaitIdle();
    EXPECT_EQ(AutosaveCount(), 1u);
    // A close the user cancels keeps them.
    prompts.answers.push_back(Prompts::Answer::Cancel);
    child->parentWidget()->close();
    manager.WaitIdle();
    EXPECT_EQ(AutosaveCount(), 1u);
    prompts.answers.push_back(Prompts::Answer::No);
    child->parentWidget()->close();
    manager.WaitIdle();
    EXPECT_EQ(AutosaveCount(), 0u);
    EXPECT_TRUE(question.isEmpty()); // nothing was left to recover at this start
}

} // namespace
