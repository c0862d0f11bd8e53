#pragma once

#include <cstdint>
#include <string>

class CMapFace;
struct FileResult;

// Where a face being written sits, to name it in diagnostics.
struct FacePosition {
    std::uint32_t solidId = 0;
    int faceIndex = 0;
};

// Writes the fields of a face line that follow its texture name in one MAP dialect; the
// shared MAP text writer writes the plane points and the name before them and the trailing
// integers and the line feed after them.
class FaceLineWriter {
public:
    virtual ~FaceLineWriter() = default;

    // Appends the fields, one space between each (the shared writer wrote one after the
    // name). A face whose texture this dialect cannot give exactly is reported to result.
    virtual void Write(std::string& out, const CMapFace& face, const FacePosition& position,
                       FileResult& result) const = 0;
};
