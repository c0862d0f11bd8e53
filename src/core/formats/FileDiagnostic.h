#pragma once

#include <cstdint>
#include <string>

// What a reader or writer found wrong with a file (or with the map it wrote).
enum class FileDiagnosticKind : std::uint8_t {
    // Reading or writing the file itself; detail: the system's reason (may be empty).
    CannotRead,
    CannotWrite,
    // The map's data could not be handed to the file as a whole (the target's name only).
    WriteFailed,
    // The new content was written, but the previous file could not be kept; detail: why.
    BackupFailed,

    // MAP text, each with its line.
    NoMap,
    WorldBraceExpected,
    KeyValueWithoutQuotes,
    FileEndsInsideWorld,
    FileEndsInsideEntity,
    FileEndsInsideSolid,
    ClosingBraceExpectedForWorld,
    ClosingBraceExpectedForEntity,
    ClosingBraceExpectedForSolid,
    TextAfterEntities,
    ShortStandardFaceLine,
    ShortAxisFaceLine,
    TooManyFaces,
    // detail: why the planes make no solid.
    UnbuildableSolid,
    // objectId: the solid, kept as the file has it.
    OpenSolid,
    // A face whose texture axes lay no texture: zero or parallel axes, or a zero scale. The
    // face is kept; it is no parse error.
    DegenerateTextureAxes,
    ZeroTextureScale,
    // A face written as a standard line whose own axes such a line cannot give: objectId
    // its solid, index the face's position in it, detail its texture name.
    InexactStandardFace,

    // RMF.
    NotRmfButMapText,
    Corrupt,
    // number: the version the file gives.
    UnknownVersion,
    NotAMap,
    // detail: the key, owner: the class of the object holding it.
    ValueCut,
};

struct FileDiagnostic {
    FileDiagnosticKind kind = FileDiagnosticKind::Corrupt;
    // The line of MAP text it concerns (1 for the first), 0 when none.
    int line = 0;
    // The map object it concerns, 0 when none.
    std::uint32_t objectId = 0;
    std::string detail;
    std::string owner;
    int index = 0;
    double number = 0.0;
};

// Kinds that make a MAP read faulty: the user is told of them and may view them as a list.
bool IsMapParseError(FileDiagnosticKind kind);
// Kinds after which nothing usable was read or written.
bool IsFailure(FileDiagnosticKind kind);
