#include "editing/MapCheckCommand.h"

#include "document/MapFiles.h"
#include "editing/ProblemChecker.h"
#include "mapobjects/MapClass.h"
#include "mapobjects/MapWorld.h"

#include <ostream>
#include <string>

int RunMapCheck(const char* path, std::ostream& out, std::ostream& err) {
    if (!path || !*path) {
        err << "Tarno: --check needs the path of a map file.\n";
        return MAP_CHECK_UNREADABLE;
    }
    CMapWorld world;
    const std::string file = path;
    const int result = IsRmfPath(file) ? ReadRmfFile(world, file) : ReadMapFile(world, file);
    if (result < 0) {
        err << "Tarno: cannot read the map file " << file << "\n";
        return MAP_CHECK_UNREADABLE;
    }
    const std::vector<Problem> problems = CheckForProblems(world);
    for (const Problem& problem : problems) {
        out << ProblemShortText(problem.code);
        if (problem.object) {
            out << ": " << problem.object->GetDescription();
        }
        out << '\n';
    }
    out.flush();
    return problems.empty() ? MAP_CHECK_CLEAN : MAP_CHECK_PROBLEMS;
}
