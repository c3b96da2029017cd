#include "app/command_line.h"
#include "app/startup.h"
#include "app/termination.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    BlockTerminationSignals();
    if (const std::optional<int> exitCode = RunCommandLine(argc, argv))
        return *exitCode;
    QApplication application(argc, argv);
    return RunApplication(application);
}
