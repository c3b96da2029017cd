#pragma once

#include "settings/settings_values.h"

#include <QObject>
#include <QStringList>


// The live settings of a run: the values every window and computation uses, loaded from the
// settings file (postavke.dat) at start-up. The options window edits a copy and commits it
// here; whoever shows something that depends on a setting listens to `changed`.
class Settings : public QObject {
    Q_OBJECT

public:
    // The defaults, with the executable's folder, for the settings file at `path`.
    explicit Settings(const QString& path);

    const QString& path() const { return m_path; }

    const SettingsValues& values() const { return m_values; }
    // Takes the values as the live ones; `changed` when they differ from those held.
    void commit(const SettingsValues& values);

    // Reads the file (a missing file or key gives the default) and settles the printer names
    // against the installed printers, then commits.
    void load(const QStringList& installedPrinters);
    // Why the last load found a file but read the defaults instead (not a regular file, or
    // too large); empty when it read the file or found none.
    const QString& loadProblem() const { return m_loadProblem; }
    // Writes every key; false when the file could not be written.
    bool save() const;

signals:
    void changed();

private:
    QString m_path;
    SettingsValues m_values;
    QString m_loadProblem;
};
