// The main window's reminder of changes not stored in the controller: set by every successful
// write (PARA_WR, RC_WR, a FRAME_RW write) and by nothing else, cleared by a successful STORE
// or DEFAULT_RESTORE, shown on the Save button, and asked about when the window closes.
#include "modalanswer.h"

#include "app/fcapp.h"
#include "protocol/frameids.h"
#include "protocol/task.h"
#include "usb/trcontroller.h"
#include "virtualfc.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

namespace {

const char* kTip = "Changes are not stored in the controller yet. Press Save to keep them after a power cycle.";

} // namespace

class TestNotStored : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void markedBy_data();
    void markedBy();
    void restoreDefaultsClears();
    void failedStoreKeepsMark();
    void closeQuestion_data();
    void closeQuestion();

private:
    // Queues a task through the main window and waits until it has been handled and deleted.
    bool run(int type, const QByteArray& payload);
    bool marked();
    QPushButton* button(const char* name) { return app->findChild<QPushButton*>(QLatin1String(name)); }

    FCApp* app = nullptr;
};

void TestNotStored::initTestCase()
{
    // A closed window must not end the runs of the event loop that later rows need.
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestNotStored::init()
{
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    app = new FCApp;
    // Only the tasks of the test travel.
    app->infoTimer()->stop();
    app->pageTimer()->stop();
}

void TestNotStored::cleanup()
{
    delete app;
    app = nullptr;
}

bool TestNotStored::run(int type, const QByteArray& payload)
{
    auto* task = new FCProtocol::Task(type, false);
    task->txData.append(payload);
    task->urgent = type != FCProtocol::PARA_RD && type != FCProtocol::RC_RD;
    QPointer<FCProtocol::Task> watched(task);
    if (!QMetaObject::invokeMethod(app, "PreAddTask", Qt::DirectConnection, Q_ARG(FCProtocol::Task*, task)))
        return false;
    return QTest::qWaitFor([&] { return watched.isNull(); }, 5000);
}

// The mark as the pilot sees it, checked against the window's own flag.
bool TestNotStored::marked()
{
    QPushButton* save = button("pushButton_storge");
    const bool shown = save->styleSheet().contains(QLatin1String(":/GUI/save4.png"));
    if (shown != app->hasUnstoredChanges() || shown != (save->toolTip() == QLatin1String(kTip)))
        qFatal("the Save button and the flag disagree");
    return shown;
}

void TestNotStored::markedBy_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("fault");
    QTest::addColumn<bool>("mark");

    const QByteArray para = VirtualFC::defaultPara();
    const int none = -1;
    QTest::newRow("PARA_WR") << int(FCProtocol::PARA_WR) << para << none << true;
    QTest::newRow("RC_WR") << int(FCProtocol::RC_WR) << QByteArray::fromHex("0000000001020300") << none << true;
    QTest::newRow("FRAME_RW write") << int(FCProtocol::FRAME_RW) << QByteArray::fromHex("010301") << none << true;
    QTest::newRow("FRAME_RW read") << int(FCProtocol::FRAME_RW) << QByteArray::fromHex("00") << none << false;
    QTest::newRow("PARA_RD poll") << int(FCProtocol::PARA_RD) << QByteArray() << none << false;
    QTest::newRow("RC_RD poll") << int(FCProtocol::RC_RD) << QByteArray() << none << false;
    QTest::newRow("PARA_WR unanswered") << int(FCProtocol::PARA_WR) << para << int(VirtualFC::Fault::NoAnswer) << false;
    QTest::newRow("RC_WR with a bad CRC") << int(FCProtocol::RC_WR) << QByteArray::fromHex("0000000001020300")
                                          << int(VirtualFC::Fault::BadCrc) << false;
    QTest::newRow("FRAME_RW write, wrong echo") << int(FCProtocol::FRAME_RW) << QByteArray::fromHex("010301")
                                                << int(VirtualFC::Fault::BadEcho) << false;
}

void TestNotStored::markedBy()
{
    QFETCH(int, type);
    QFETCH(QByteArray, payload);
    QFETCH(int, fault);
    QFETCH(bool, mark);

    QVERIFY(!marked());
    if (fault >= 0)
        VirtualFC::setFault(VirtualFC::Fault(fault), 1);
    QVERIFY(run(type, payload));
    QCOMPARE(marked(), mark);

    // Save stores the working values and clears the mark.
    button("pushButton_storge")->click();
    QTRY_COMPARE_WITH_TIMEOUT(VirtualFC::requestCount(FCProtocol::STORE), 1, 3000);
    QTRY_VERIFY_WITH_TIMEOUT(!app->controller()->isBusy() && app->controller()->waitingCount() == 0, 3000);
    QTRY_VERIFY(!marked());
    QCOMPARE(VirtualFC::flashPara(), VirtualFC::para());
}

void TestNotStored::restoreDefaultsClears()
{
    QVERIFY(run(FCProtocol::PARA_WR, VirtualFC::defaultPara()));
    QVERIFY(marked());
    {
        ModalAnswer cancel(ModalAnswer::Reject);
        button("pushButton_default")->click();
        QVERIFY(cancel.answered());
    }
    QVERIFY(marked());
    ModalAnswer ok(ModalAnswer::Accept);
    button("pushButton_default")->click();
    QVERIFY(ok.answered());
    QTRY_COMPARE_WITH_TIMEOUT(VirtualFC::requestCount(FCProtocol::DEFAULT_RESTORE), 1, 3000);
    QTRY_VERIFY_WITH_TIMEOUT(!marked(), 3000);
}

void TestNotStored::failedStoreKeepsMark()
{
    QVERIFY(run(FCProtocol::PARA_WR, VirtualFC::defaultPara()));
    VirtualFC::setFault(VirtualFC::Fault::BadCrc, 1, 0, FCProtocol::STORE);
    QVERIFY(run(FCProtocol::STORE, QByteArray::fromHex("ab")));
    QVERIFY(marked());
    QVERIFY(run(FCProtocol::STORE, QByteArray::fromHex("ab")));
    QVERIFY(!marked());
}

void TestNotStored::closeQuestion_data()
{
    QTest::addColumn<bool>("unstored");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<bool>("closes");
    QTest::newRow("all stored: closes without asking") << false << true << true;
    QTest::newRow("not stored, Cancel keeps the window") << true << false << false;
    QTest::newRow("not stored, OK closes") << true << true << true;
}

void TestNotStored::closeQuestion()
{
    QFETCH(bool, unstored);
    QFETCH(bool, accept);
    QFETCH(bool, closes);

    if (unstored)
        QVERIFY(run(FCProtocol::RC_WR, QByteArray::fromHex("0000000001020300")));
    app->show();
    QVERIFY(QTest::qWaitForWindowExposed(app));
    ModalAnswer answer(accept ? ModalAnswer::Accept : ModalAnswer::Reject, unstored ? 5000 : 200);
    QTest::mouseClick(button("pushButton_appClose"), Qt::LeftButton);
    QCOMPARE(answer.answered(), unstored);
    if (unstored)
        QCOMPARE(answer.shownText(),
                 QStringLiteral("Changes are not stored in the controller yet and are lost when it is "
                                "switched off. Close anyway?"));
    QCOMPARE(app->isVisible(), !closes);
    QCOMPARE(marked(), unstored);
}

QTEST_MAIN(TestNotStored)

#include "tst_notstored.moc"
