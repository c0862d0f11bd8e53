#pragma once

#include <string>

// Marks a running Tarno in the autosave folder: a lock file .session-PID.lock held with an
// exclusive lock for the life of the process. The kernel drops the lock when the process
// ends in any way, so a crashed Tarno's autosaves are told apart from those of one that is
// still running (another Tarno started meanwhile must not offer those).
class AutosaveSession {
public:
    explicit AutosaveSession(std::string directory);
    ~AutosaveSession();
    AutosaveSession(const AutosaveSession&) = delete;
    AutosaveSession& operator=(const AutosaveSession&) = delete;

    bool Held() const { return m_fd >= 0; }

    // True when the process pid is this one or a Tarno that holds its session lock.
    static bool IsLive(const std::string& directory, int pid);
    // Deletes the lock files that ended processes left in directory.
    static void RemoveStaleLocks(const std::string& directory);

private:
    std::string m_path;
    int m_fd = -1;
};
