#include "autosave/AutosaveRecovery.h"

#include "document/DocumentServices.h"
#include "document/MapDoc.h"

#include <ctime>

namespace {
std::string LocalTime(std::int64_t ns) {
    const std::time_t seconds = static_cast<std::time_t>(ns / 1000000000);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

std::string MapName(const AutosaveEntry& entry) {
    return entry.mapPath.empty() ? kUntitledMapName : entry.mapPath;
}
} // namespace

std::string DescribeAutosave(const AutosaveEntry& entry) {
    return MapName(entry) + " (autosaved " + LocalTime(entry.modifiedNs) + ")";
}

std::string RecoverListLine(const AutosaveEntry& entry) {
    return MapName(entry) + "\t" + entry.file + "\t" + LocalTime(entry.modifiedNs);
}

bool OpenRecoveredMap(CMapDoc& document, const AutosaveEntry& entry) {
    if (!document.OpenDocument(entry.file)) {
        return false;
    }
    document.SetPath(entry.mapPath);
    document.SetModified(true);
    document.Services().messages.AddLine(MessageLog::Normal, "Recovered %s from %s",
                                         MapName(entry).c_str(), entry.file.c_str());
    return true;
}
