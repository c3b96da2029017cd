#include "settings/settings.h"

#include "common/profile_file.h"

#include <QCoreApplication>
#include <QDir>

Settings::Settings(const QString& path) : m_path(path), m_values(DefaultSettings(QCoreApplication::applicationDirPath()))
{
}

void Settings::commit(const SettingsValues& values)
{
    if (values == m_values)
        return;
    m_values = values;
    emit changed();
}

void Settings::load(const QStringList& installedPrinters)
{
    const QString& path = m_path;
    m_loadProblem = ProfileFile::refusesToRead(path)
                        ? QStringLiteral("Datoteka postavki %1 nije obična datoteka ili je veća od 8 MB, pa se ne "
                                         "čita: vrijede zadane postavke.")
                              .arg(QDir::toNativeSeparators(path))
                        : QString();
    SettingsValues values = ReadSettings(ProfileFile::snapshot(path));
    ResolvePrinters(values, installedPrinters);
    commit(values);
}

bool Settings::save() const
{
    ProfileFile file(m_path);
    return WriteSettings(file, m_values);
}
