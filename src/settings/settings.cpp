#include "settings/settings.h"

#include "common/profile_file.h"

#include <QCoreApplication>
#include <QDir>

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
    m_loadProblem = ProfileFile::refusesToRead(path)
                        ? QStringLiteral("Datoteka postavki %1 nije obična datoteka ili je veća od 8 MB, pa se ne "
                                         "čita: vrijede zadane postavke.")
                              .arg(QDir::toNativeSeparators(path))
                        : QString();
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
