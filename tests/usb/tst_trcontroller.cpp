#include "protocol/task.h"
#include "usb/qtusbhid.h"
#include "usb/trcontroller.h"
#include "virtualfc.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QThread>
#include <QtTest>

using FCProtocol::Task;

namespace {

// Periodic reads of ten different kinds.
const int kPollTypes[] = {FCProtocol::STATUS_RD,  FCProtocol::PARA_RD,      FCProtocol::RC_RD,
                          FCProtocol::TYPE_02_03, FCProtocol::FRAME_RW,     FCProtocol::TYPE_03_05,
                          FCProtocol::FW_INFO_RD, FCProtocol::SCOPE_NAME_RD, FCProtocol::SCOPE_DATA_RD,
                          FCProtocol::VERIFY};

} // namespace

// The task run controller: one transaction at a time, queue order and capacity, tasks
// handed back on the owning thread, and a safe shutdown mid-transaction.
class tst_trcontroller : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void idleControllerStartsATaskAtOnce();
    void urgentTasksJumpTheQueue();
    void telemetryReadOpensTheDevice();
    void overflowKeepsOnlyTheNewTask();
    void queuePolicy_data();
    void queuePolicy();
    void clearTaskDeletesWaitingTasksOnly();
    void taskAddedFromTaskDoneWaitsItsTurn();
    void taskDoneArrivesOnTheOwningThread();
    void invalidTaskEndsWithStatusMinus2();
    void destroyedMidTransactionWaitsForTheTransfer_data();
    void destroyedMidTransactionWaitsForTheTransfer();

private:
    // Records the order in which tasks report TaskDone and deletes them as the main
    // window would.
    struct Recorder {
        QStringList order;
        void watch(Task* task, const QString& name)
        {
            QObject::connect(task, &Task::TaskDone, task, [this, name](Task* done) {
                order << name;
                done->deleteLater();
            });
        }
    };
};

void tst_trcontroller::init()
{
    VirtualFC::reset();
    VirtualFC::setFastTiming(false); // about 12 ms a transaction keeps the controller busy
}

void tst_trcontroller::idleControllerStartsATaskAtOnce()
{
    TRController controller;
    QVERIFY(!controller.isBusy());
    auto* task = new Task(FCProtocol::INFO_RD, false);
    QSignalSpy done(task, &Task::TaskDone);
    controller.AddTask(task);
    QVERIFY(controller.isBusy());
    QCOMPARE(controller.waitingCount(), 0);
    QVERIFY(done.wait(3000));
    QCOMPARE(task->status, 0);
    QVERIFY(!controller.isBusy());
    delete task;
}

void tst_trcontroller::urgentTasksJumpTheQueue()
{
    TRController controller;
    Recorder recorder;
    auto* running = new Task(FCProtocol::INFO_RD, false);
    auto* a = new Task(FCProtocol::STATUS_RD, false);
    auto* u1 = new Task(FCProtocol::STORE, true);
    auto* u2 = new Task(FCProtocol::HORIZON_CALI, true);
    u1->txStream << qint8(-85);
    u2->txStream << qint8(-85);
    recorder.watch(running, "running");
    recorder.watch(a, "A");
    recorder.watch(u1, "U1");
    recorder.watch(u2, "U2");

    controller.AddTask(running);
    controller.AddTask(a);
    controller.AddTask(u1);
    controller.AddTask(u2);
    QCOMPARE(controller.waitingCount(), 3);
    QTRY_COMPARE_WITH_TIMEOUT(recorder.order.size(), 4, 5000);
    QCOMPARE(recorder.order, (QStringList{"running", "U2", "U1", "A"}));

    // The controller saw the requests in the same order.
    QList<int> types;
    for (const QByteArray& request : VirtualFC::requests())
        types << FCProtocol::taskTypeOf(quint8(request[0]), quint8(request[1]));
    QCOMPARE(types, (QList<int>{FCProtocol::INFO_RD, FCProtocol::HORIZON_CALI, FCProtocol::STORE,
                                FCProtocol::STATUS_RD}));
}

// On a closed device the waiting telemetry read goes first, ahead of a command: every mode of
// the controller answers it, so the first transaction on a new handle proves the report id.
void tst_trcontroller::telemetryReadOpensTheDevice()
{
    TRController controller;
    Recorder recorder;
    VirtualFC::setFault(VirtualFC::Fault::RefuseOpen, 1); // the first open fails
    const QList<Task*> tasks{new Task(FCProtocol::STATUS_RD, false), new Task(FCProtocol::INFO_RD, false),
                             new Task(FCProtocol::STORE, true)};
    tasks[2]->txStream << qint8(-85);
    for (int i = 0; i < 3; ++i) {
        recorder.watch(tasks[i], QStringList{"lost", "info", "store"}[i]);
        controller.AddTask(tasks[i]);
    }
    QTRY_COMPARE_WITH_TIMEOUT(recorder.order, (QStringList{"lost", "info", "store"}), 5000);
}

