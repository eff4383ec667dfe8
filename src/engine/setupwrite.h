#pragma once

#include "engine/setupdiff.h"
#include "engine/setuprecord.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QVector>

class SetupReader;

namespace FCProtocol {
class Task;
}

// Brings a setup onto the controller and proves it: writes the sections that differ, reads the
// whole setup back and compares. A section still differing is written again, up to kRounds
// writes in all; a board that keeps its own value is never taken for one that took. Ends with
// an outcome naming, row by row, which values took and which did not. Emits its tasks and takes
// every finished one back; the owner sends them.
class SetupWrite : public QObject
{
    Q_OBJECT

public:
    static constexpr int kRounds = 3;
    // A read-back whose reply is lost is asked again, this many times in all, this far apart.
    static constexpr int kReadTries = 3;
    static constexpr int kRetryMs = 50;

    struct Outcome {
        enum class Result {
            Done,     // the controller holds every value of the wanted setup
            NotTaken, // it kept values of its own after kRounds writes: see kept
            Unknown,  // its setup could not be read back (the link failed): what took is unknown
        };
        Result result = Result::Done;
        // The rows that differed before the first write. took: `controller` is the value before;
        // kept: `controller` is the value the controller holds now.
        QVector<SetupDiff::Row> took;
        QVector<SetupDiff::Row> kept;
        SetupRecord controller; // as read back last (as before the writes when Unknown)
        int rounds = 0;         // how many times writes were sent
        QString why;            // Unknown: what failed, for the log

        // Some value may have changed on the controller: it holds what it has not stored.
        bool changedController() const { return !took.isEmpty() || (result == Result::Unknown && rounds > 0); }
    };

    explicit SetupWrite(QObject* parent = nullptr);

    // Starts bringing `wanted` onto a controller that holds `controller` (as just read, with
    // every section `wanted` has). A write still running is forgotten. When nothing differs
    // it ends at once, Done.
    void start(const SetupRecord& controller, const SetupRecord& wanted);
    bool isRunning() const { return running; }
    // One of this write's tasks (writes and read-backs), until it has finished.
    bool owns(const FCProtocol::Task* task) const;

public slots:
    void taskDone(FCProtocol::Task* task);

signals:
    void sendTask(FCProtocol::Task* task);
    void finished(const SetupWrite::Outcome& outcome);

private:
    void writeRound();
    void settle(const QObject* task);
    void readBack(const SetupRecord& read);
    void readFailed(const QString& why);
    void finish(Outcome::Result result, const QString& why = QString());

    SetupReader* reader;
    bool running = false;
    SetupRecord before;
    SetupRecord current;
    SetupRecord wanted;
    QVector<SetupDiff::Row> differing;
    QSet<const QObject*> writes;
    int rounds = 0;
    int readTries = 0;
    int generation = 0;
};

Q_DECLARE_METATYPE(SetupWrite::Outcome)
