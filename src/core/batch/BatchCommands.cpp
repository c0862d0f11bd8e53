#include "batch/BatchCommands.h"

#include "autosave/AutosaveRecovery.h"
#include "autosave/AutosaveStore.h"

#include "common/ProgramDirectory.h"
#include "common/StartupArguments.h"
#include "document/DocumentServices.h"
#include "document/FileReport.h"
#include "document/MapFiles.h"
#include "editing/MapCheckCommand.h"
#include "mapobjects/MapInformation.h"
#include "mapobjects/MapWorld.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Messages of the core go to the error stream, as lines; questions get "No".
class BatchPrompts : public ConsolePrompts {
public:
    explicit BatchPrompts(std::FILE* err) : m_err(err) {}
    void Message(const std::string& text, Icon, const std::string&) override { Print(text); }
    Answer YesNo(const std::string& text, Icon, const std::string&) override {
        Print(text);
        return Answer::No;
    }

private:
    void Print(std::string text) {
        for (char& c : text) {
            c = c == '\n' ? ' ' : c;
        }
        std::fprintf(m_err, "Tarno: %s\n", text.c_str());
    }
    std::FILE* m_err;
};

std::string LowerExtension(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    std::string extension = path.substr(dot + 1);
    for (char& c : extension) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return extension;
}

class BatchRun {
public:
    BatchRun(std::FILE* out, std::FILE* err) : m_out(out), m_err(err), m_prompts(err) {
        m_previousPrompts = &DocumentServices::Installed().GetPrompts();
        DocumentServices::Installed().SetPrompts(&m_prompts);
    }
    ~BatchRun() { DocumentServices::Installed().SetPrompts(m_previousPrompts); }
    BatchRun(const BatchRun&) = delete;
    BatchRun& operator=(const BatchRun&) = delete;

    // Reads path into world by its extension; false (with a message) when that failed or
    // nothing of a map could be read.
    bool Load(CMapWorld& world, const std::string& path) {
        m_dropped = 0;
        m_wad.clear();
        m_sourceFolder = std::filesystem::path(path).parent_path().string();
        if (IsRmfPath(path)) {
            if (ReadRmfFile(world, path) != 0) {
                return Fail(path, "could not be read");
            }
            return true;
        }
        const FileResult result = ReadMapFileResult(world, path, nullptr);
        TellFileResult(result, path);
        const MapReadReport report = MapReadReportOf(result, path);
        m_dropped = report.droppedSolids;
        m_wad = report.wad;
        for (const ErrorRecord& error : report.errors) {
            std::fprintf(m_err, "Tarno: %s\n", error.message.c_str());
        }
        if (!result.Ok()) {
            return Fail(path, "could not be read");
        }
        if (report.parseErrors && world.Children().empty()) {
            return Fail(path, "holds no map that could be read");
        }
        return true;
    }

    bool Save(const CMapWorld& world, const std::string& path) {
        const std::string extension = LowerExtension(path);
        int result = 0;
        if (extension == "rmf") {
            result = WriteRmfFile(world, path);
        } else {
            // A MAP keeps the texture WAD list its source named: the world holds it.
            result = WriteMapFile(world, path, false, false, m_sourceFolder);
        }
        return result == 0 || Fail(path, "could not be written");
    }

    int Dropped() const { return m_dropped; }
    std::FILE* Out() const { return m_out; }

    bool Fail(const std::string& path, const char* what) {
        std::fprintf(m_err, "Tarno: %s %s.\n", path.c_str(), what);
        return false;
    }

private:
    std::FILE* m_out;
    std::FILE* m_err;
    BatchPrompts m_prompts;
    Prompts* m_previousPrompts = nullptr;
    int m_dropped = 0;
    std::string m_wad;
    std::string m_sourceFolder;
};

int RunInfo(const std::string& path, std::FILE* out, std::FILE* err) {
    BatchRun run(out, err);
    auto world = std::make_unique<CMapWorld>();
    if (!run.Load(*world, path)) {
        return kExitFailure;
    }
    const MapInformation info = CountMapInformation(*world);
    std::fprintf(out, "Solids: %d\nFaces: %d\nPointEntities: %d\nSolidEntities: %d\n", info.solids,
                 info.faces, info.pointEntities, info.solidEntities);
    std::fprintf(out, "Dropped solids: %d\n", run.Dropped());
    return 0;
}

int RunConvert(const std::string& input, const std::string& output, std::FILE* out,
               std::FILE* err) {
    const std::string extension = LowerExtension(output);
    if (extension != "map" && extension != "rmf") {
        std::fprintf(err, "Tarno: %s: the output must end in .map or .rmf.\n", output.c_str());
        return kExitUsage;
    }
    BatchRun run(out, err);
    auto world = std::make_unique<CMapWorld>();
    if (!run.Load(*world, input) || !run.Save(*world, output)) {
        return kExitFailure;
    }
    if (run.Dropped() != 0) {
        std::fprintf(err, "Tarno: %d solids of %s were not loaded and are missing in %s.\n",
                     run.Dropped(), input.c_str(), output.c_str());
    }
    return 0;
}

// The autosaves a start of Tarno would offer for recovery, one line each.
int RunRecoverList(std::FILE* out) {
    const AutosaveStore store(AutosaveStore::DefaultDirectory());
    for (const AutosaveEntry& entry : store.Recoverable()) {
        std::fprintf(out, "%s\n", RecoverListLine(entry).c_str());
    }
    return 0;
}

void PrintUsage(std::FILE* err) {
    std::fprintf(err, "usage: Tarno [file] [nologo]\n"
                      "       Tarno --help | --version\n"
                      "       Tarno --info FILE\n"
                      "       Tarno --convert IN OUT   (IN and OUT: .map or .rmf)\n"
                      "       Tarno --check FILE\n"
                      "       Tarno --recover-list\n");
}
} // namespace

std::string TarnoProgramDirectory(const std::string& executableDirectory) {
    return ChooseProgramDirectory(executableDirectory, BRICKHAVEN_INSTALLED_DATA_DIR);
}

std::optional<int> RunBatchCommand(int argc, char** argv, std::FILE* out, std::FILE* err) {
    // --help and --version win over everything else on the line.
    const StartupArguments arguments =
        ParseStartupArguments(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
    if (arguments.showHelp) {
        std::fputs(CommandLineHelp(TarnoProgramDirectory(RunningExecutableDirectory())).c_str(),
                   out);
        return 0;
    }
    if (arguments.showVersion) {
        std::fputs(VersionLine(BRICKHAVEN_VERSION_TEXT).c_str(), out);
        return 0;
    }
    for (int i = 1; i < argc; ++i) {
        const int remaining = argc - i - 1;
        if (std::strcmp(argv[i], "--info") == 0) {
            if (remaining < 1) {
                PrintUsage(err);
                return kExitUsage;
            }
            return RunInfo(argv[i + 1], out, err);
        }
        if (std::strcmp(argv[i], "--convert") == 0) {
            if (remaining < 2) {
                PrintUsage(err);
                return kExitUsage;
            }
            return RunConvert(argv[i + 1], argv[i + 2], out, err);
        }
        if (std::strcmp(argv[i], "--recover-list") == 0) {
            return RunRecoverList(out);
        }
        if (std::strcmp(argv[i], "--check") == 0) {
            std::ostringstream checkOut;
            std::ostringstream checkErr;
            const int code =
                RunMapCheck(remaining >= 1 ? argv[i + 1] : nullptr, checkOut, checkErr);
            std::fputs(checkOut.str().c_str(), out);
            std::fputs(checkErr.str().c_str(), err);
            return code;
        }
    }
    return std::nullopt;
}
