#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The whole content of a regular file, read in one go. A large file is read into memory the
// system may back with large pages: filling many megabytes of fresh small pages costs far
// more than reading the file. That memory is kept for the next large file once the text is
// released (marked free, so the system may take it back), so that reading a map again does
// not fault in fresh memory either.
class FileText {
public:
    FileText() = default;
    ~FileText();
    FileText(const FileText&) = delete;
    FileText& operator=(const FileText&) = delete;

    // Reads the file at path; a file that grows meanwhile is read to its end. False, with the
    // system's reason (or "not a regular file") in error, when it cannot be read.
    bool Read(const std::string& path, std::string& error);
    std::string_view Text() const;

private:
    void Release();

    char* m_mapped = nullptr;
    std::size_t m_mappedSize = 0;
    std::size_t m_size = 0;
    // Small files, and files that outgrow the mapped memory, are kept here.
    std::string m_string;
    bool m_inString = true;
};
