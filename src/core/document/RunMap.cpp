#include "document/RunMap.h"

#include "common/EditorContext.h"
#include "common/SettingsStore.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
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
    s.game = store.GetString(kSection, "Game", "quake");
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
    return paths;
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

std::string RunMap::FindTool(const std::string& name) const {
    std::vector<std::string> dirs;
    if (!m_settings.toolsDirectory.empty()) {
        dirs.push_back(m_settings.toolsDirectory);
    }
    std::string found = FindExecutable(name, dirs);
    return found.empty() ? name : found;
}

std::string RunMap::FindGame(const std::string& quakeDirectory) const {
    std::vector<std::string> dirs{quakeDirectory};
    if (!m_settings.toolsDirectory.empty()) {
        dirs.push_back(m_settings.toolsDirectory);
    }
    std::string found = FindExecutable(m_settings.game, dirs);
    if (!found.empty()) {
        return found;
    }
    return m_settings.game.find('/') != std::string::npos ? m_settings.game
                                                          : quakeDirectory + "/" + m_settings.game;
}

int RunMap::RunTool(const std::string& program, const std::vector<std::string>& args) {
    std::string pending;
    auto sink = [&](std::string_view chunk) {
        pending.append(chunk);
        // Whole lines at once; an unfinished line waits for the next piece.
        std::string::size_type lastFeed = pending.rfind('\n');
        if (lastFeed != std::string::npos) {
            m_output.Append(pending.substr(0, lastFeed + 1));
            pending.erase(0, lastFeed + 1);
        }
        m_host.KeepAlive();
    };
    auto stop = [&] {
        m_host.KeepAlive();
        return m_host.StopRequested();
    };
    ProcessRunner::Result result = m_runner.Run(FindTool(program), args, "", sink, stop);
    if (!pending.empty()) {
        m_output.Append(pending);
    }
    if (!result.started) {
        m_host.ShowProcessWindow();
        m_output.Print("* Could not execute the command:\r\n   %s\r\n",
                       CommandLineText(program, args).c_str());
        m_output.Print("* Linux gave the error message:\r\n   \"%s\"\r\n", result.error.c_str());
        return -1;
    }
    if (result.stopped) {
        m_stopped = true;
        m_output.Print("\r\n* Stopped by the user.\r\n");
    }
    return 0;
}

RunMap::Outcome RunMap::Run() {
    Options& options = Editor().options;
    if (options.textureFiles.empty()) {
        Editor().GetPrompts().Message("There are no texture files defined yet. Add some\ntexture "
                                      "files before you run the map.");
        m_host.ShowOptions();
        return Outcome::NoTextures;
    }
    SettingsStore& store = Editor().Settings();
    m_settings = RunMapSettings::Read(store);
    m_settings.visibleOnly = false;
    m_stopped = false;

    if (m_host.DocumentPath().empty()) {
        m_host.SaveDocument();
        if (m_host.DocumentPath().empty()) {
            return Outcome::NotSaved;
        }
    }
    std::optional<RunMapPaths> paths = RunMapPaths::FromDocumentPath(m_host.DocumentPath());
    if (!paths) {
        return Outcome::NotSaved;
    }
    if (paths->isRmf && m_host.DocumentModified() && !m_host.SaveDocument()) {
        return Outcome::NotSaved;
    }

    RunMapSettings initial = m_settings;
    if (!FileExists(paths->bspPath)) {
        initial.qbsp = RunMapSettings::QbspNormal;
    }
    std::optional<RunMapSettings> chosen = m_host.ShowRunMapDialog(initial);
    if (!chosen) {
        return Outcome::Cancelled;
    }
    m_settings = *chosen;
    m_settings.quakeParms = m_settings.quakeParms.substr(0, RunMapSettings::kMaxQuakeParms);
    m_settings.Write(store);

    if (!FileExists(paths->bspPath) && m_settings.qbsp == RunMapSettings::QbspNo) {
        m_settings.qbsp = RunMapSettings::QbspNormal;
    }
    if (m_settings.qbsp != RunMapSettings::QbspNo &&
        !m_host.ExportMap(paths->mapPath, m_settings.visibleOnly)) {
        return Outcome::ExportFailed;
    }

    m_host.ShowProcessWindow();
    m_output.Clear();

    if (m_settings.qbsp != RunMapSettings::QbspNo) {
        m_output.Print("* Executing QBSP...\n\n");
        std::vector<std::string> args;
        if (m_settings.qbsp == RunMapSettings::QbspEntitiesOnly) {
            args.push_back("-onlyents");
        }
        args.push_back(paths->mapPath);
        if (RunTool("qbsp", args) != 0) {
            return Outcome::QbspNotStarted;
        }
        if (m_stopped) {
            return Outcome::Stopped;
        }
    }
    if (!FileExists(paths->bspPath)) {
        m_output.Print("\r\n\r\n* QBSP did not build the BSP file - can't continue.");
        return Outcome::NoBsp;
    }
    if (m_settings.light != RunMapSettings::LightNo) {
        m_output.Print("\n* Executing LIGHT...\n\n");
        std::vector<std::string> args;
        if (m_settings.light == RunMapSettings::LightExtra) {
            args.push_back("-extra");
        }
        args.push_back(paths->bspPath);
        RunTool("light", args);
        if (m_stopped) {
            return Outcome::Stopped;
        }
    }
    if (m_settings.vis != RunMapSettings::VisNo) {
        m_output.Print("\n* Executing VIS...\n\n");
        std::vector<std::string> args;
        if (m_settings.vis == RunMapSettings::VisFast) {
            args.push_back("-fast");
        }
        args.push_back(paths->bspPath);
        RunTool("vis", args);
        if (m_stopped) {
            return Outcome::Stopped;
        }
    }

    std::string quakeDir = options.quakeDirectory;
    if (quakeDir.size() > 1 && quakeDir.back() == '/') {
        quakeDir.pop_back();
    }
    const std::string mapsDir = quakeDir + "/id1/maps";
    std::error_code ec;
    fs::create_directories(mapsDir, ec);
    const std::string bspName = FileName(paths->bspPath);
    const std::string target = mapsDir + "/" + bspName;
    if (auto error = CopyFile(paths->bspPath, target)) {
        m_output.Print("\r\nI couldn't copy %s to\r\n%s  (%s)", paths->bspPath.c_str(),
                       target.c_str(), error->c_str());
        return Outcome::CopyFailed;
    }
    const std::string ptsPath = paths->bspPath.substr(0, paths->bspPath.size() - 4) + ".pts";
    if (FileExists(ptsPath)) {
        CopyFile(ptsPath, quakeDir + "/" + FileName(ptsPath));
    }

    std::string mapName = bspName.substr(0, bspName.rfind('.'));
    if (!m_settings.noQuake) {
        std::vector<std::string> args{"+map", "\"" + mapName + "\""};
        for (std::string& p : SplitParameters(m_settings.quakeParms)) {
            args.push_back(std::move(p));
        }
        ProcessRunner::Result started = m_runner.StartDetached(FindGame(quakeDir), args, quakeDir);
        if (!started.started) {
            m_output.Print("* Could not execute the command:\r\n   %s\r\n",
                           CommandLineText(m_settings.game, args).c_str());
            m_output.Print("* Linux gave the error message:\r\n   \"%s\"\r\n",
                           started.error.c_str());
            return Outcome::GameNotStarted;
        }
    }
    return Outcome::Finished;
}
