#pragma once

#include "common/MapReadReport.h"
#include "formats/FileResult.h"

#include <string>
#include <vector>

// Turns what the format readers and writers found into what the user is told.

// The line of the error list and the message window for a MAP parse error of file name:
// "error parsing NAME, line N: what".
std::string MapParseErrorText(const FileDiagnostic& diagnostic, const std::string& name);

// The counts and the listed errors of a MAP read of file name.
MapReadReport MapReadReportOf(const FileResult& result, const std::string& name);

// Tells the user what a read or write of file name found: lines in the message window, the
// parse errors in the editor's error list, the message or question after a MAP read with
// errors, and an error box for each failure. With heldBack, the failure texts are kept
// there instead of shown, so the caller can tell them in one message.
void TellFileResult(const FileResult& result, const std::string& name,
                    std::vector<std::string>* heldBack = nullptr);

// The one message for a failed load or save of path: the held-back texts, led by the file's
// name unless they name it already; "There was a file error." when there are none.
std::string FileFailureMessage(const std::vector<std::string>& texts, const std::string& path,
                               bool saving);
