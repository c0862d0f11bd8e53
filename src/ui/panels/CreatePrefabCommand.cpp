#include "panels/CreatePrefabCommand.h"

#include "document/MapDoc.h"
#include "panels/EditLibraryDialog.h"
#include "prefabs/PrefabCommands.h"
#include "prefabs/PrefabLibrary.h"
#include "prefabs/PrefabNames.h"
#include "prefabs/PrefabRegistry.h"
#include "session/EditorContext.h"

CPrefab* CreatePrefabFromSelection(CMapDoc& doc, QWidget* parent) {
    if (doc.SelectedObjects().empty()) {
        return nullptr;
    }
    PrefabRegistry& registry = Editor().Prefabs();
    if (registry.Libraries().empty()) {
        registry.LoadDefaultLibrary();
    }
    QString name;
    QString description;
    for (;;) {
        EditLibraryDialog dialog(EditLibraryDialog::Form::NewPrefab, name, description, parent);
        if (dialog.exec() != QDialog::Accepted) {
            return nullptr;
        }
        name = QString::fromStdString(dialog.Name());
        description = QString::fromStdString(dialog.Description());
        const NameCheck check = CheckPrefabName(dialog.Name());
        if (check == NameCheck::GiveUp) {
            return nullptr;
        }
        if (check == NameCheck::AskAgain) {
            continue;
        }
        CPrefabLibrary* library = registry.FindLibrary(dialog.LibraryId());
        if (!library) {
            return nullptr;
        }
        return CreatePrefab(doc, dialog.Name(), dialog.Description(), *library);
    }
}
