#pragma once

#include <QObject>

#include <csignal>
#include <functional>
#include <vector>

class QSocketNotifier;

// Turns the signals with which a desktop logout, a kill or Ctrl+C end the program into a call
// on the main thread, between two events. Saves and exports run on the main thread (an export
// waits there for its reading thread), so one that is running when the signal comes has
// finished or rolled back before `onSignal` runs, which is called once. One object at a time;
// the signals get their default action back when it is destroyed.
class TerminationSignals : public QObject
{
public:
    explicit TerminationSignals(std::function<void(int signal)> onSignal,
                                std::vector<int> which = { SIGTERM, SIGHUP, SIGINT });
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;

    // Whether the handlers are in place (the pipe to the main thread could be made).
    bool isActive() const { return m_notifier != nullptr; }

private:
    void readPending();

    std::function<void(int)> m_onSignal;
    std::vector<int> m_signals;
    QSocketNotifier *m_notifier = nullptr;
    bool m_called = false;
};
