#include "tool_run.h"

#include <QCoreApplication>
#include <QProcess>

ToolRun RunTool(const QString& tool, const QStringList& arguments, int timeoutMs, const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QCoreApplication::applicationDirPath() + QLatin1Char('/') + tool, arguments);
    ToolRun run;
    if (!process.waitForFinished(timeoutMs))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
