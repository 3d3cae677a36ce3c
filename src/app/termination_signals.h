#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into an orderly quit of the application's event loops, so the settings
// are written as when the close box is used. The signal handler only writes a byte to a socket; the event
// loop reads it and quits.
class TerminationSignals final : public QObject {
    Q_OBJECT
  public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    // True once a signal has asked the program to end.
    bool received() const { return received_; }

  private:
    void onSignal();

    QSocketNotifier* notifier_ = nullptr;
    bool received_ = false;
};
