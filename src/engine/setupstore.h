#pragma once

#include <QObject>

namespace FCProtocol {
class Task;
}

// Stores the controller's working values in its flash: STORE, sent again after a lost reply
// (storing twice keeps the same values), kTries times at most. Ends with whether the controller
// confirmed it. Emits its tasks and takes every finished one back; the owner sends them.
class SetupStore : public QObject
{
    Q_OBJECT

public:
    static constexpr int kTries = 5;
    static constexpr int kRetryMs = 50;

    explicit SetupStore(QObject* parent = nullptr);

    // A store already running goes on; it is not started twice.
    void start();
    bool isRunning() const { return pending != nullptr || retrying; }

public slots:
    void taskDone(FCProtocol::Task* task);

signals:
    void sendTask(FCProtocol::Task* task);
    void finished(bool stored);

private:
    void send();
    void retryOrGiveUp();

    const QObject* pending = nullptr;
    bool retrying = false;
    int tries = 0;
};
