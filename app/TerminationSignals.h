#pragma once

#include <QObject>

class QSocketNotifier;

namespace tolvex {

// A desktop that logs out, or `kill`, asks the program to end with SIGTERM, SIGINT or SIGHUP;
// by default those end it on the spot, losing the settings and totals kept at quit. They become
// the application's own quit request instead, while this object lives.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    TerminationSignals();
    ~TerminationSignals() override;

private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tolvex
