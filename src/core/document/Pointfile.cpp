#include "document/Pointfile.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {
constexpr std::size_t kMaxPoints = 1000000;
constexpr std::size_t kMaxFileSize = 64u << 20;

bool ReadNumber(std::string_view& text, float& value) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return false;
    }
    char buffer[64];
    std::size_t length = 0;
    while (length < text.size() && length + 1 < sizeof buffer && text[length] != ' ' &&
           text[length] != '\t') {
        buffer[length] = text[length];
        ++length;
    }
    buffer[length] = '\0';
    char* end = nullptr;
    const float parsed = std::strtof(buffer, &end);
    if (end != buffer + length || !std::isfinite(parsed)) {
        return false;
    }
    value = parsed;
    text.remove_prefix(length);
    return true;
}
} // namespace

bool Pointfile::Parse(std::string_view text, std::vector<Vector>& points, std::string& error) {
    points.clear();
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t feed = text.find('\n');
        std::string_view line = text.substr(0, feed);
        text.remove_prefix(feed == std::string_view::npos ? text.size() : feed + 1);
        ++lineNumber;
        while (!line.empty() &&
               (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
            line.remove_suffix(1);
        }
        if (line.find_first_not_of(" \t") == std::string_view::npos) {
            continue;
        }
        Vector point;
        bool ok = true;
        for (int axis = 0; axis < 3 && ok; ++axis) {
            ok = ReadNumber(line, point[axis]);
        }
        if (!ok || line.find_first_not_of(" \t") != std::string_view::npos) {
            error = "line " + std::to_string(lineNumber) + " is not a point (three numbers)";
            points.clear();
            return false;
        }
        if (points.size() >= kMaxPoints) {
            error = "it holds more than a million points";
            points.clear();
            return false;
        }
        points.push_back(point);
    }
    if (points.empty()) {
        error = "it holds no point";
        return false;
    }
    return true;
}

bool Pointfile::Load(const std::string& file, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = std::strerror(errno);
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    const std::string data = text.str();
    if (data.size() > kMaxFileSize) {
        error = "it is too large for a pointfile";
        return false;
    }
    std::vector<Vector> read;
    if (!Parse(data, read, error)) {
        return false;
    }
    path = file;
    points = std::move(read);
    current = -1;
    return true;
}

bool Pointfile::Step(int step, Vector& position, Vector& target) {
    if (points.empty()) {
        return false;
    }
    const int last = static_cast<int>(points.size()) - 1;
    int next = current < 0 ? (step >= 0 ? 0 : last) : current + (step >= 0 ? 1 : -1);
    next = next < 0 ? 0 : (next > last ? last : next);
    current = next;
    position = points[static_cast<std::size_t>(current)];
    if (current < last) {
        target = points[static_cast<std::size_t>(current) + 1];
    } else if (current > 0) {
        target = position + (position - points[static_cast<std::size_t>(current) - 1]);
    } else {
        target = position + Vector(1.0f, 0.0f, 0.0f);
    }
    return true;
}
