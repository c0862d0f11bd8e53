#include "app/QtSettingsStore.h"

QtSettingsStore::QtSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             "Brickhaven", "Brickhaven")) {}

QtSettingsStore::QtSettingsStore(const QString& iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

QString QtSettingsStore::Key(const std::string& section, const std::string& name) {
    // QSettings treats '/' and '\' as group separators; keep value names flat.
    QString value = QString::fromStdString(name);
    value.replace('/', '_').replace('\\', '_');
    return QString::fromStdString(section) + "/" + value;
}

int QtSettingsStore::GetInt(const std::string& section, const std::string& name, int defaultValue) {
    QVariant v = m_settings->value(Key(section, name));
    if (!v.isValid()) {
        return defaultValue;
    }
    bool ok = false;
    int result = v.toString().trimmed().toInt(&ok);
    return ok ? result : defaultValue;
}

std::string QtSettingsStore::GetString(const std::string& section, const std::string& name,
                                       const std::string& defaultValue) {
    QVariant v = m_settings->value(Key(section, name));
    if (!v.isValid()) {
        return defaultValue;
    }
    return v.toString().toStdString();
}

void QtSettingsStore::WriteInt(const std::string& section, const std::string& name, int value) {
    m_settings->setValue(Key(section, name), value);
}

void QtSettingsStore::WriteString(const std::string& section, const std::string& name,
                                  const std::string& value) {
    m_settings->setValue(Key(section, name), QString::fromStdString(value));
}

QByteArray QtSettingsStore::GetBytes(const std::string& section, const std::string& name) {
    return m_settings->value(Key(section, name)).toByteArray();
}

void QtSettingsStore::WriteBytes(const std::string& section, const std::string& name,
                                 const QByteArray& value) {
    m_settings->setValue(Key(section, name), value);
}

void QtSettingsStore::Sync() {
    m_settings->sync();
}
