#include "formats/FileResult.h"

#include <algorithm>

bool IsMapParseError(FileDiagnosticKind kind) {
    switch (kind) {
    case FileDiagnosticKind::NoMap:
    case FileDiagnosticKind::WorldBraceExpected:
    case FileDiagnosticKind::KeyValueWithoutQuotes:
    case FileDiagnosticKind::FileEndsInsideWorld:
    case FileDiagnosticKind::FileEndsInsideEntity:
    case FileDiagnosticKind::FileEndsInsideSolid:
    case FileDiagnosticKind::ClosingBraceExpectedForWorld:
    case FileDiagnosticKind::ClosingBraceExpectedForEntity:
    case FileDiagnosticKind::ClosingBraceExpectedForSolid:
    case FileDiagnosticKind::TextAfterEntities:
    case FileDiagnosticKind::ShortStandardFaceLine:
    case FileDiagnosticKind::ShortAxisFaceLine:
    case FileDiagnosticKind::TooManyFaces:
    case FileDiagnosticKind::UnbuildableSolid:
    case FileDiagnosticKind::OpenSolid:
        return true;
    default:
        return false;
    }
}

bool IsFailure(FileDiagnosticKind kind) {
    switch (kind) {
    case FileDiagnosticKind::CannotRead:
    case FileDiagnosticKind::CannotWrite:
    case FileDiagnosticKind::WriteFailed:
    case FileDiagnosticKind::NotRmfButMapText:
    case FileDiagnosticKind::Corrupt:
    case FileDiagnosticKind::UnknownVersion:
    case FileDiagnosticKind::NotAMap:
        return true;
    default:
        return false;
    }
}

bool FileResult::Ok() const {
    return std::none_of(diagnostics.begin(), diagnostics.end(),
                        [](const FileDiagnostic& d) { return IsFailure(d.kind); });
}

bool FileResult::HasParseErrors() const {
    return std::any_of(diagnostics.begin(), diagnostics.end(),
                       [](const FileDiagnostic& d) { return IsMapParseError(d.kind); });
}

std::size_t FileResult::Count(FileDiagnosticKind kind) const {
    return static_cast<std::size_t>(
        std::count_if(diagnostics.begin(), diagnostics.end(),
                      [kind](const FileDiagnostic& d) { return d.kind == kind; }));
}

FileDiagnostic& FileResult::Add(FileDiagnosticKind kind, int line, std::uint32_t objectId,
                                std::string detail) {
    FileDiagnostic& added = diagnostics.emplace_back();
    added.kind = kind;
    added.line = line;
    added.objectId = objectId;
    added.detail = std::move(detail);
    return added;
}
