#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// What a command-line tool did: its exit code (-1 when it crashed or did not end in time) and
// what it wrote.
struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs one of the project's tools, built beside the test, and waits for it to end.
ToolRun RunTool(const QString& tool, const QStringList& arguments, int timeoutMs = 60000,
                const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