void tst_trcontroller::overflowKeepsOnlyTheNewTask()
{
    TRController controller;
    Recorder recorder;
    auto* running = new Task(FCProtocol::INFO_RD, false);
    recorder.watch(running, "running");
    controller.AddTask(running);

    QList<QPointer<Task>> waiting;
    int doneAmongWaiting = 0;
    for (int i = 0; i < 10; ++i) {
        auto* task = new Task(kPollTypes[i], false);
        connect(task, &Task::TaskDone, this, [&doneAmongWaiting] { ++doneAmongWaiting; });
        waiting << task;
        controller.AddTask(task);
    }
    QCOMPARE(controller.waitingCount(), 10);

    auto* newest = new Task(FCProtocol::INFO_RD, false);
    recorder.watch(newest, "newest");
    QTest::ignoreMessage(QtDebugMsg, "Task Full!");
    controller.AddTask(newest);
    QCOMPARE(controller.waitingCount(), 1);
    for (const QPointer<Task>& task : waiting)
        QVERIFY(task.isNull()); // deleted at once, not later

    QTRY_COMPARE_WITH_TIMEOUT(recorder.order.size(), 2, 5000);
    QCOMPARE(recorder.order, (QStringList{"running", "newest"}));
    QCOMPARE(doneAmongWaiting, 0);
}

void tst_trcontroller::queuePolicy_data()
{
    // Waiting tasks in the order added, 'P' a periodic read of its own kind, 'U' a command
    // (urgent); then what is done: 'P' a read of a new kind, 'S' a read of the first waiting
    // kind, 'U' a command, '-' DropPolls(). Names: the letter and the position, "new".
    QTest::addColumn<QString>("waiting");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("queueAfter");
    QTest::addColumn<bool>("full");
    QTest::newRow("a read of a new kind queues") << "PUP" << "P" << "U1 P0 P2 new" << false;
    QTest::newRow("a read of a waiting kind does not") << "PUP" << "S" << "U1 P0 P2" << false;
    QTest::newRow("a command of a polled kind queues") << "UP" << "U" << "new U0 P1" << false;
    QTest::newRow("ten reads, a new read") << "PPPPPPPPPP" << "P" << "new" << true;
    QTest::newRow("commands outlive the reads") << "PUPUPPPPPU" << "P" << "U9 U3 U1 new" << true;
    QTest::newRow("commands outlive the reads, a command") << "PUPUPPPPPU" << "U" << "new U9 U3 U1" << true;
    QTest::newRow("ten commands, a command") << "UUUUUUUUUU" << "U" << "new U9 U8 U7 U6 U5 U4 U3 U2 U1" << true;
    QTest::newRow("ten commands, a read") << "UUUUUUUUUU" << "P" << "U9 U8 U7 U6 U5 U4 U3 U2 U1 U0" << true;
    QTest::newRow("firmware page entered") << "PUPUP" << "-" << "U3 U1" << false;
}

void tst_trcontroller::queuePolicy()
{
    QFETCH(QString, waiting);
    QFETCH(QString, action);
    QFETCH(QString, queueAfter);
    QFETCH(bool, full);

    TRController controller;
    controller.AddTask(new Task(FCProtocol::INFO_RD, false)); // keeps the controller busy
    QHash<Task*, QString> names;
    QList<QPointer<Task>> all;
    const auto add = [&](QChar kind, int pollType, const QString& name) {
        auto* task = new Task(kind == 'U' ? FCProtocol::STORE : pollType, kind == 'U');
        names.insert(task, name);
        all << task;
        controller.AddTask(task);
    };
    for (int i = 0; i < waiting.size(); ++i)
        add(waiting[i], kPollTypes[i], waiting[i] + QString::number(i));
    if (full)
        QTest::ignoreMessage(QtDebugMsg, "Task Full!");
    if (action == "-")
        controller.DropPolls();
    else
        add(action[0] == 'S' ? QChar('P') : action[0],
            action[0] == 'S' ? kPollTypes[0] : int(FCProtocol::INFO_RD), QStringLiteral("new"));

    QStringList queued;
    for (Task* task : controller.waitingTasks())
        queued << names.value(task);
    QCOMPARE(queued.join(' '), queueAfter);
    // Whatever left the queue is gone at once and can never report.
    int alive = 0;
    for (const QPointer<Task>& task : all)
        alive += task.isNull() ? 0 : 1;
    QCOMPARE(alive, queued.size());
}

void tst_trcontroller::clearTaskDeletesWaitingTasksOnly()
{
    TRController controller;
    Recorder recorder;
    auto* running = new Task(FCProtocol::INFO_RD, false);
    recorder.watch(running, "running");
    controller.AddTask(running);

    auto* w1 = new Task(FCProtocol::STATUS_RD, false);
    auto* w2 = new Task(FCProtocol::RC_RD, false);
    recorder.watch(w1, "w1");
    recorder.watch(w2, "w2");
    QSignalSpy destroyed1(w1, &QObject::destroyed);
    QSignalSpy destroyed2(w2, &QObject::destroyed);
    controller.AddTask(w1);
    controller.AddTask(w2);

    controller.ClearTask();
    QCOMPARE(destroyed1.count(), 1);
    QCOMPARE(destroyed2.count(), 1);
    QCOMPARE(controller.waitingCount(), 0);
    QVERIFY(controller.isBusy());

    QTRY_COMPARE_WITH_TIMEOUT(recorder.order, QStringList{"running"}, 5000);
    QVERIFY(!controller.isBusy());
    QCOMPARE(VirtualFC::requestCount(FCProtocol::STATUS_RD), 0);
    QCOMPARE(VirtualFC::requestCount(FCProtocol::RC_RD), 0);
}

