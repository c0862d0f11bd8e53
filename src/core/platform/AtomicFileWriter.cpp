#include "platform/AtomicFileWriter.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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
    std::string pattern =
        (slash == std::string::npos ? std::string() : dir) + "." + base + ".XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    int fd = mkstemp(buffer.data());
    if (fd < 0) {
        SetErrorFromErrno("cannot create a temporary file");
        return false;
    }
    m_tempPath = buffer.data();
    // Keep the target's permissions when it exists; otherwise the usual 0666 & ~umask.
    struct stat st;
    if (stat(targetPath.c_str(), &st) == 0) {
        fchmod(fd, st.st_mode & 07777);
    } else {
        mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
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
    if (std::rename(m_tempPath.c_str(), m_target.c_str()) != 0) {
        SetErrorFromErrno("cannot replace the file");
        unlink(m_tempPath.c_str());
        m_tempPath.clear();
        return false;
    }
    m_tempPath.clear();
    return true;
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
