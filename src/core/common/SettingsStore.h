#pragma once

#include <map>
#include <string>
#include <utility>

// Persistent settings by section and value name (the UI stores them in an INI file).
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual int GetInt(const std::string& section, const std::string& name, int defaultValue) = 0;
    virtual std::string GetString(const std::string& section, const std::string& name,
                                  const std::string& defaultValue) = 0;
    virtual void WriteInt(const std::string& section, const std::string& name, int value) = 0;
    virtual void WriteString(const std::string& section, const std::string& name,
                             const std::string& value) = 0;
};

// Keeps the values in memory: the core's default store and the tests' store.
class MemorySettingsStore : public SettingsStore {
public:
    int GetInt(const std::string& section, const std::string& name, int defaultValue) override;
    std::string GetString(const std::string& section, const std::string& name,
                          const std::string& defaultValue) override;
    void WriteInt(const std::string& section, const std::string& name, int value) override;
    void WriteString(const std::string& section, const std::string& name,
                     const std::string& value) override;

    bool Has(const std::string& section, const std::string& name) const;

private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};
