#include "ui/TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The pipe from the handler to the main thread: the handler may only do async-signal-safe
// things, and writing a byte is one.
int pipeEnds[2] = { -1, -1 };

extern "C" void noteSignal(int signal)
{
    const int savedErrno = errno;
    const char byte = char(signal);
    (void)!::write(pipeEnds[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal, std::vector<int> which)
    : m_onSignal(std::move(onSignal))
    , m_signals(std::move(which))
{
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPending);
    struct sigaction action
    {
    };
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : m_signals)
        ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    for (const int signal : m_signals)
        std::signal(signal, SIG_DFL);
    delete m_notifier;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void TerminationSignals::readPending()
{
    char bytes[64];
    ssize_t got = 0;
    int last = 0;
    while ((got = ::read(pipeEnds[0], bytes, sizeof bytes)) > 0)
        last = static_cast<unsigned char>(bytes[got - 1]);
    // A second signal while ending changes nothing.
    if (last == 0 || m_called)
        return;
    m_called = true;
    m_onSignal(last);
}
