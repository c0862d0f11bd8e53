#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Starts outside programs (the compile tools and the game) with an argument vector, never
// through a shell.
class ProcessRunner {
public:
    struct Result {
        bool started = false;
        std::string error;    // the system's error text when the program did not start
        int exitCode = -1;    // -1 when it did not end normally
        bool stopped = false; // ended because shouldStop asked for it
    };

    // Called with each piece of output as it arrives (standard output and error together).
    using OutputSink = std::function<void(std::string_view chunk)>;
    // Polled while the program runs (about ten times a second); true stops it.
    using StopCheck = std::function<bool()>;

    virtual ~ProcessRunner() = default;

    // Runs program (a path, or a bare name looked up in PATH) with args (without argv[0]) in
    // workingDirectory (empty: the current one), streams its output, waits for it to end.
    virtual Result Run(const std::string& program, const std::vector<std::string>& args,
                       const std::string& workingDirectory, const OutputSink& output,
                       const StopCheck& shouldStop) = 0;

    // Starts program without waiting for it; it runs on after the editor ends.
    virtual Result StartDetached(const std::string& program, const std::vector<std::string>& args,
                                 const std::string& workingDirectory) = 0;
};

// The real runner: posix_spawn, a pipe for standard output and error, poll.
class PosixProcessRunner : public ProcessRunner {
public:
    Result Run(const std::string& program, const std::vector<std::string>& args,
               const std::string& workingDirectory, const OutputSink& output,
               const StopCheck& shouldStop) override;
    Result StartDetached(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingDirectory) override;
};

// Finds an executable: a name containing '/' is taken as it is; otherwise each folder of
// searchDirs, then of the PATH environment variable, is tried. Empty when none is executable.
std::string FindExecutable(const std::string& name, const std::vector<std::string>& searchDirs);
