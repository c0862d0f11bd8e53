#include "prefabs/PrefabFactory.h"
#include "prefabs/PrefabDocument.h"

#include "document/DocumentServices.h"
#include "document/MapDoc.h"
#include "platform/FileSystemOps.h"
#include "prefabs/Prefab.h"
#include "prefabs/PrefabFiles.h"
#include "prefabs/PrefabLibrary.h"
#include "prefabs/PrefabNames.h"
#include "prefabs/PrefabRegistry.h"

#include <memory>

namespace {
Prompts& Ask() {
    return DocumentServices::Installed().GetPrompts();
}

std::string LibraryPathFor(const std::string& name) {
    return DocumentServices::Installed().Prefabs().PrefabDirectory() + "/" + name +
           CPrefabLibrary::kExtension;
}

// The name check of the dialog as a result: Done for a valid name.
PrefabFactory::Result CheckName(const std::string& name) {
    switch (CheckPrefabName(name)) {
    case NameCheck::Valid:
        return PrefabFactory::Result::Done;
    case NameCheck::AskAgain:
        return PrefabFactory::Result::AskAgain;
    case NameCheck::GiveUp:
        break;
    }
    return PrefabFactory::Result::Cancelled;
}
} // namespace

PrefabFactory::PrefabFactory() {
    const auto& libraries = DocumentServices::Installed().Prefabs().Libraries();
    if (!libraries.empty()) {
        m_selected = libraries.front()->Id();
    }
}

CPrefabLibrary* PrefabFactory::SelectedLibrary() const {
    return DocumentServices::Installed().Prefabs().FindLibrary(m_selected);
}

void PrefabFactory::SaveIfChanged() {
    if (m_changed) {
        if (CPrefabLibrary* library = SelectedLibrary()) {
            library->Save();
        }
    }
    m_changed = false;
}

void PrefabFactory::SelectLibrary(std::uint32_t libraryId) {
    if (libraryId == m_selected) {
        return;
    }
    SaveIfChanged();
    m_selected = libraryId;
}

bool PrefabFactory::NameIsFree(const std::string& name, const CPrefabLibrary* renamed) {
    const std::string path = LibraryPathFor(name);
    if (renamed && renamed->Path() == path) {
        return true;
    }
    if (PathExists(path) || DocumentServices::Installed().Prefabs().FindLibraryByPath(path)) {
        Ask().Message("A file named " + name + CPrefabLibrary::kExtension +
                          " already exists in the prefab folder.",
                      Prompts::Icon::Warning);
        return false;
    }
    return true;
}

PrefabFactory::Result PrefabFactory::AddLibrary(const std::string& name,
                                                const std::string& description) {
    const std::string cut = name.substr(0, CPrefabLibrary::kMaxName);
    const Result check = CheckName(cut);
    if (check != Result::Done) {
        return check;
    }
    if (!NameIsFree(cut, nullptr)) {
        return Result::AskAgain;
    }
    SaveIfChanged();
    auto library = std::make_unique<CPrefabLibrary>();
    library->SetName(cut);
    library->SetDescription(description);
    library->SetPath(LibraryPathFor(cut));
    m_selected = DocumentServices::Installed().Prefabs().AddLibrary(std::move(library))->Id();
    m_changed = true;
    return Result::Done;
}

PrefabFactory::Result PrefabFactory::EditLibrary(const std::string& name,
                                                 const std::string& description) {
    CPrefabLibrary* library = SelectedLibrary();
    if (!library) {
        return Result::Cancelled;
    }
    const std::string cut = name.substr(0, CPrefabLibrary::kMaxName);
    const Result check = CheckName(cut);
    if (check != Result::Done) {
        return check;
    }
    if (!NameIsFree(cut, library) || !library->Rename(cut)) {
        return Result::AskAgain;
    }
    library->SetDescription(description);
    m_changed = true;
    return Result::Done;
}

bool PrefabFactory::RemoveLibrary() {
    CPrefabLibrary* library = SelectedLibrary();
    if (!library || Ask().YesNo(kRemoveLibraryQuestion) != Prompts::Answer::Yes) {
        return false;
    }
    std::string error;
    if (!library->Path().empty() && PathExists(library->Path()) &&
        !RemoveFile(library->Path(), error)) {
        Ask().Message("The library could not be deleted: " + error, Prompts::Icon::Warning);
        return false;
    }
    PrefabRegistry& registry = DocumentServices::Installed().Prefabs();
    registry.DestroyLibrary(library->Id());
    m_changed = false;
    m_selected = registry.Libraries().empty() ? 0 : registry.Libraries().front()->Id();
    return true;
}

bool PrefabFactory::RemovePrefabs(const std::vector<std::uint32_t>& prefabIds) {
    CPrefabLibrary* library = SelectedLibrary();
    if (!library || prefabIds.empty() ||
        Ask().YesNo(kRemovePrefabsQuestion) != Prompts::Answer::Yes) {
        return false;
    }
    for (std::uint32_t id : prefabIds) {
        library->RemovePrefab(id);
    }
    library->Save();
    m_changed = false;
    return true;
}

PrefabFactory::Result PrefabFactory::EditPrefab(CPrefab& prefab, const std::string& name,
                                                const std::string& notes) {
    const Result check = CheckName(name.substr(0, CPrefab::kMaxName));
    if (check != Result::Done) {
        return check;
    }
    prefab.SetName(name);
    prefab.SetNotes(notes);
    m_changed = true;
    return Result::Done;
}

void PrefabFactory::RenamePrefab(CPrefab& prefab, const std::string& label) {
    prefab.SetName(label);
    m_changed = true;
}

int PrefabFactory::ImportFiles(const std::vector<std::string>& paths) {
    CPrefabLibrary* library = SelectedLibrary();
    if (!library) {
        return 0;
    }
    const int added = ImportPrefabFiles(*library, paths);
    // The import wrote the library with everything in it.
    m_changed = false;
    return added;
}

bool PrefabFactory::OpenPrefabData(CPrefab& prefab, CMapDoc& document) {
    SaveIfChanged();
    return OpenPrefabDocument(document, prefab);
}

void PrefabFactory::Close() {
    SaveIfChanged();
}
