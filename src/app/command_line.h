#pragma once

#include <optional>

// The program's command-line uses, run without any window:
//   veltra --create-database PATH   a new database file for a new installation;
//   veltra --upgrade-database PATH  connect and upgrade PATH, printing every message the
//                                   program would have shown; exit 0 when the connection is open.
// The account: VTDB.DAT's when it names the same database, else VELTRA_USER/VELTRA_PASSWORD,
// else ISC_USER/ISC_PASSWORD from the environment, each variable on its own.
// Returns the exit code, or nothing when the program should start its windows.
std::optional<int> RunCommandLine(int argc, char* argv[]);
