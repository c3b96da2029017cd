#pragma once

#include <optional>

// The program's command-line uses, run without any window:
//   veltra --create-database PATH   a new database file for a new installation;
//   veltra --upgrade-database PATH  connect and upgrade PATH, printing every message the
//                                   program would have shown; exit 0 when the connection is open.
// Returns the exit code, or nothing when the program should start its windows.
std::optional<int> RunCommandLine(int argc, char* argv[]);
