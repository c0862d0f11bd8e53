#include "platform/AtomicFileWriter.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool CopyFile(const std::string& from, const std::string& to, mode_t mode) {
    const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        return false;
    }
    const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (out < 0) {
        close(in);
        return false;
    }
    char buffer[1 << 16];
    bool ok = true;
    for (;;) {
        const ssize_t got = read(in, buffer, sizeof buffer);
        if (got == 0) {
            break;
        }
        if (got < 0) {
            ok = errno == EINTR;
            if (ok) {
                continue;
            }
            break;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = write(out, buffer + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put <= 0) {
                ok = false;
                break;
            }
            done += put;
        }
        if (!ok) {
            break;
        }
    }
    ok = fsync(out) == 0 && ok;
    ok = close(out) == 0 && ok;
    close(in);
    return ok;
}
// Creates prefix + six random characters with mode 0666, so the kernel applies the umask.
// (Reading the umask means setting it, which would race with other threads writing files.)
int CreateTemporary(const std::string& prefix, std::string& path) {
    static std::atomic<unsigned> counter{0};
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::uint64_t seed =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<std::uint64_t>(getpid()) << 32);
    for (int attempt = 0; attempt < 100; ++attempt) {
        seed = (seed + counter.fetch_add(1) + 1) * 6364136223846793005ull + 1442695040888963407ull;
        char suffix[6];
        std::uint64_t bits = seed;
        for (char& c : suffix) {
            c = kLetters[bits % (sizeof kLetters - 1)];
            bits >>= 6;
        }
        const std::string name = prefix + std::string(suffix, sizeof suffix);
        const int fd = open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            path = name;
            return fd;
        }
        if (errno != EEXIST) {
            return -1;
        }
    }
    return -1;
}
} // namespace

AtomicFileWriter::~AtomicFileWriter() {
    Abort();
}

void AtomicFileWriter::SetErrorFromErrno(const char* what) {
    m_failed = true;
    if (m_error.empty()) {
        m_error = std::string(what) + ": " + std::strerror(errno);
    }
}

bool AtomicFileWriter::Open(const std::string& targetPath) {
    Abort();
    m_target = targetPath;
    m_failed = false;
    m_error.clear();
    std::string::size_type slash = targetPath.rfind('/');
    std::string dir = slash == std::string::npos ? "." : targetPath.substr(0, slash + 1);
    if (dir.empty()) {
        dir = "/";
    }
    std::string base = slash == std::string::npos ? targetPath : targetPath.substr(slash + 1);
    const std::string prefix =
        (slash == std::string::npos ? std::string() : dir) + "." + base + ".";
    int fd = CreateTemporary(prefix, m_tempPath);
    if (fd < 0) {
        SetErrorFromErrno("cannot create a temporary file");
        return false;
    }
    // Keep the target's permissions when it exists; a new file got 0666 less the umask.
    struct stat st;
    if (stat(targetPath.c_str(), &st) == 0) {
        fchmod(fd, st.st_mode & 07777);
    }
    m_file = fdopen(fd, "wb");
    if (!m_file) {
        SetErrorFromErrno("cannot open the temporary file");
        close(fd);
        unlink(m_tempPath.c_str());
        m_tempPath.clear();
        return false;
    }
    return true;
}

bool AtomicFileWriter::Write(const void* data, std::size_t size) {
    if (!m_file || m_failed) {
        return false;
    }
    if (size != 0 && std::fwrite(data, 1, size, m_file) != size) {
        SetErrorFromErrno("write failed");
        return false;
    }
    return true;
}

bool AtomicFileWriter::Commit() {
    if (!m_file) {
        return false;
    }
    if (std::ferror(m_file) && !m_failed) {
        errno = EIO;
        SetErrorFromErrno("write failed");
    }
    if (!m_failed && std::fflush(m_file) != 0) {
        SetErrorFromErrno("write failed");
    }
    if (!m_failed && fsync(fileno(m_file)) != 0 && errno != EINVAL) {
        SetErrorFromErrno("write failed");
    }
    if (std::fclose(m_file) != 0 && !m_failed) {
        SetErrorFromErrno("write failed");
    }
    m_file = nullptr;
    if (m_failed) {
        unlink(m_tempPath.c_str());
        m_tempPath.clear();
        return false;
    }
    KeepBackup();
    if (std::rename(m_tempPath.c_str(), m_target.c_str()) != 0) {
        SetErrorFromErrno("cannot replace the file");
        unlink(m_tempPath.c_str());
        m_tempPath.clear();
        return false;
    }
    m_tempPath.clear();
    return true;
}

// The old target becomes the backup through a temporary name, so an older backup is replaced
// only by a complete one. A hard link costs nothing; file systems without links get a copy.
void AtomicFileWriter::KeepBackup() {
    m_backupError.clear();
    struct stat st;
    if (m_backupPath.empty() || stat(m_target.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return;
    }
    const std::string temp = m_backupPath + ".new";
    unlink(temp.c_str());
    bool made = link(m_target.c_str(), temp.c_str()) == 0;
    if (!made) {
        made = CopyFile(m_target, temp, st.st_mode & 07777);
    }
    if (!made || std::rename(temp.c_str(), m_backupPath.c_str()) != 0) {
        m_backupError =
            std::string("cannot keep the backup ") + m_backupPath + ": " + std::strerror(errno);
        unlink(temp.c_str());
    }
}

void AtomicFileWriter::Abort() {
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_tempPath.empty()) {
        unlink(m_tempPath.c_str());
        m_tempPath.clear();
    }
}
