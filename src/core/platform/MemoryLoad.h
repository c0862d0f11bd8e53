#pragma once

#include <optional>
#include <string>

// The system's memory load in percent: 100 - 100 * MemAvailable / MemTotal.
std::optional<int> MemoryLoadPercent();
// The same, computed from the text of /proc/meminfo (for tests and other sources).
std::optional<int> MemoryLoadFromMeminfo(const std::string& meminfoText);
