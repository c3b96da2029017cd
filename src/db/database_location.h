#pragma once

#include <QString>

// The account the program opens its database with, unless the location file names another.
struct DatabaseAccount {
    QString user = QStringLiteral("SYSDBA");
    QString password = QStringLiteral("corbelwin");
};

// The database the program opens, with its account.
struct DatabaseTarget {
    QString location; // a file path, or a Firebird connection string naming a server
    DatabaseAccount account;
};

// The database the program opens: "VT.FDB" in the executable's folder, unless a file
// "VTDB.DAT" in the working folder names another. Its first line is either the path of an
// existing file or a connection string of a database on a server ("host:/path/VT.FDB",
// "host/3051:/path/VT.FDB", "inet://host/path/VT.FDB"), which is taken as it is. Further lines
// "user=NAME" and "password=TEXT" replace the default account for that database. A file without
// such lines is read as a whole: its text, line breaks included, trimmed of characters up to
// code 32, is the path.
DatabaseTarget ReadDatabaseTarget(const QString& executableFolder, const QString& workingFolder);
// Only the location of ReadDatabaseTarget.
QString DatabaseLocation(const QString& executableFolder, const QString& workingFolder);

// Why VTDB.DAT in the working folder is there but not read (not a regular file, or too large
// for a path); empty when it is read or missing.
QString DatabaseLocationProblem(const QString& workingFolder);

// Whether a location names a database on a server rather than a local file, and the server's
// host name ("" for a local file).
bool IsServerLocation(const QString& location);
QString ServerHost(const QString& location);

// The account for a database named on a command line: the one VTDB.DAT in the working folder
// gives when it names the same database, else VELTRA_USER and VELTRA_PASSWORD from the
// environment when set (a password never stands on a command line, where others see it),
// else the default account.
DatabaseAccount CommandLineAccount(const QString& location, const QString& executableFolder, const QString& workingFolder);
