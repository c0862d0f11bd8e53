#include "document/FileReport.h"

#include "document/DocumentServices.h"
#include "formats/RmfStream.h"

#include <algorithm>
#include <cstdio>

namespace {
// Lines of the Messages window for the errors of one read; beyond this many the rest are
// summed up in one line, so the window keeps earlier messages.
constexpr std::size_t kMaxErrorLines = 80;
// Faces with odd axes told one by one; the rest are counted in one line.
constexpr int kMaxOddAxisLines = 20;
// Face names beyond this many are summed up in one line.
constexpr std::size_t kMaxNamedFaces = 50;

const char* ParseErrorWhat(FileDiagnosticKind kind) {
    switch (kind) {
    case FileDiagnosticKind::NoMap:
        return "the file holds no map";
    case FileDiagnosticKind::WorldBraceExpected:
        return "\"{\" expected to open the world";
    case FileDiagnosticKind::KeyValueWithoutQuotes:
        return "a keyvalue line without its quotes ends the keyvalues";
    case FileDiagnosticKind::FileEndsInsideWorld:
        return "the file ends inside the world";
    case FileDiagnosticKind::FileEndsInsideEntity:
        return "the file ends inside an entity";
    case FileDiagnosticKind::FileEndsInsideSolid:
        return "the file ends inside a solid";
    case FileDiagnosticKind::ClosingBraceExpectedForWorld:
        return "\"}\" expected to close the world";
    case FileDiagnosticKind::ClosingBraceExpectedForEntity:
        return "\"}\" expected to close an entity";
    case FileDiagnosticKind::ClosingBraceExpectedForSolid:
        return "\"}\" expected to close a solid";
    case FileDiagnosticKind::TextAfterEntities:
        return "the text from here on is no entity and was not read";
    case FileDiagnosticKind::ShortStandardFaceLine:
        return "a face line has fewer than 15 fields";
    case FileDiagnosticKind::ShortAxisFaceLine:
        return "a face line with texture axes has fewer than 21 fields";
    case FileDiagnosticKind::TooManyFaces:
        return "a solid with more than 126 faces was not loaded";
    case FileDiagnosticKind::UnbuildableSolid:
        return "a solid was not loaded: ";
    case FileDiagnosticKind::OpenSolid:
        return "a solid's faces leave it open on some side; it was loaded as it is and reaches "
               "out to the edge of the map";
    default:
        return "";
    }
}

// The text of an error box for a failure, or empty for a kind that shows none.
std::string FailureText(const FileDiagnostic& diagnostic, const std::string& name) {
    switch (diagnostic.kind) {
    case FileDiagnosticKind::CannotRead:
    case FileDiagnosticKind::CannotWrite: {
        const char* action =
            diagnostic.kind == FileDiagnosticKind::CannotRead ? "loading" : "saving";
        std::string text = std::string("The OS reported an error ") + action + " the file: " + name;
        // The system's reason on a line of its own, so the user knows what to mend.
        return diagnostic.detail.empty() ? text : text + "\n" + diagnostic.detail;
    }
    case FileDiagnosticKind::WriteFailed:
        return "The OS reported an error saving the file: " + name;
    case FileDiagnosticKind::NotRmfButMapText:
        return name + " is not an RMF file; it looks like a MAP file.\n" +
               "Give it the extension .map to open it.";
    case FileDiagnosticKind::Corrupt:
        return "The file is corrupt.";
    case FileDiagnosticKind::NotAMap:
        return "Invalid file type.";
    case FileDiagnosticKind::UnknownVersion: {
        char text[160];
        std::snprintf(text, sizeof text,
                      "Oops! SerializeRMF() v%1.1f tried to load a file v%1.1f. Aborting.",
                      static_cast<double>(RmfStream::kVersion), diagnostic.number);
        return text;
    }
    default:
        return {};
    }
}

void TellInexactFaces(const FileResult& result, const std::string& name) {
    MessageLog& log = DocumentServices::Installed().messages;
    const std::size_t count = result.Count(FileDiagnosticKind::InexactStandardFace);
    log.AddLine(MessageLog::Error,
                "%zu faces of %s have texture axes that standard face lines cannot give (axes "
                "skewed or not on the projection plane); they were written with the nearest "
                "shift, scale and rotation:",
                count, name.empty() ? "the map" : name.c_str());
    std::size_t shown = 0;
    for (const FileDiagnostic& diagnostic : result.diagnostics) {
        if (diagnostic.kind != FileDiagnosticKind::InexactStandardFace) {
            continue;
        }
        if (shown == kMaxNamedFaces) {
            break;
        }
        log.AddLine(MessageLog::Error, "  face %d of solid %u (%s)", diagnostic.index + 1,
                    diagnostic.objectId, diagnostic.detail.c_str());
        ++shown;
    }
    if (count > shown) {
        log.AddLine(MessageLog::Error, "  ... and %zu more faces.", count - shown);
    }
}

// The message or question after a MAP read with errors.
void TellMapReadErrors(const FileResult& result, const std::string& name) {
    const MapReadReport report = MapReadReportOf(result, name);
    // Every problem of the file goes to the message window as well, with its line, so the
    // user can find it whichever box comes up.
    MessageLog& log = DocumentServices::Installed().messages;
    const std::size_t shown = std::min(report.errors.size(), kMaxErrorLines);
    for (std::size_t i = 0; i < shown; ++i) {
        log.AddText(MessageLog::Error, report.errors[i].message);
    }
    if (report.errors.size() > shown) {
        log.AddLine(MessageLog::Error, "... and %zu more errors in this file.",
                    report.errors.size() - shown);
    }
    Prompts& prompts = DocumentServices::Installed().GetPrompts();
    if (report.droppedSolids != 0) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "For your information, %d solids were not loaded\ndue to errors in the file.",
                      report.droppedSolids);
        prompts.Message(text, Prompts::Icon::Information);
        return;
    }
    const Prompts::Answer answer = prompts.YesNo(
        "There was a problem loading the MAP file. Do you\nwant to view the error report?");
    if (answer == Prompts::Answer::Yes && DocumentServices::Installed().showMapErrors) {
        DocumentServices::Installed().showMapErrors(report.errors);
    }
}
} // namespace

