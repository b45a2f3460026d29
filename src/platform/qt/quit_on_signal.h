#pragma once

#include <QObject>

class QSocketNotifier;

// Ends the event loop when the process gets SIGINT or SIGTERM (Ctrl-C in a
// terminal), so that the window closes the link and its threads in order
// instead of the process dying in the middle of an exchange.
class QuitOnSignal : public QObject {
public:
    explicit QuitOnSignal(QObject* parent = nullptr);
    ~QuitOnSignal() override;

private:
    static void onSignal(int signal);

    QSocketNotifier* m_notifier = nullptr;
};
