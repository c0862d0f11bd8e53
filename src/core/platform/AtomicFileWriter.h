#pragma once

#include <cstdio>
#include <string>

// Writes a file so that the old content is replaced only when the new one was written in
// full: the data goes to a temporary file in the target's folder, which is renamed over the
// target on Commit(). Without Commit() (or when writing failed) the temporary file is removed
// and the target is left as it was.
class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file; false (with Error()) when that is not possible.
    bool Open(const std::string& targetPath);
    std::FILE* File() const { return m_file; }
    bool Write(const void* data, std::size_t size);
    bool Write(const std::string& text) { return Write(text.data(), text.size()); }
    // Keep the target's previous content at backupPath when Commit() replaces it. The backup
    // is made only after the new content was written in full, so a failed write leaves both
    // the target and an older backup as they were.
    void SetBackupPath(const std::string& backupPath) { m_backupPath = backupPath; }
    // Why the backup could not be made (the new content was committed all the same).
    const std::string& BackupError() const { return m_backupError; }
    // Flushes, syncs and renames over the target. False (with Error()) if any write failed.
    bool Commit();
    // Drops the temporary file.
    void Abort();

    const std::string& Error() const { return m_error; }
    const std::string& TemporaryPath() const { return m_tempPath; }

private:
    void SetErrorFromErrno(const char* what);
    void KeepBackup();

    std::string m_target;
    std::string m_tempPath;
    std::FILE* m_file = nullptr;
    bool m_failed = false;
    std::string m_error;
    std::string m_backupPath;
    std::string m_backupError;
};
