// The link supervisor on its own: a script of telemetry replies, failed reads, updates and
// tasks to send in, and everything it said and decided out, in order: the telemetry it passed
// on, the failures, the radio-only board, each connection that begins and the bootloader notice
// (once per connection, never while or after an update on it), every change of the connection
// and of who receives results, and which tasks may go out.
#include "engine/linksupervisor.h"
#include "finishedtask.h"

#include <QtTest>

using FCProtocol::Task;

namespace {

qint32 board(int id)
{
    return qint32(0xF0000000u | (quint32(id) << 16) | 0x0105u);
}

QString routeName(LinkSupervisor::Route route)
{
    switch (route) {
    case LinkSupervisor::Route::Nobody: return QStringLiteral("route nobody");
    case LinkSupervisor::Route::FirmwarePage: return QStringLiteral("route firmware page");
    case LinkSupervisor::Route::CurrentPageAndScope: return QStringLiteral("route page and scope");
    }
    return QString();
}

} // namespace

class TestLinkSupervisor : public QObject
{
    Q_OBJECT

private slots:
    void run_data();
    void run();
    void selfTest_data();
    void selfTest();
};

void TestLinkSupervisor::run_data()
{
    // Events: "tick"; "info <board id hex> [mode] [errorCode]" (a telemetry reply); "failed
    // <status>" (a failed telemetry read, -1 the device gone); "short" (a reply that ends inside
    // the record); "other <status>" (a STATUS_RD); "updating on|off"; "read <type>" (a page's
    // periodic read to send) and "command <type>" (an urgent one).
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("last"); // lastInfo()'s board word, "" while none was decoded

    const QStringList up30{"telemetry F0300105 mode 0 error 0", "link up", "connected", "route page and scope"};
    const QString flight = QStringLiteral("telemetry F0300105 mode 0 error 0");
    const QString boot = QStringLiteral("telemetry F0300105 mode 1 error 0");
    const QStringList upBoot{boot, "link up", "bootloader notice", "connected", "route page and scope"};

    QTest::newRow("the tick reads the telemetry, whatever the state")
        << QStringList{"tick", "updating on", "tick"} << QStringList{"INFO_RD", "route firmware page", "INFO_RD"} << "";
    for (int id : {0x28, 0x30})
        QTest::addRow("board %x connects", id) << QStringList{QStringLiteral("info %1").arg(id, 0, 16)}
                                               << QStringList{"telemetry " + QString::number(quint32(board(id)), 16).toUpper() + " mode 0 error 0",
                                                              "link up", "connected", "route page and scope"}
                                               << QString::number(quint32(board(id)), 16).toUpper();
    QTest::newRow("a record passes on whole")
        << QStringList{"info 30 1 9"}
        << QStringList{"telemetry F0300105 mode 1 error 9", "link up", "bootloader notice", "connected", "route page and scope"}
        << "F0300105";
    QTest::newRow("an unsupported board: nobody receives results")
        << QStringList{"info 10", "other 0"} << QStringList() << "F0100105";
    QTest::newRow("connected, another board, a supported one again")
        << QStringList{"info 30", "info 99", "info 28"}
        << up30 + QStringList{"not connected", "route nobody", "telemetry F0280105 mode 0 error 0", "link up", "connected",
                              "route page and scope"}
        << "F0280105";
    // A lost link keeps routing: the pages see their own failures.
    for (int status = -1; status >= -5; --status)
        QTest::addRow("connected, then the read fails with %d", status)
            << QStringList{"info 30", QStringLiteral("failed %1").arg(status)}
            << up30 + QStringList{QStringLiteral("failed %1").arg(status)} << "F0300105";
    QTest::newRow("a failed read before any reply") << QStringList{"failed -2"} << QStringList{"failed -2"} << "";
    QTest::newRow("a failed other task changes nothing") << QStringList{"info 30", "other -2"} << up30 << "F0300105";
    QTest::newRow("a short reply is no telemetry") << QStringList{"short"} << QStringList() << "";
    QTest::newRow("connected, then a short reply") << QStringList{"info 30", "short"} << up30 << "F0300105";

    // The radio-only board trims the window once per run, and only as the first supported one.
    QTest::newRow("radio-only board, twice")
        << QStringList{"info 40", "info 40"}
        << QStringList{"telemetry F0400105 mode 0 error 0", "radio-only", "link up", "connected", "route page and scope",
                       "telemetry F0400105 mode 0 error 0"}
        << "F0400105";
    QTest::newRow("radio-only board after another supported one")
        << QStringList{"info 30", "info 40"} << up30 + QStringList{"telemetry F0400105 mode 0 error 0"} << "F0400105";
    QTest::newRow("radio-only board after an unsupported one")
        << QStringList{"info 10", "info 40"}
        << QStringList{"telemetry F0400105 mode 0 error 0", "radio-only", "link up", "connected", "route page and scope"}
        << "F0400105";

    // While an update runs the firmware page alone receives results, connected or not.
    QTest::newRow("update while connected")
        << QStringList{"info 30", "updating on", "failed -1", "info 10", "updating off"}
        << up30 + QStringList{"route firmware page", "failed -1", "not connected", "route nobody"} << "F0100105";
    QTest::newRow("update while nothing answers")
        << QStringList{"updating on", "updating off"} << QStringList{"route firmware page", "route nobody"} << "";

    // Connections: the first telemetry of a supported board after the start, a lost device (or
    // two lost replies in a row) or another board begins one (more telemetry does not: "radio-only
    // board, twice"); one lost reply does not end it.
    QTest::newRow("bootloader, answered three times")
        << QStringList{"info 30 1", "info 30 1", "info 30 1"} << upBoot + QStringList{boot, boot} << "F0300105";
    QTest::newRow("one lost reply keeps the connection")
        << QStringList{"info 30 1", "failed -2", "info 30 1"} << upBoot + QStringList{"failed -2", boot} << "F0300105";
    QTest::newRow("two lost replies end it")
        << QStringList{"info 30 1", "failed -2", "failed -2", "info 30 1"}
        << upBoot + QStringList{"failed -2", "failed -2", boot, "link up", "bootloader notice"} << "F0300105";
    QTest::newRow("device gone")
        << QStringList{"info 30", "failed -1", "info 30"} << up30 + QStringList{"failed -1", flight, "link up"} << "F0300105";
    QTest::newRow("another board between")
        << QStringList{"info 30 1", "info 10", "info 30 1"}
        << upBoot + QStringList{"not connected", "route nobody"} + upBoot << "F0300105";
    QTest::newRow("bootloader after flight, same connection")
        << QStringList{"info 30", "info 30 1"} << up30 + QStringList{boot, "bootloader notice"} << "F0300105";
    QTest::newRow("update over, the board plugged in again")
        << QStringList{"info 30", "updating on", "failed -1", "info 30 1", "updating off", "failed -1", "info 30 1"}
        << up30 + QStringList{"route firmware page", "failed -1", boot, "link up", "route page and scope", "failed -1", boot,
                              "link up", "bootloader notice"}
        << "F0300105";
    QTest::newRow("verify failed: in the bootloader after the update")
        << QStringList{"info 30", "updating on", "failed -1", "info 30 1", "updating off", "info 30 1"}
        << up30 + QStringList{"route firmware page", "failed -1", boot, "link up", "route page and scope", boot} << "F0300105";

    // What may go out: a page's read waits for the telemetry of a connection, and a bootloader
    // gets only the reads it answers; the telemetry read, commands and an update's requests go.
    QTest::newRow("before any telemetry only the telemetry read and commands go")
        << QStringList{"read STATUS_RD", "read INFO_RD", "command STORE", "info 30", "read STATUS_RD"}
        << QStringList{"STATUS_RD waits", "INFO_RD goes", "STORE goes"} + up30 + QStringList{"STATUS_RD goes"}
        << "F0300105";
    QTest::newRow("a bootloader gets the reads it answers")
        << QStringList{"info 30 1", "read STATUS_RD", "read FW_INFO_RD", "updating on", "read STATUS_RD"}
        << upBoot + QStringList{"STATUS_RD waits", "FW_INFO_RD goes", "route firmware page", "STATUS_RD goes"}
        << "F0300105";
    QTest::newRow("a lost device: the reads wait for its telemetry again")
        << QStringList{"info 30", "failed -1", "read PARA_RD", "info 30", "read PARA_RD"}
        << up30 + QStringList{"failed -1", "PARA_RD waits", flight, "link up", "PARA_RD goes"} << "F0300105";
}

