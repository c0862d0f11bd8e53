#include "ModalDriver.h"

#include "app/DocumentSaving.h"
#include "document/MapDoc.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "panels/EditLibraryDialog.h"
#include "panels/PrefabFactoryDialog.h"
#include "prefabs/Prefab.h"
#include "prefabs/PrefabLibrary.h"
#include "prefabs/PrefabRegistry.h"
#include "session/EditorContext.h"
#include "support/ScriptedPrompts.h"
#include "support/SolidBuilders.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace fs = std::filesystem;

namespace {

class PrefabFactoryDialogTest : public ::testing::Test {
protected:
    ScopedEditorContext context;
    ScriptedPrompts prompts;
    QTemporaryDir directory;
    fs::path root;

    void SetUp() override {
        root = directory.path().toStdString();
        context.Context().SetPrompts(&prompts);
        context.Context().programDirectory = root.string();
        Editor().Prefabs().LoadDefaultLibrary();
    }

    // Answers the "Edit Library" dialog with a name and a description (or notes).
    static void AnswerEditLibrary(const QString& name, const QString& description) {
        WhenModal([name, description](QWidget* shown) {
            auto* dialog = qobject_cast<EditLibraryDialog*>(shown);
            ASSERT_NE(dialog, nullptr);
            dialog->NameField()->setText(name);
            if (dialog->NotesField()) {
                dialog->NotesField()->setPlainText(description);
            } else {
                dialog->DescriptionField()->setText(description);
            }
            QTest::keyClick(dialog->NameField(), Qt::Key_Return);
        });
    }
    static void Click(PrefabFactoryDialog& dialog, const char* button) {
        QPushButton* target = dialog.Button(button);
        ASSERT_NE(target, nullptr) << button;
        QTest::mouseClick(target, Qt::LeftButton);
    }
    // A Quake MAP file holding one 64-unit cube.
    std::string WriteMapFile(const std::string& name) {
        const fs::path path = root / name;
        CMapDoc source;
        auto* cube = new CMapSolid;
        AddBoxPlanes(*cube, {0, 0, 0}, {64, 64, 64});
        cube->CreateFromPlanes();
        cube->CalcBounds();
        source.World()->AddChild(cube);
        EXPECT_TRUE(source.SaveDocument(path.string()));
        return path.string();
    }
};

bool LogHas(const std::string& part) {
    for (const auto& line : Editor().messages.Lines()) {
        if (line.text.find(part) != std::string::npos) {
            return true;
        }
    }
    return false;
}

} // namespace

TEST_F(PrefabFactoryDialogTest, LibrariesAreCreatedRenamedAndDeleted) {
    PrefabFactoryDialog dialog;
    dialog.show();
    ASSERT_EQ(dialog.LibraryList()->count(), 1);
    EXPECT_EQ(dialog.LibraryList()->currentText(), "unreg");

    // A name with a dot is refused with the name message; OK asks again.
    prompts.answers = {Prompts::Answer::Ok};
    WhenModal([](QWidget* shown) {
        auto* first = qobject_cast<EditLibraryDialog*>(shown);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->LibraryList(), nullptr);
        first->NameField()->setText("my.stuff");
        AnswerEditLibrary("My Stuff (2)", "rooms and doors");
        QTest::keyClick(first->NameField(), Qt::Key_Return);
    });
    Click(dialog, "AddLibrary");
    EXPECT_TRUE(prompts.Showed(
        "That's not a valid name - some of the characters aren't\nacceptable. Try using a name "
        "with only A-Z, 0-9, space,\nand these characters: $%`-_@~'!(){}^#&"));
    ASSERT_EQ(dialog.LibraryList()->count(), 2);
    EXPECT_EQ(dialog.LibraryList()->currentText(), "My Stuff (2)");
    EXPECT_EQ(dialog.LibraryDescription()->text(), "rooms and doors");

    AnswerEditLibrary("Castle", "towers");
    Click(dialog, "EditLibrary");
    EXPECT_EQ(dialog.LibraryList()->currentText(), "Castle");
    EXPECT_EQ(dialog.LibraryDescription()->text(), "towers");
    CPrefabLibrary* castle = dialog.Factory().SelectedLibrary();
    ASSERT_NE(castle, nullptr);
    castle->Save();
    const std::string castlePath = castle->Path();
    EXPECT_TRUE(fs::exists(castlePath));
    EXPECT_EQ(fs::path(castlePath).filename(), "Castle.ol");

    prompts.answers = {Prompts::Answer::Yes};
    Click(dialog, "RemoveLibrary");
    EXPECT_TRUE(prompts.Showed("Are you sure you want to delete this library from\nyour hard "
                               "drive?"));
    EXPECT_FALSE(fs::exists(castlePath));
    EXPECT_EQ(dialog.LibraryList()->count(), 1);
    EXPECT_EQ(dialog.LibraryList()->currentText(), "unreg");
}

