#pragma once
// Turns a request from outside to end the program (SIGTERM, SIGINT on Unix) into
// a Qt signal on the user-interface thread, so that the program can close its
// main window through the normal close path and save its settings.

#include <QObject>

class QSocketNotifier;

namespace kelvari {

class TerminationRequest : public QObject {
    Q_OBJECT
public:
    explicit TerminationRequest(QObject *parent = nullptr);
    ~TerminationRequest() override;

    // False where the platform has no such requests or the hook failed.
    bool isActive() const { return m_notifier != nullptr; }

signals:
    void requested();

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace kelvari