void tst_trcontroller::taskAddedFromTaskDoneWaitsItsTurn()
{
    TRController controller;
    auto* first = new Task(FCProtocol::INFO_RD, false);
    Task* second = nullptr;
    bool busyInHandler = false;
    int waitingInHandler = -1;
    int requestsInHandler = -1;
    int secondStatus = 1;
    connect(first, &Task::TaskDone, this, [&](Task* done) {
        second = new Task(FCProtocol::STATUS_RD, false);
        connect(second, &Task::TaskDone, this, [&secondStatus](Task* t) {
            secondStatus = t->status;
            t->deleteLater();
        });
        controller.AddTask(second);
        busyInHandler = controller.isBusy();
        waitingInHandler = controller.waitingCount();
        requestsInHandler = VirtualFC::requestCount(FCProtocol::STATUS_RD);
        done->deleteLater();
    });
    controller.AddTask(first);
    QTRY_VERIFY_WITH_TIMEOUT(second != nullptr, 3000);
    QVERIFY(busyInHandler);
    QCOMPARE(waitingInHandler, 1); // queued behind the finishing task, not started
    QCOMPARE(requestsInHandler, 0);

    QTRY_COMPARE_WITH_TIMEOUT(secondStatus, 0, 3000);
    QTRY_VERIFY_WITH_TIMEOUT(!controller.isBusy(), 1000);
}

void tst_trcontroller::taskDoneArrivesOnTheOwningThread()
{
    TRController controller;
    auto* task = new Task(FCProtocol::INFO_RD, false);
    QThread* deliveredOn = nullptr;
    connect(task, &Task::TaskDone, task, [&deliveredOn] { deliveredOn = QThread::currentThread(); },
            Qt::DirectConnection);
    QSignalSpy done(task, &Task::TaskDone);
    controller.AddTask(task);
    QVERIFY(done.wait(3000));
    QCOMPARE(deliveredOn, QThread::currentThread());
    QCOMPARE(deliveredOn, controller.thread());
    delete task;
}

void tst_trcontroller::invalidTaskEndsWithStatusMinus2()
{
    TRController controller;
    QTest::ignoreMessage(QtDebugMsg, "invalid frame id!");
    auto* task = new Task(20, false);
    QSignalSpy done(task, &Task::TaskDone);
    QTest::ignoreMessage(QtDebugMsg, "Wrong Tx Length!");
    controller.AddTask(task);
    QVERIFY(done.wait(3000));
    QCOMPARE(task->status, -2);
    QVERIFY(VirtualFC::writtenReports().isEmpty());
    delete task;
}

void tst_trcontroller::destroyedMidTransactionWaitsForTheTransfer_data()
{
    QTest::addColumn<int>("fault");
    QTest::newRow("controller silent") << int(VirtualFC::Fault::NoAnswer);
    // A report every millisecond, without end.
    QTest::newRow("controller babbling") << int(VirtualFC::Fault::Babble);
}

void tst_trcontroller::destroyedMidTransactionWaitsForTheTransfer()
{
    QFETCH(int, fault);
    VirtualFC::setFault(VirtualFC::Fault(fault), -1, 1);
    auto* controller = new TRController;
    auto* running = new Task(FCProtocol::INFO_RD, false);
    auto* waiting = new Task(FCProtocol::STATUS_RD, false);
    QSignalSpy runningDone(running, &Task::TaskDone);
    QSignalSpy runningDestroyed(running, &QObject::destroyed);
    QSignalSpy waitingDestroyed(waiting, &QObject::destroyed);
    controller->AddTask(running);
    controller->AddTask(waiting);
    QTRY_COMPARE_WITH_TIMEOUT(VirtualFC::requestCount(FCProtocol::INFO_RD), 1, 3000);
    if (VirtualFC::Fault(fault) == VirtualFC::Fault::Babble)
        QTRY_VERIFY_WITH_TIMEOUT(VirtualFC::answeredCount() > 0, 3000); // the babble follows the reply

    QTest::ignoreMessage(QtDebugMsg, "Transfer Cancelled!");
    QElapsedTimer clock;
    clock.start();
    delete controller; // must not pull the transport from under the pool thread
    QVERIFY2(clock.elapsed() < QtUsbHID::kReplyWaitMs, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(waitingDestroyed.count(), 1);
    QCOMPARE(runningDestroyed.count(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(runningDone.count(), 0);
    QCOMPARE(VirtualFC::requestCount(FCProtocol::STATUS_RD), 0);
    QVERIFY(!VirtualFC::isOpen()); // the transport closed the device when it went
}

QTEST_GUILESS_MAIN(tst_trcontroller)
#include "tst_trcontroller.moc"
