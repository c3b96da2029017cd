#pragma once

#include <QString>

// The account the program opens its database with, unless the location file names another.
struct DatabaseAccount {
    QString user = QStringLiteral("SYSDBA");
    QString password = QStringLiteral("corbelwin");
    // Where the account was taken from, as the operator is told when it is refused.
    QString source = QStringLiteral("zadani korisnik programa");
};

// The database the program opens, with its account.
struct DatabaseTarget {
    QString location; // a file path, or a Firebird connection string naming a server
    DatabaseAccount account;
    // Why VTDB.DAT in the working folder is there but not used, naming the file; empty when it
    // is used or missing.
    QString problem;
};

// The database the program opens: "VT.FDB" in the executable's folder, unless a file
// "VTDB.DAT" in the working folder names another. Its first line is either the path of an
// existing file or a connection string of a database on a server ("host:/path/VT.FDB",
// "host/3051:/path/VT.FDB", "inet://host/path/VT.FDB"), which is taken as it is. Further lines
// "user=NAME" and "password=TEXT" replace the default account for that database. A file without
// such lines is read as a whole: its text, line breaks included, trimmed of characters up to
// code 32, is the path.
DatabaseTarget ReadDatabaseTarget(const QString& executableFolder, const QString& workingFolder);
// The account for a database named on a command line: the one VTDB.DAT in the working folder
// gives when it names the same database, else the user and the password from the environment,
// each from VELTRA_USER and VELTRA_PASSWORD or, when that is not set, from ISC_USER and
// ISC_PASSWORD, which every Firebird tool reads (a password never stands on a command line,
// where others see it), else the default account.
DatabaseAccount CommandLineAccount(const QString& location, const QString& executableFolder,
                                   const QString& workingFolder);
// Only the location of ReadDatabaseTarget.
QString DatabaseLocation(const QString& executableFolder, const QString& workingFolder);

// Why VTDB.DAT in the working folder is there but not used (not a regular file, too large for a
// path, empty, unreadable, or naming no database); empty when it is used or missing.
QString DatabaseLocationProblem(const QString& workingFolder);

// Whether a location names a database on a server rather than a local file, and the server's
// host name ("" for a local file).
bool IsServerLocation(const QString& location);
QString ServerHost(const QString& location);
// The port (or service name) a server location names, "3050" (Firebird's own) when none.
QString ServerPort(const QString& location);
