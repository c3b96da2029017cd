#pragma once

#include <QString>

// The database the program opens: "VT.FDB" in the executable's folder, unless a file
// "VTDB.DAT" in the working folder names an existing file. The whole text of VTDB.DAT, line
// breaks included, trimmed of characters up to code 32, is taken as that file's path.
QString DatabaseLocation(const QString& executableFolder, const QString& workingFolder);

// Why VTDB.DAT in the working folder is there but not read (not a regular file, or too large
// for a path); empty when it is read or missing.
QString DatabaseLocationProblem(const QString& workingFolder);
