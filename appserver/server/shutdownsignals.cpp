#include "appserver/server/shutdownsignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int pipeEnds[2] = {-1, -1};

void onSignal(int signalNumber) {
    const char byte = char(signalNumber);
    [[maybe_unused]] const auto written = ::write(pipeEnds[0], &byte, 1);
}

void install(int signalNumber, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signalNumber, &action, nullptr);
}

} // namespace

ShutdownSignals::ShutdownSignals(QObject *parent)
    : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pipeEnds) != 0)
        qFatal("cannot create the signal socket pair");
    m_notifier = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ShutdownSignals::readSignal);
    install(SIGINT, onSignal);
    install(SIGTERM, onSignal);
}

ShutdownSignals::~ShutdownSignals() {
    install(SIGINT, SIG_DFL);
    install(SIGTERM, SIG_DFL);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void ShutdownSignals::readSignal() {
    char byte = 0;
    if (::read(pipeEnds[1], &byte, 1) == 1)
        emit received(int(byte));
}
