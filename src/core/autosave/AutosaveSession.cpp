#include "autosave/AutosaveSession.h"

#include "platform/FileSystemOps.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace {
std::string LockPath(const std::string& directory, int pid) {
    return directory + "/.session-" + std::to_string(pid) + ".lock";
}
} // namespace

AutosaveSession::AutosaveSession(std::string directory)
    : m_path(LockPath(directory, static_cast<int>(getpid()))) {
    if (!MakeDirectories(directory)) {
        return;
    }
    m_fd = open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd >= 0 && flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        close(m_fd);
        m_fd = -1;
    }
}

AutosaveSession::~AutosaveSession() {
    if (m_fd >= 0) {
        unlink(m_path.c_str());
        close(m_fd);
    }
}

bool AutosaveSession::IsLive(const std::string& directory, int pid) {
    if (pid == static_cast<int>(getpid())) {
        return true;
    }
    const std::string path = LockPath(directory, pid);
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool locked = flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);
    return locked;
}

void AutosaveSession::RemoveStaleLocks(const std::string& directory) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(directory.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.rfind(".session-", 0) == 0 && name.size() > 5 &&
                name.compare(name.size() - 5, 5, ".lock") == 0) {
                names.push_back(name);
            }
        }
        closedir(dir);
    }
    for (const std::string& name : names) {
        const std::string path = directory + "/" + name;
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        // Unlinked only while this process holds the lock, so a live owner is never robbed.
        if (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0) {
            unlink(path.c_str());
        }
        if (fd >= 0) {
            close(fd);
        }
    }
}
