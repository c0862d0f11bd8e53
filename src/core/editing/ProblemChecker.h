#pragma once

#include <string>
#include <vector>

class CMapClass;
class CMapDoc;
class CMapWorld;

// Problem codes of the map check.
enum ProblemCode {
    PROBLEM_NO_PLAYER_START = 0,
    PROBLEM_MIXED_FACE_CONTENTS = 1,
    PROBLEM_DUPLICATE_PLANES = 2,
    PROBLEM_UNMATCHED_TARGET = 3,
};

// One problem found: the object concerned (none for a missing player start), its code and a
// value (0 for every check there is).
struct Problem {
    CMapClass* object = nullptr;
    int code = 0;
    int value = 0;
};

// The list entry's text and the explanation shown for it.
const char* ProblemShortText(int code);
const char* ProblemDescription(int code);

// Runs the checks in order over the world: player start, mixed face contents, unmatched
// targets, duplicate planes.
std::vector<Problem> CheckForProblems(const CMapWorld& world);

// The "Check map for problems" dialog without its window: the list, selecting an entry and
// going to the error. It changes nothing in the map but the selection.
class ProblemCheck {
public:
    explicit ProblemCheck(CMapDoc& doc) : m_doc(doc) {}

    // Clears the list and runs the checks on the document's map. With nothing found, tells
    // the user "No errors were found." and returns false (the dialog closes at once).
    bool Run();
    const std::vector<Problem>& Problems() const { return m_problems; }

    // Selecting entry index: its object becomes the only selected object (with none, the
    // selection is cleared). Returns the description to show.
    std::string SelectEntry(int index);
    // Whether "&Go to the error" is enabled for the entry: only when it has an object.
    bool CanGoTo(int index) const;
    // "&Go to the error": the Selection Tool, the object alone selected and the 2D views
    // centred on it.
    void GoToError(int index);

private:
    const Problem* Entry(int index) const;

    CMapDoc& m_doc;
    std::vector<Problem> m_problems;
};
