#include "platform/MemoryLoad.h"

#include <fstream>
#include <sstream>

std::optional<int> MemoryLoadFromMeminfo(const std::string& meminfoText) {
    std::istringstream in(meminfoText);
    std::string key;
    long long total = -1;
    long long available = -1;
    while (in >> key) {
        long long value = 0;
        if (!(in >> value)) {
            break;
        }
        if (key == "MemTotal:") {
            total = value;
        } else if (key == "MemAvailable:") {
            available = value;
        }
        in.ignore(256, '\n');
    }
    if (total <= 0 || available < 0 || available > total) {
        return std::nullopt;
    }
    return static_cast<int>(100 - (available * 100) / total);
}

std::optional<int> MemoryLoadPercent() {
    std::ifstream file("/proc/meminfo");
    if (!file) {
        return std::nullopt;
    }
    std::stringstream text;
    text << file.rdbuf();
    return MemoryLoadFromMeminfo(text.str());
}
