#pragma once

#include "formats/OutputBuffer.h"
#include "formats/SolidDiagnosis.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class Progress;

// The stream the MAP text reader and writer work on.
//
// Reading goes line by line over the whole text in memory with a one-line push-back slot:
// white space and blank lines before a line are skipped, lines starting with "//" are
// comments, and the line ends at its line feed (or at the end of the text) without its
// trailing white space.
//
// Writing appends text that goes to a sink in large pieces.
class MapTextStream {
public:
    // Reading text; displayName names it in messages. progress may be null.
    MapTextStream(std::string_view text, std::string displayName, Progress* progress);
    // Writing to sink; displayName names the target in messages.
    MapTextStream(OutputBuffer::Sink sink, std::string displayName);

    bool IsLoading() const { return m_loading; }
    const std::string& DisplayName() const { return m_displayName; }

    // Reading. False at the end of the text.
    bool ReadLine(std::string_view& line);
    bool PeekLine(std::string_view& line);
    // Puts line back; the next ReadLine returns it. The slot holds one line.
    void PushBack(std::string_view line);
    // The file line number of the line read last (1 for the first line).
    int LineNumber() const { return m_lineNumber; }
    // Moves the progress to the share of the text read so far.
    void ReportProgress();

    // The value of a "// Format:" comment, if the text has one.
    std::string formatComment;
    bool hasFormatComment = false;

    // Writing.
    std::string& Out() { return m_output.Text(); }
    // Ends a solid or entity: hands large output to the sink. False once writing failed.
    bool EndObject() {
        m_output.FlushIfLarge();
        return !m_output.Failed();
    }
    bool Flush() { return m_output.Flush(); }
    bool Failed() const { return m_output.Failed(); }

private:
    void SkipWhiteSpace();

    bool m_loading;
    std::string m_displayName;
    std::string_view m_text;
    std::size_t m_position = 0;
    int m_nextLineNumber = 1;
    int m_lineNumber = 0;
    bool m_hasPushBack = false;
    std::string_view m_pushBack;
    int m_pushBackLineNumber = 0;
    Progress* m_progress = nullptr;
    OutputBuffer m_output;
};
