#include "document/RunMap.h"

#include "common/SettingsStore.h"
#include "document/DocumentServices.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {
const char* const kSection = "Run Map";

bool EndsWithIgnoreCase(const std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        char a = text[text.size() - suffix.size() + i];
        if (std::tolower(static_cast<unsigned char>(a)) != suffix[i]) {
            return false;
        }
    }
    return true;
}

std::string FileName(const std::string& path) {
    std::string::size_type slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// Copies from to to, overwriting; the C library's error text on failure.
std::optional<std::string> CopyFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        return ec.message();
    }
    return std::nullopt;
}
} // namespace

RunMapSettings RunMapSettings::Read(SettingsStore& store) {
    RunMapSettings s;
    auto mode = [&](const char* name) {
        int v = store.GetInt(kSection, name, 0);
        return v >= 0 && v <= 2 ? v : 0;
    };
    s.qbsp = mode("QBSP");
    s.light = mode("Light");
    s.vis = mode("Vis");
    s.noQuake = store.GetInt(kSection, "No Quake", 0) != 0;
    s.quakeParms = store.GetString(kSection, "Quake Parms", "").substr(0, kMaxQuakeParms);
    s.toolsDirectory = store.GetString(kSection, "Tools Directory", "");
    s.game = store.GetString(kSection, "Game", "");
    return s;
}

void RunMapSettings::Write(SettingsStore& store) const {
    store.WriteInt(kSection, "QBSP", qbsp);
    store.WriteInt(kSection, "Light", light);
    store.WriteInt(kSection, "Vis", vis);
    store.WriteInt(kSection, "No Quake", noQuake ? 1 : 0);
    store.WriteString(kSection, "Quake Parms", quakeParms.substr(0, kMaxQuakeParms));
    store.WriteString(kSection, "Tools Directory", toolsDirectory);
    store.WriteString(kSection, "Game", game);
}

std::optional<RunMapPaths> RunMapPaths::FromDocumentPath(const std::string& documentPath) {
    RunMapPaths paths;
    std::string stem;
    if (EndsWithIgnoreCase(documentPath, ".rmf")) {
        paths.isRmf = true;
        stem = documentPath.substr(0, documentPath.size() - 4);
    } else if (EndsWithIgnoreCase(documentPath, ".map")) {
        stem = documentPath.substr(0, documentPath.size() - 4);
    } else {
        // Any other name: the MAP file goes beside it, its extension replaced.
        std::string name = FileName(documentPath);
        if (name.empty()) {
            return std::nullopt;
        }
        std::string::size_type dot = name.rfind('.');
        stem = dot == std::string::npos || dot == 0
                   ? documentPath
                   : documentPath.substr(0, documentPath.size() - (name.size() - dot));
    }
    paths.mapPath = stem + ".map";
    paths.bspPath = stem + ".bsp";
    paths.ptsPath = stem + ".pts";
    paths.mapName = FileName(stem);
    if (paths.mapName.empty()) {
        return std::nullopt;
    }
    return paths;
}

namespace {
bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec)) {
        return fs::equivalent(a, b, ec);
    }
    return fs::path(a).lexically_normal() == fs::path(b).lexically_normal();
}
} // namespace

std::optional<RunMapPaths> RunMapPaths::ForCompile(const std::string& documentPath) {
    std::optional<RunMapPaths> paths = FromDocumentPath(documentPath);
    if (!paths) {
        return std::nullopt;
    }
    const std::string stem = paths->mapPath.substr(0, paths->mapPath.size() - 4);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate =
            attempt == 0 ? stem : stem + "_compile" + (attempt == 1 ? "" : std::to_string(attempt));
        const std::string map = candidate + ".map";
        std::error_code ec;
        const bool taken =
            SameFile(map, documentPath) || (fs::exists(map, ec) && !RunMap::IsCompileFile(map));
        if (!taken) {
            paths->mapPath = map;
            paths->bspPath = candidate + ".bsp";
            paths->ptsPath = candidate + ".pts";
            return paths;
        }
    }
    return std::nullopt;
}

bool RunMap::IsCompileFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line)) {
        return false;
    }
    return line.rfind(kCompileHeader, 0) == 0;
}

RunMap::RunMap(RunMapHost& host, ProcessRunner& runner, ProcessOutput& output)
    : m_host(host), m_runner(runner), m_output(output) {}