void TestLinkSupervisor::run()
{
    QFETCH(QStringList, events);
    QFETCH(QStringList, expected);
    QFETCH(QString, last);

    LinkSupervisor link;
    QStringList log;
    std::vector<std::unique_ptr<Task>> sent;
    connect(&link, &LinkSupervisor::sendTask, this, [&](Task* task) {
        sent.emplace_back(task);
        const bool right = task->type == FCProtocol::INFO_RD && task->txData == QByteArray("\x05\x00", 2) && !task->urgent;
        log << (right ? QStringLiteral("INFO_RD") : QStringLiteral("wrong request"));
    });
    connect(&link, &LinkSupervisor::telemetry, this, [&](FCProtocol::DS_INFO_RD info) {
        log << QStringLiteral("telemetry %1 mode %2 error %3")
                   .arg(QString::number(quint32(info.boardWord), 16).toUpper())
                   .arg(info.mode)
                   .arg(info.errorCode);
        // The rest of the record, as the controller sent it.
        if (info.extra1 != 1 || info.extra2 != 2 || info.extra3 != 3)
            log << QStringLiteral("record garbled");
    });
    connect(&link, &LinkSupervisor::telemetryFailed, this, [&](int status) { log << QStringLiteral("failed %1").arg(status); });
    connect(&link, &LinkSupervisor::radioOnlyBoard, this, [&] { log << QStringLiteral("radio-only"); });
    connect(&link, &LinkSupervisor::linkUp, this, [&] { log << QStringLiteral("link up"); });
    connect(&link, &LinkSupervisor::bootloaderWaiting, this, [&] { log << QStringLiteral("bootloader notice"); });
    const QMap<QString, int> types{{"STATUS_RD", FCProtocol::STATUS_RD}, {"INFO_RD", FCProtocol::INFO_RD},
                                   {"FW_INFO_RD", FCProtocol::FW_INFO_RD}, {"PARA_RD", FCProtocol::PARA_RD},
                                   {"STORE", FCProtocol::STORE}};

    bool connected = false;
    LinkSupervisor::Route route = LinkSupervisor::Route::Nobody;
    for (const QString& event : events) {
        const QStringList w = event.split(' ');
        if (w[0] == QLatin1String("tick")) {
            link.tick();
        } else if (w[0] == QLatin1String("updating")) {
            link.setUpdating(w[1] == QLatin1String("on"));
        } else if (w[0] == QLatin1String("read") || w[0] == QLatin1String("command")) {
            Task task(types.value(w[1]), false);
            task.urgent = w[0] == QLatin1String("command");
            log << w[1] + (link.admits(&task) ? QStringLiteral(" goes") : QStringLiteral(" waits"));
        } else {
            const bool info = w[0] != QLatin1String("other");
            const int status = w[0] == QLatin1String("failed") || !info ? w[1].toInt() : 0;
            const QByteArray record = littleEndian(qint8(w.value(2, QStringLiteral("0")).toInt()),
                                                   quint8(w.value(3, QStringLiteral("0")).toInt()),
                                                   board(w[0] == QLatin1String("info") ? w[1].toInt(nullptr, 16) : 0x30),
                                                   qint32(1), qint32(2), qint32(3));
            auto task = finishedTask(info ? FCProtocol::INFO_RD : FCProtocol::STATUS_RD, record, status);
            if (w[0] == QLatin1String("short")) {
                task->rxData.truncate(6);
                QTest::ignoreMessage(QtDebugMsg, "Short telemetry reply: 6 bytes");
            }
            link.taskDone(task.get());
        }
        if (link.isConnected() != connected)
            log << (link.isConnected() ? QStringLiteral("connected") : QStringLiteral("not connected"));
        if (link.route() != route)
            log << routeName(link.route());
        connected = link.isConnected();
        route = link.route();
    }
    QCOMPARE(log, expected);
    QCOMPARE(link.hasInfo(), !last.isEmpty());
    if (link.hasInfo())
        QCOMPARE(QString::number(quint32(link.lastInfo().boardWord), 16).toUpper(), last);
}

