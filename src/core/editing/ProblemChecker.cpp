#include "editing/ProblemChecker.h"

#include "document/CommandSupport.h"
#include "document/DocumentServices.h"
#include "document/MapDoc.h"
#include "gamedata/TextCompare.h"
#include "mapobjects/MapEntity.h"
#include "mapobjects/MapSolid.h"
#include "mapobjects/MapWorld.h"
#include "mapobjects/TreeWalk.h"

#include <cstring>
#include <iterator>
#include <unordered_set>

namespace {

struct ProblemText {
    const char* shortText;
    const char* description;
};

const ProblemText kProblemTexts[] = {
    {"There is no player start.",
     "There is no player start in the map. To add one, select the Entity (axe) tool, drag the "
     "crosshairs to the position you want the player to start at, and press ENTER."},
    {"Mixed face contents",
     "The solid has a mixed face content. That is, some of its faces are \"non-solid\" - water, "
     "sky, sludge, and so on - and some of them are \"solid.\" QBSP symptom: \"Mixed face "
     "contents in leafnode\""},
    {"Solid contains duplicate planes",
     "The solid contains duplicate planes. It needs to be rebuilt."},
    {"Unmatched 'target' field",
     "This object has a 'target' value that isn't matched by a 'targetname' value in another "
     "object."},
};

const ProblemText* TextsOf(int code) {
    if (code < 0 || code >= static_cast<int>(std::size(kProblemTexts))) {
        return nullptr;
    }
    return &kProblemTexts[code];
}

void CheckPlayerStart(const CMapWorld& world, std::vector<Problem>& problems) {
    const bool found = !EnumChildren(
        world,
        [](CMapClass* object) {
            const auto* entity = static_cast<const CMapEntity*>(object);
            return !(entity->IsPointEntity() &&
                     EqualsNoCase(entity->ClassName(), "info_player_start"));
        },
        kTypeMapEntity);
    if (!found) {
        problems.push_back({nullptr, PROBLEM_NO_PLAYER_START, 0});
    }
}

void CheckMixedFaceContents(const CMapWorld& world, std::vector<Problem>& problems) {
    EnumChildren(
        world,
        [&problems](CMapClass* object) {
            const auto* solid = static_cast<const CMapSolid*>(object);
            for (int i = 1; i < solid->FaceCount(); ++i) {
                const bool liquid = solid->Face(i).TextureName()[0] == '*';
                const bool previousLiquid = solid->Face(i - 1).TextureName()[0] == '*';
                if (liquid != previousLiquid) {
                    problems.push_back({object, PROBLEM_MIXED_FACE_CONTENTS, 0});
                    break;
                }
            }
            return true;
        },
        kTypeMapSolid);
}

void CheckTargets(const CMapWorld& world, std::vector<Problem>& problems) {
    std::unordered_set<std::string> targetNames;
    EnumChildren(
        world,
        [&targetNames](CMapClass* object) {
            if (auto name = static_cast<const CMapEntity*>(object)->GetKeyValue("targetname")) {
                targetNames.insert(LowerCaseAscii(name->first));
            }
            return true;
        },
        kTypeMapEntity);
    EnumChildren(
        world,
        [&](CMapClass* object) {
            auto target = static_cast<const CMapEntity*>(object)->GetKeyValue("target");
            if (target && targetNames.count(LowerCaseAscii(target->first)) == 0) {
                problems.push_back({object, PROBLEM_UNMATCHED_TARGET, 0});
            }
            return true;
        },
        kTypeMapEntity);
}

void CheckDuplicatePlanes(const CMapWorld& world, std::vector<Problem>& problems) {
    EnumChildren(
        world,
        [&problems](CMapClass* object) {
            const auto& faces = static_cast<const CMapSolid*>(object)->Faces();
            for (std::size_t i = 0; i < faces.size(); ++i) {
                for (std::size_t j = i + 1; j < faces.size(); ++j) {
                    // The plane definitions compare as stored: byte for byte.
                    if (std::memcmp(faces[i].PlanePoints().data(), faces[j].PlanePoints().data(),
                                    sizeof(Vector3d) * 3) == 0) {
                        problems.push_back({object, PROBLEM_DUPLICATE_PLANES, 0});
                        return true;
                    }
                }
            }
            return true;
        },
        kTypeMapSolid);
}

} // namespace

const char* ProblemShortText(int code) {
    const ProblemText* texts = TextsOf(code);
    return texts ? texts->shortText : "";
}

const char* ProblemDescription(int code) {
    const ProblemText* texts = TextsOf(code);
    return texts ? texts->description : "";
}

std::vector<Problem> CheckForProblems(const CMapWorld& world) {
    std::vector<Problem> problems;
    CheckPlayerStart(world, problems);
    CheckMixedFaceContents(world, problems);
    CheckTargets(world, problems);
    CheckDuplicatePlanes(world, problems);
    return problems;
}

bool ProblemCheck::Run() {
    m_problems.clear();
    if (const CMapWorld* world = m_doc.World()) {
        m_problems = CheckForProblems(*world);
    }
    if (m_problems.empty()) {
        m_doc.Services().GetPrompts().Message("No errors were found.");
        return false;
    }
    return true;
}

const Problem* ProblemCheck::Entry(int index) const {
    if (index < 0 || index >= static_cast<int>(m_problems.size())) {
        return nullptr;
    }
    return &m_problems[static_cast<std::size_t>(index)];
}

std::string ProblemCheck::SelectEntry(int index) {
    const Problem* problem = Entry(index);
    if (!problem) {
        return {};
    }
    if (problem->object) {
        m_doc.SelectObject(problem->object, SELECT_CLEAR | SELECT_ADD | SELECT_UPDATE);
    } else {
        m_doc.SelectObject(nullptr, SELECT_CLEAR | SELECT_UPDATE);
    }
    return ProblemDescription(problem->code);
}

bool ProblemCheck::CanGoTo(int index) const {
    const Problem* problem = Entry(index);
    return problem && problem->object;
}

void ProblemCheck::GoToError(int index) {
    const Problem* problem = Entry(index);
    if (!problem || !problem->object) {
        return;
    }
    SwitchToSelectionTool();
    m_doc.ToolHandlesNotify(nullptr, 3);
    m_doc.SelectObject(problem->object, SELECT_CLEAR | SELECT_ADD);
    m_doc.CenterViews(2, 0.0f, problem->object->Bounds().Center());
}