std::string RunMap::CommandLineText(const std::string& program,
                                    const std::vector<std::string>& args) {
    std::string text = program;
    std::string joined;
    for (const std::string& a : args) {
        bool option = !a.empty() && (a[0] == '-' || a[0] == '+');
        joined += option ? a : "\"" + a + "\"";
        joined += ' ';
    }
    return text + " " + joined;
}

std::vector<std::string> RunMap::SplitParameters(const std::string& text) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : text) {
        if (c == ' ') {
            if (!current.empty()) {
                parts.push_back(current);
                current.clear();
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        parts.push_back(current);
    }
    return parts;
}

std::string RunMap::FindTool(const std::string& name, const std::string& toolsDirectory) {
    std::vector<std::string> dirs;
    if (!toolsDirectory.empty()) {
        dirs.push_back(toolsDirectory);
    }
    if (!DocumentServices::Installed().programDirectory.empty()) {
        dirs.push_back(DocumentServices::Installed().programDirectory);
    }
    return FindExecutable(name, dirs);
}

std::string RunMap::ToolPlaces(const std::string& toolsDirectory) {
    std::string places = toolsDirectory.empty() ? "" : toolsDirectory + ", ";
    if (!DocumentServices::Installed().programDirectory.empty()) {
        places += DocumentServices::Installed().programDirectory + ", ";
    }
    return places + "PATH";
}

std::string RunMap::FindGame(const RunMapSettings& settings, const std::string& quakeDirectory) {
    std::vector<std::string> dirs;
    if (!quakeDirectory.empty()) {
        dirs.push_back(quakeDirectory);
    }
    if (!settings.toolsDirectory.empty()) {
        dirs.push_back(settings.toolsDirectory);
    }
    if (!settings.game.empty()) {
        return FindExecutable(settings.game, dirs);
    }
    // No game named: a "quake" in the Quake folder, else the engines Debian packages (in
    // /usr/games, which not every PATH holds).
    if (!quakeDirectory.empty()) {
        std::string own = FindExecutable(quakeDirectory + "/quake", {});
        if (!own.empty()) {
            return own;
        }
    }
    for (const char* engine : {"quakespasm", "darkplaces", "quake"}) {
        std::string found = FindExecutable(engine, {"/usr/games"});
        if (found.empty()) {
            found = FindExecutable(engine, {});
        }
        if (!found.empty()) {
            return found;
        }
    }
    return {};
}

bool RunMap::RunStage(const char* title, const std::string& tool,
                      const std::vector<std::string>& args, const std::string& workingDirectory,
                      bool first) {
    m_output.Print("%s* Executing %s...\n\n", first ? "" : "\n", title);
    const std::string program = FindTool(tool, m_settings.toolsDirectory);
    if (program.empty()) {
        m_output.Print("* %s was not found (looked in %s) - the run stops.\r\n", tool.c_str(),
                       ToolPlaces(m_settings.toolsDirectory).c_str());
        m_parts.push_back(tool + " not found");
        return false;
    }
    std::string pending;
    auto sink = [&](std::string_view chunk) {
        pending.append(chunk);
        // Whole lines at once, and progress lines up to their carriage return; an
        // unfinished line waits for the next piece.
        std::string::size_type last = pending.find_last_of("\r\n");
        if (last != std::string::npos) {
            m_output.Append(pending.substr(0, last + 1));
            pending.erase(0, last + 1);
        }
        m_host.KeepAlive();
    };
    auto stop = [&] {
        m_host.KeepAlive();
        return m_host.StopRequested();
    };
    const auto started = std::chrono::steady_clock::now();
    ProcessRunner::Result result = m_runner.Run(program, args, workingDirectory, sink, stop);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!pending.empty()) {
        m_output.Append(pending);
    }
    if (!result.started) {
        m_host.ShowProcessWindow();
        m_output.Print("* Could not execute the command:\r\n   %s\r\n",
                       CommandLineText(program, args).c_str());
        m_output.Print("* Linux gave the error message:\r\n   \"%s\"\r\n", result.error.c_str());
        m_parts.push_back(tool + " could not be started");
        return false;
    }
    if (result.stopped) {
        m_stopped = true;
        m_output.Print("\r\n* Stopped by the user.\r\n");
        m_parts.push_back(tool + " stopped by the user");
        return false;
    }
    if (result.exitCode != 0) {
        char status[40];
        if (result.exitCode < 0) {
            std::snprintf(status, sizeof status, "it ended abnormally");
        } else {
            std::snprintf(status, sizeof status, "exit status %d", result.exitCode);
        }
        m_output.Print("\r\n* %s failed (%s) - the run stops.\r\n", tool.c_str(), status);
        m_parts.push_back(tool + " failed (" + status + ")");
        return false;
    }
    char part[64];
    std::snprintf(part, sizeof part, "%s %.1f s", tool.c_str(), seconds);
    m_parts.push_back(part);
    return true;
}

