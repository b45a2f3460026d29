#include "platform/qt/quit_on_signal.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <unistd.h>

namespace {
// A signal handler may only write to a pipe; the event loop reads the other end.
int g_pipe[2] = {-1, -1};
}  // namespace

QuitOnSignal::QuitOnSignal(QObject* parent) : QObject(parent) {
    if (g_pipe[0] < 0 && ::pipe(g_pipe) != 0) return;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [] {
        char byte;
        // exit(), not quit(): quit() would first ask every window to close.
        if (::read(g_pipe[0], &byte, 1) > 0) QCoreApplication::exit(0);
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

QuitOnSignal::~QuitOnSignal() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

void QuitOnSignal::onSignal(int) {
    char byte = 1;
    [[maybe_unused]] auto n = ::write(g_pipe[1], &byte, 1);
}