std::string MapParseErrorText(const FileDiagnostic& diagnostic, const std::string& name) {
    return "error parsing " + name + ", line " + std::to_string(diagnostic.line) + ": " +
           ParseErrorWhat(diagnostic.kind) + diagnostic.detail;
}

MapReadReport MapReadReportOf(const FileResult& result, const std::string& name) {
    MapReadReport report;
    report.droppedSolids = result.droppedSolids;
    report.wad = result.wad;
    for (const FileDiagnostic& diagnostic : result.diagnostics) {
        if (IsMapParseError(diagnostic.kind)) {
            report.parseErrors = true;
            report.errors.push_back(ErrorRecord{
                diagnostic.objectId, MapParseErrorText(diagnostic, name), diagnostic.line});
        }
    }
    return report;
}

void TellFileResult(const FileResult& result, const std::string& name,
                    std::vector<std::string>* heldBack) {
    MessageLog& log = DocumentServices::Installed().messages;
    int oddAxisFaces = 0;
    bool inexactTold = false;
    for (const FileDiagnostic& diagnostic : result.diagnostics) {
        switch (diagnostic.kind) {
        case FileDiagnosticKind::DegenerateTextureAxes:
        case FileDiagnosticKind::ZeroTextureScale:
            if (++oddAxisFaces <= kMaxOddAxisLines) {
                log.AddLine(MessageLog::Error,
                            "%s, line %d: the texture axes of this face %s; the texture is shown "
                            "as a standard face would show it.",
                            name.c_str(), diagnostic.line,
                            diagnostic.kind == FileDiagnosticKind::ZeroTextureScale
                                ? "have a zero scale"
                                : "are zero or parallel");
            }
            continue;
        case FileDiagnosticKind::InexactStandardFace:
            if (!inexactTold) {
                TellInexactFaces(result, name);
                inexactTold = true;
            }
            continue;
        case FileDiagnosticKind::ValueCut:
            log.AddLine(MessageLog::Error,
                        "The value of \"%s\" of %s was cut to %zu characters: RMF holds no more.",
                        diagnostic.detail.c_str(), diagnostic.owner.c_str(), RmfStream::kMaxString);
            continue;
        case FileDiagnosticKind::BackupFailed:
            log.AddText(MessageLog::Error, name + ": " + diagnostic.detail);
            continue;
        case FileDiagnosticKind::CannotRead:
        case FileDiagnosticKind::CannotWrite:
            if (!diagnostic.detail.empty()) {
                log.AddText(MessageLog::Error, name + ": " + diagnostic.detail);
            }
            break;
        default:
            break;
        }
        if (IsMapParseError(diagnostic.kind)) {
            DocumentServices::Installed().errors.push_back(ErrorRecord{
                diagnostic.objectId, MapParseErrorText(diagnostic, name), diagnostic.line});
            continue;
        }
        const std::string text = FailureText(diagnostic, name);
        if (text.empty()) {
            continue;
        }
        if (heldBack) {
            heldBack->push_back(text);
        } else {
            DocumentServices::Installed().GetPrompts().Message(text, Prompts::Icon::Error);
        }
    }
    if (oddAxisFaces > kMaxOddAxisLines) {
        log.AddLine(MessageLog::Error,
                    "%s: %d more faces have texture axes that are zero or parallel or a zero "
                    "scale.",
                    name.c_str(), oddAxisFaces - kMaxOddAxisLines);
    }
    if (result.HasParseErrors()) {
        TellMapReadErrors(result, name);
    }
}

std::string FileFailureMessage(const std::vector<std::string>& texts, const std::string& path,
                               bool saving) {
    if (texts.empty()) {
        return "There was a file error.\n" + path;
    }
    std::string text;
    for (const std::string& error : texts) {
        if (!text.empty()) {
            text += '\n';
        }
        text += error;
    }
    if (text.find(path) == std::string::npos) {
        text = (saving ? "Could not save " : "Could not open ") + path + ":\n" + text;
    }
    return text;
}