void TestLinkSupervisor::selfTest_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("errorCode");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("good");

    const QStringList errors{"Self-Test OK",
                             "Critical system error",
                             "Sensors are initializing",
                             "Gyroscope error",
                             "Compass error",
                             "Sensors error",
                             "AHRS is initializing",
                             "RC calibration error (not calibrated or calibrating)",
                             "RC signal lost",
                             "RC error",
                             "Compass not calibrated",
                             "Invalid parameter",
                             "Parameter error",
                             "Magnetic noise",
                             "Unknown error"};
    for (int code = 0; code <= 14; ++code)
        QTest::addRow("mode 0 errorCode %d", code) << 0 << code << errors[code] << (code == 0);
    QTest::newRow("mode 0 errorCode 128 (unsigned)") << 0 << 128 << "Unknown error" << false;
    QTest::newRow("mode 0 errorCode 255") << 0 << 255 << "Unknown error" << false;
    QTest::newRow("mode 1") << 1 << 0 << "Firmware Update Mode" << true;
    QTest::newRow("mode 1 with an error") << 1 << 9 << "Firmware Update Mode" << true;
    QTest::newRow("mode 2") << 2 << 0 << "Critical Error: Unknown Mode" << false;
    QTest::newRow("mode -1") << -1 << 0 << "Critical Error: Unknown Mode" << false;
}

void TestLinkSupervisor::selfTest()
{
    QFETCH(int, mode);
    QFETCH(int, errorCode);
    QFETCH(QString, text);
    QFETCH(bool, good);
    FCProtocol::DS_INFO_RD record;
    record.mode = qint8(mode);
    record.errorCode = quint8(errorCode);
    const LinkSupervisor::SelfTest test = LinkSupervisor::selfTest(record);
    QCOMPARE(test.text, text);
    QCOMPARE(test.good, good);
}

QTEST_GUILESS_MAIN(TestLinkSupervisor)
#include "tst_linksupervisor.moc"
