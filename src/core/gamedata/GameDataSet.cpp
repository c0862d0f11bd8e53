#include "gamedata/GameDataSet.h"

#include "common/ProgramDirectory.h"
#include "gamedata/GameDataParser.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

bool GameDataSet::Load(const std::string& path) {
    m_errorCount = 0;
    const std::string resolved = ResolveProgramPath(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(resolved, error)) {
        return false;
    }
    std::ifstream file(resolved, std::ios::binary);
    if (!file) {
        return false;
    }
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) {
        return false;
    }
    return LoadFromText(content.str(), path);
}

bool GameDataSet::LoadFromText(const std::string& text, const std::string& fileName) {
    GameDataParser parser(*this, text, fileName);
    bool ok = parser.Parse();
    m_errorCount = parser.ErrorCount();
    return ok;
}

EntityClassDef* GameDataSet::ClassAt(int position) const {
    if (position < 0 || position >= ClassCount()) {
        return nullptr;
    }
    return m_classes[static_cast<std::size_t>(position)].get();
}

EntityClassDef* GameDataSet::FindClass(const std::string& name, int* position) const {
    for (std::size_t i = 0; i < m_classes.size(); ++i) {
        if (m_classes[i]->name == name) {
            if (position != nullptr) {
                *position = static_cast<int>(i);
            }
            return m_classes[i].get();
        }
    }
    if (position != nullptr) {
        *position = -1;
    }
    return nullptr;
}

const EntityClassDef* GameDataSet::FindClass(const std::string& name) const {
    return FindClass(name, nullptr);
}
