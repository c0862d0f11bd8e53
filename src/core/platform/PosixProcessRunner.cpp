#include "platform/ProcessRunner.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::vector<char*> MakeArgv(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    return argv;
}

bool IsExecutableFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// Resolves the program for spawning; an unknown name is returned unchanged so that the spawn
// fails with the system's own "No such file or directory".
std::string ResolveProgram(const std::string& program) {
    std::string found = FindExecutable(program, {});
    return found.empty() ? program : found;
}

void StopProcessGroup(pid_t pid) {
    kill(-pid, SIGTERM);
    for (int i = 0; i < 20; ++i) {
        int status = 0;
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) {
            kill(-pid, SIGKILL); // helpers the tool started
            return;
        }
        usleep(50 * 1000);
    }
    kill(-pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

std::string FindExecutable(const std::string& name, const std::vector<std::string>& searchDirs) {
    if (name.empty()) {
        return {};
    }
    if (name.find('/') != std::string::npos) {
        return IsExecutableFile(name) ? name : std::string();
    }
    std::vector<std::string> dirs = searchDirs;
    if (const char* path = std::getenv("PATH")) {
        std::string all = path;
        std::string::size_type start = 0;
        while (start <= all.size()) {
            std::string::size_type end = all.find(':', start);
            if (end == std::string::npos) {
                end = all.size();
            }
            dirs.push_back(end == start ? "." : all.substr(start, end - start));
            start = end + 1;
        }
    }
    for (const std::string& dir : dirs) {
        if (dir.empty()) {
            continue;
        }
        std::string candidate = dir + (dir.back() == '/' ? "" : "/") + name;
        if (IsExecutableFile(candidate)) {
            return candidate;
        }
    }
    return {};
}

ProcessRunner::Result PosixProcessRunner::Run(const std::string& program,
                                              const std::vector<std::string>& args,
                                              const std::string& workingDirectory,
                                              const OutputSink& output,
                                              const StopCheck& shouldStop) {
    Result result;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        result.error = std::strerror(errno);
        return result;
    }
    std::string resolved = ResolveProgram(program);
    std::vector<char*> argv = MakeArgv(resolved, args);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    if (!workingDirectory.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
    }
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    // Its own process group, so stopping the tool also stops what it started.
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);

    pid_t pid = 0;
    int rc = posix_spawn(&pid, resolved.c_str(), &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        result.error = std::strerror(rc);
        return result;
    }
    result.started = true;

    char buffer[4096];
    int status = 0;
    bool exited = false;
    auto drain = [&](int timeoutMs) {
        // Reads what is waiting; false once every writer has closed the pipe.
        pollfd pfd{fds[0], POLLIN, 0};
        int ready = poll(&pfd, 1, timeoutMs);
        if (ready < 0) {
            return errno == EINTR;
        }
        if (ready == 0) {
            return true;
        }
        ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n > 0) {
            if (output) {
                output(std::string_view(buffer, static_cast<std::size_t>(n)));
            }
            return true;
        }
        return n < 0 && (errno == EINTR || errno == EAGAIN);
    };
    bool open = true;
    while (open && !exited) {
        if (shouldStop && shouldStop()) {
            result.stopped = true;
            StopProcessGroup(pid);
            exited = true;
            break;
        }
        open = drain(100);
        if (waitpid(pid, &status, WNOHANG) == pid) {
            exited = true;
        }
    }
    if (!result.stopped) {
        // The tool ended (or closed its output): collect what is still in the pipe without
        // waiting on programs it may have left running with the pipe open.
        fcntl(fds[0], F_SETFL, fcntl(fds[0], F_GETFL) | O_NONBLOCK);
        while (open && drain(0)) {
            pollfd pfd{fds[0], POLLIN, 0};
            if (poll(&pfd, 1, 0) <= 0) {
                break;
            }
        }
        if (!exited) {
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }
    }
    close(fds[0]);

    if (!result.stopped && WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    }
    return result;
}

ProcessRunner::Result PosixProcessRunner::StartDetached(const std::string& program,
                                                        const std::vector<std::string>& args,
                                                        const std::string& workingDirectory) {
    Result result;
    std::string resolved = ResolveProgram(program);
    std::vector<char*> argv = MakeArgv(resolved, args);
    // The child reports a failed exec through this pipe (closed on a successful exec).
    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0) {
        result.error = std::strerror(errno);
        return result;
    }
    pid_t child = fork();
    if (child < 0) {
        result.error = std::strerror(errno);
        close(errorPipe[0]);
        close(errorPipe[1]);
        return result;
    }
    if (child == 0) {
        // Intermediate process: a new session, then the grandchild runs the program, so the
        // game is not the editor's child and leaves no zombie behind.
        setsid();
        pid_t grandchild = fork();
        if (grandchild != 0) {
            _exit(grandchild < 0 ? 1 : 0);
        }
        int devnull = open("/dev/null", O_RDWR);
        if (devnull >= 0) {
            dup2(devnull, STDIN_FILENO);
        }
        if (!workingDirectory.empty() && chdir(workingDirectory.c_str()) != 0) {
            int err = errno;
            ssize_t ignored = write(errorPipe[1], &err, sizeof err);
            (void)ignored;
            _exit(127);
        }
        execv(resolved.c_str(), argv.data());
        int err = errno;
        ssize_t ignored = write(errorPipe[1], &err, sizeof err);
        (void)ignored;
        _exit(127);
    }
    close(errorPipe[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int err = 0;
    ssize_t n;
    while ((n = read(errorPipe[0], &err, sizeof err)) < 0 && errno == EINTR) {
    }
    close(errorPipe[0]);
    if (n == static_cast<ssize_t>(sizeof err)) {
        result.error = std::strerror(err);
        return result;
    }
    result.started = true;
    return result;
}