RunMap::Outcome RunMap::Finish(Outcome outcome) {
    std::string parts;
    for (const std::string& part : m_parts) {
        parts += (parts.empty() ? "" : ", ") + part;
    }
    m_summary = m_paths.mapName + ": " + parts + m_tail;
    m_output.Print("\r\n* %s\r\n", m_summary.c_str());
    const bool good = outcome == Outcome::Finished;
    DocumentServices::Installed().messages.AddText(good ? MessageLog::Normal : MessageLog::Error,
                                                   m_summary);
    return outcome;
}

RunMap::Outcome RunMap::Run() {
    Options& options = DocumentServices::Installed().options;
    if (options.textureFiles.empty()) {
        DocumentServices::Installed().GetPrompts().Message(
            "There are no texture files defined yet. Add some\ntexture "
            "files before you run the map.");
        m_host.ShowOptions();
        return Outcome::NoTextures;
    }
    SettingsStore& store = DocumentServices::Installed().Settings();
    m_settings = RunMapSettings::Read(store);
    m_settings.visibleOnly = false;
    m_stopped = false;
    m_parts.clear();
    m_tail.clear();
    m_summary.clear();

    if (m_host.DocumentPath().empty()) {
        m_host.SaveDocument();
        if (m_host.DocumentPath().empty()) {
            return Outcome::NotSaved;
        }
    }
    std::optional<RunMapPaths> paths = RunMapPaths::ForCompile(m_host.DocumentPath());
    if (!paths) {
        return Outcome::NotSaved;
    }
    if (paths->isRmf && m_host.DocumentModified() && !m_host.SaveDocument()) {
        return Outcome::NotSaved;
    }
    m_paths = *paths;

    RunMapSettings initial = m_settings;
    if (!FileExists(m_paths.bspPath)) {
        initial.qbsp = RunMapSettings::QbspNormal;
    }
    std::optional<RunMapSettings> chosen = m_host.ShowRunMapDialog(initial, m_paths);
    if (!chosen) {
        return Outcome::Cancelled;
    }
    m_settings = *chosen;
    m_settings.quakeParms = m_settings.quakeParms.substr(0, RunMapSettings::kMaxQuakeParms);
    m_settings.Write(store);

    if (!FileExists(m_paths.bspPath) && m_settings.qbsp == RunMapSettings::QbspNo) {
        m_settings.qbsp = RunMapSettings::QbspNormal;
    }
    if (m_settings.qbsp != RunMapSettings::QbspNo &&
        !m_host.ExportMap(m_paths.mapPath, m_settings.visibleOnly, kCompileHeader)) {
        return Outcome::ExportFailed;
    }

    m_host.ShowProcessWindow();
    m_output.Clear();
    const std::string folder = fs::path(m_paths.mapPath).parent_path().string();
    auto skipped = [&](const char* tool) {
        const bool missing = FindTool(tool, m_settings.toolsDirectory).empty();
        m_parts.push_back(std::string(tool) + (missing ? " skipped (not found)" : " skipped"));
    };

    bool qbspRan = false;
    if (m_settings.qbsp != RunMapSettings::QbspNo) {
        std::vector<std::string> args;
        if (m_settings.qbsp == RunMapSettings::QbspEntitiesOnly) {
            args.push_back("-onlyents");
        } else {
            // What is there afterwards is this run's: no earlier BSP passes for a new one.
            std::error_code ec;
            fs::remove(m_paths.bspPath, ec);
        }
        std::error_code ec;
        fs::remove(m_paths.ptsPath, ec);
        args.push_back(m_paths.mapPath);
        if (!RunStage("QBSP", "qbsp", args, folder, true)) {
            if (m_stopped) {
                return Finish(Outcome::Stopped);
            }
            const bool failed = m_parts.back().find("failed") != std::string::npos;
            if (!failed || !FileExists(m_paths.ptsPath)) {
                return Finish(failed ? Outcome::ToolFailed : Outcome::QbspNotStarted);
            }
        }
        qbspRan = true;
        if (FileExists(m_paths.ptsPath)) {
            m_output.Print("\r\n* The map leaks: qbsp wrote the pointfile %s.\r\n",
                           m_paths.ptsPath.c_str());
            m_host.LoadPointfile(m_paths.ptsPath);
            m_parts.back() = "qbsp found a leak";
            m_tail = "; see the pointfile";
            return Finish(Outcome::Leak);
        }
    } else {
        skipped("qbsp");
    }
    if (!FileExists(m_paths.bspPath)) {
        m_output.Print("\r\n\r\n* QBSP did not build the BSP file - can't continue.");
        m_parts.push_back("no BSP built");
        return Finish(Outcome::NoBsp);
    }
    if (m_settings.light != RunMapSettings::LightNo) {
        std::vector<std::string> args;
        if (m_settings.light == RunMapSettings::LightExtra) {
            args.push_back("-extra");
        }
        args.push_back(m_paths.bspPath);
        if (!RunStage("LIGHT", "light", args, folder, false)) {
            return Finish(m_stopped ? Outcome::Stopped : Outcome::ToolFailed);
        }
    } else {
        skipped("light");
    }
    if (m_settings.vis != RunMapSettings::VisNo) {
        std::vector<std::string> args;
        if (m_settings.vis == RunMapSettings::VisFast) {
            args.push_back("-fast");
        }
        args.push_back(m_paths.bspPath);
        if (!RunStage("VIS", "vis", args, folder, false)) {
            return Finish(m_stopped ? Outcome::Stopped : Outcome::ToolFailed);
        }
    } else {
        skipped("vis");
    }
    if (qbspRan) {
        m_tail = "; no leak";
    }

    std::string quakeDir = options.quakeDirectory;
    while (quakeDir.size() > 1 && quakeDir.back() == '/') {
        quakeDir.pop_back();
    }
    if (quakeDir.empty()) {
        m_output.Print("\r\n* No Quake folder is set (Tools, Options): the BSP stays at %s.\r\n",
                       m_paths.bspPath.c_str());
        m_tail += "; not copied: no Quake folder set";
        return Finish(Outcome::CopyFailed);
    }
    const std::string mapsDir = quakeDir + "/id1/maps";
    std::error_code ec;
    fs::create_directories(mapsDir, ec);
    const std::string target = mapsDir + "/" + m_paths.mapName + ".bsp";
    if (auto error = CopyFile(m_paths.bspPath, target)) {
        m_output.Print("\r\nI couldn't copy %s to\r\n%s  (%s)", m_paths.bspPath.c_str(),
                       target.c_str(), error->c_str());
        m_tail += "; the BSP could not be copied";
        return Finish(Outcome::CopyFailed);
    }

    if (!m_settings.noQuake) {
        const std::string game = FindGame(m_settings, quakeDir);
        std::vector<std::string> args{"-basedir", quakeDir, "+map", m_paths.mapName};
        for (std::string& p : SplitParameters(m_settings.quakeParms)) {
            args.push_back(std::move(p));
        }
        if (game.empty()) {
            m_output.Print("\r\n* No game program was found: name one in Run Map, or install "
                           "quakespasm or darkplaces.\r\n");
            m_tail += "; no game found";
            return Finish(Outcome::GameNotStarted);
        }
        ProcessRunner::Result started = m_runner.StartDetached(game, args, quakeDir);
        if (!started.started) {
            m_output.Print("* Could not execute the command:\r\n   %s\r\n",
                           CommandLineText(game, args).c_str());
            m_output.Print("* Linux gave the error message:\r\n   \"%s\"\r\n",
                           started.error.c_str());
            m_tail += "; the game could not be started";
            return Finish(Outcome::GameNotStarted);
        }
        m_output.Print("\r\n* Started %s\r\n", CommandLineText(game, args).c_str());
        m_tail += "; " + FileName(game) + " started";
    }
    return Finish(Outcome::Finished);
}
