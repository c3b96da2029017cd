#include "settings/settings.h"

#include "common/profile_file.h"

#include <QCoreApplication>

Settings::Settings() : m_values(DefaultSettings(QCoreApplication::applicationDirPath()))
{
}

void Settings::commit(const SettingsValues& values)
{
    if (values == m_values)
        return;
    m_values = values;
    emit changed();
}

void Settings::load(const QString& path, const QStringList& installedPrinters)
{
    SettingsValues values = ReadSettings(ProfileFile::snapshot(path));
    ResolvePrinters(values, installedPrinters);
    commit(values);
}

bool Settings::save(const QString& path) const
{
    ProfileFile file(path);
    return WriteSettings(file, m_values);
}

Settings& LiveSettings()
{
    static Settings settings;
    return settings;
}
