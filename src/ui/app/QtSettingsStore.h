#pragma once

#include "common/SettingsStore.h"

#include <QSettings>
#include <memory>

// Settings in an INI file: $XDG_CONFIG_HOME/Brickhaven/Brickhaven.ini by default. Sections
// become INI groups; value names are kept as they are.
class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore();
    // A store on a given INI file (tests).
    explicit QtSettingsStore(const QString& iniPath);

    int GetInt(const std::string& section, const std::string& name, int defaultValue) override;
    std::string GetString(const std::string& section, const std::string& name,
                          const std::string& defaultValue) override;
    void WriteInt(const std::string& section, const std::string& name, int value) override;
    void WriteString(const std::string& section, const std::string& name,
                     const std::string& value) override;

    QByteArray GetBytes(const std::string& section, const std::string& name);
    void WriteBytes(const std::string& section, const std::string& name, const QByteArray& value);
    void Sync();
    QSettings& Raw() { return *m_settings; }

private:
    static QString Key(const std::string& section, const std::string& name);
    std::unique_ptr<QSettings> m_settings;
};
