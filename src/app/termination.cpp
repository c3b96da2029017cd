#include "app/termination.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>

#include <sys/signalfd.h>
#include <unistd.h>

namespace {

sigset_t TerminationSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    return set;
}

}  // namespace

void BlockTerminationSignals()
{
    const sigset_t set = TerminationSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void QuitOnTerminationSignals(QCoreApplication& application)
{
    const sigset_t set = TerminationSignals();
    const int descriptor = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (descriptor < 0)
        return;
    auto* notifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, &application);
    QObject::connect(notifier, &QSocketNotifier::activated, &application, [descriptor, &application] {
        signalfd_siginfo info;
        while (read(descriptor, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        }
        // Every event loop ends, the modal windows' too, without the question of closing the main
        // window; the shared windows then go in order.
        application.exit(0);
    });
}
