#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CMapDoc;
class CPrefab;
class CPrefabLibrary;

// What the Prefab Factory dialog does to the loaded libraries, without the dialog: the
// selected library and its changed flag, and the actions of the dialog's buttons. The dialog
// shows the lists and passes in what the user typed or picked.
class PrefabFactory {
public:
    // Outcome of an action that took a name from the "Edit Library" dialog.
    enum class Result { Done, AskAgain, Cancelled };

    // Selects the first loaded library (none when there is none).
    PrefabFactory();

    CPrefabLibrary* SelectedLibrary() const;
    // Saves the selected library first when it was changed.
    void SelectLibrary(std::uint32_t libraryId);
    bool Changed() const { return m_changed; }
    void SetChanged() { m_changed = true; }

    // "Add Library": a new library of that name and description whose file will be the
    // prefab folder plus name + ".ol"; it is selected and marked changed. An invalid name shows
    // the name message (OK: ask again, Cancel: give up); a name whose file exists already (or
    // a loaded library has) is refused with a message, and asked again.
    Result AddLibrary(const std::string& name, const std::string& description);
    // "Edit" of the library: the same checks; renames the file and takes the description.
    Result EditLibrary(const std::string& name, const std::string& description);
    // "Remove" of the library: after "Yes" the file is deleted and the library with its
    // prefabs destroyed; the first remaining library is selected.
    bool RemoveLibrary();

    // "Remove" of prefabs: one question for all; "Yes" destroys them and saves the library.
    bool RemovePrefabs(const std::vector<std::uint32_t>& prefabIds);
    // "Name and Description" of a prefab: the name check, then both are taken.
    Result EditPrefab(CPrefab& prefab, const std::string& name, const std::string& notes);
    // A label edited in the list renames the prefab.
    void RenamePrefab(CPrefab& prefab, const std::string& label);
    // "Add object": imports the files into the selected library (which is saved).
    int ImportFiles(const std::vector<std::string>& paths);
    // "Prefab Data": saves a changed library and opens the prefab in document (a new, empty
    // document); the dialog then closes. False when the prefab's map cannot be loaded.
    bool OpenPrefabData(CPrefab& prefab, CMapDoc& document);
    // Closing the dialog, by the close box or by the "Close" button: a changed library is
    // saved either way, so no edit is lost.
    void Close();

private:
    void SaveIfChanged();
    // An invalid name or one that would take over an existing file: the message, and false.
    bool NameIsFree(const std::string& name, const CPrefabLibrary* renamed);

    std::uint32_t m_selected = 0;
    bool m_changed = false;
};

inline constexpr const char* kRemoveLibraryQuestion =
    "Are you sure you want to delete this library from\nyour hard drive?";
inline constexpr const char* kRemovePrefabsQuestion =
    "Are you sure you want to delete these items?";
