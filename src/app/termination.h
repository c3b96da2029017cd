#pragma once

class QCoreApplication;

// A desktop logout or a `kill` must end the program cleanly: windows save their placements, an
// open write is rolled back and the database is detached. The Firebird client would otherwise
// catch SIGTERM and SIGINT itself and shut its engine down under the running program.

// Blocks SIGTERM and SIGINT in the calling thread, and so in every thread started after it.
// Call first thing in main, before the client library starts its threads.
void BlockTerminationSignals();

// Reads the blocked signals through the event loop: either one quits the application, whose
// shutdown then runs as when the main window is closed.
void QuitOnTerminationSignals(QCoreApplication& application);