TEST_F(PrefabFactoryDialogTest, PrefabsAreImportedEditedExportedAndDeleted) {
    PrefabFactoryDialog dialog;
    dialog.show();
    const std::string crate = WriteMapFile("crate.map");
    const std::string script = (root / "door.OS").string();
    std::ofstream(script) << "[Script]\n";
    dialog.chooseImportFiles = [&] {
        return QStringList{QString::fromStdString(crate), QString::fromStdString(script)};
    };
    Click(dialog, "AddObject");
    QListWidget* list = dialog.PrefabList();
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "crate");
    EXPECT_TRUE(LogHas("door.OS: ObjectScript files are not imported"));

    // "Name and Description" from the Edit button's menu.
    list->item(0)->setSelected(true);
    AnswerEditLibrary("Big Crate", "a wooden box");
    dialog.EditMenu()->actions().at(0)->trigger();
    EXPECT_EQ(list->item(0)->text(), "Big Crate");
    EXPECT_EQ(dialog.PrefabNotes()->text(), "a wooden box");

    // A label edited in the list renames the prefab.
    list->item(0)->setText("Crate 3");
    CPrefab* prefab = dialog.Factory().SelectedLibrary()->Prefabs().front().get();
    EXPECT_EQ(prefab->Name(), "Crate 3");

    const std::string exported = (root / "out.map").string();
    prompts.texts = {exported};
    list->item(0)->setSelected(true);
    Click(dialog, "ExportObject");
    ASSERT_TRUE(fs::exists(exported));
    std::ifstream text(exported);
    std::string first;
    std::getline(text, first);
    EXPECT_EQ(first, "{");

    prompts.answers = {Prompts::Answer::Yes};
    list->item(0)->setSelected(true);
    Click(dialog, "RemoveObject");
    EXPECT_TRUE(prompts.Showed("Are you sure you want to delete these items?"));
    EXPECT_EQ(list->count(), 0);
    EXPECT_TRUE(dialog.Factory().SelectedLibrary()->Prefabs().empty());
}

TEST_F(PrefabFactoryDialogTest, APrefabOpenedForEditingSavesBackIntoItsLibrary) {
    CPrefabLibrary* library = Editor().Prefabs().Libraries().front().get();
    {
        PrefabFactoryDialog dialog;
        dialog.chooseImportFiles = [&] {
            return QStringList{QString::fromStdString(WriteMapFile("crate.map"))};
        };
        Click(dialog, "AddObject");
    }
    ASSERT_EQ(library->Prefabs().size(), 1u);
    const std::string path = library->Path();

    auto document = std::make_unique<CMapDoc>();
    PrefabFactoryDialog dialog;
    dialog.show();
    dialog.openDocument = [&](const std::function<bool(CMapDoc&)>& fill) {
        return fill(*document);
    };
    dialog.PrefabList()->item(0)->setSelected(true);
    dialog.EditMenu()->actions().at(1)->trigger();
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_TRUE(document->IsPrefabDocument());
    EXPECT_EQ(document->World()->Children().size(), 1u);
    EXPECT_EQ(document->SaveMenuText(), "Update Prefab\tCtrl+S");

    auto* added = new CMapSolid;
    AddBoxPlanes(*added, {100, 0, 0}, {164, 64, 64});
    added->CreateFromPlanes();
    added->CalcBounds();
    document->World()->AddChild(added);
    document->SetModified();
    bool closeAsked = false;
    document->closeRequested = [&] { closeAsked = true; };
    ASSERT_TRUE(DocumentSaving::Save(*document));
    EXPECT_TRUE(closeAsked);

    // The library file holds the changed prefab.
    PrefabRegistry& registry = Editor().Prefabs();
    registry.DestroyLibrary(library->Id());
    CPrefabLibrary* reloaded = registry.LoadLibrary(path);
    ASSERT_NE(reloaded, nullptr);
    ASSERT_EQ(reloaded->Prefabs().size(), 1u);
    CPrefab& stored = *reloaded->Prefabs().front();
    ASSERT_TRUE(stored.EnsureLoaded());
    EXPECT_EQ(stored.Map()->Children().size(), 2u);
}
