#include "protocol/crc16.h"
#include "protocol/frame.h"
#include "protocol/frameids.h"
#include "virtualfc.h"

#include <hidapi/hidapi.h>

#include <QDataStream>
#include <QElapsedTimer>
#include <QtTest>

using namespace FCProtocol;
using VirtualFC::Fault;

Q_DECLARE_METATYPE(VirtualFC::Fault)
Q_DECLARE_METATYPE(VirtualFC::WrongId)
Q_DECLARE_METATYPE(FCProtocol::Frame::ReplyCheck)

namespace {

QByteArray requestFrame(int type, const QByteArray& payload = QByteArray())
{
    FrameId id{};
    frameIdOf(type, &id);
    QByteArray head;
    head.append(char(id.classByte));
    head.append(char(id.idByte));
    return Frame::finished(head + payload);
}

QByteArray int32Bytes(qint32 v)
{
    QByteArray out;
    for (int i = 0; i < 4; ++i)
        out.append(char((quint32(v) >> (8 * i)) & 0xFF));
    return out;
}

// A little-endian reader over a reply payload.
struct Payload {
    QByteArray bytes;
    QDataStream in;
    explicit Payload(const QByteArray& reply)
        : bytes(reply.mid(2))
        , in(&bytes, QIODevice::ReadOnly)
    {
        in.setByteOrder(QDataStream::LittleEndian);
        in.setFloatingPointPrecision(QDataStream::SinglePrecision);
    }
    template <typename T>
    T next()
    {
        T v{};
        in >> v;
        return v;
    }
};

// The host end of the link, reading the way the transport does: non-blocking polls until
// 10 ms pass without a report, or 1000 ms without any.
struct Host {
    hid_device* dev = nullptr;
    quint8 reportId = 0;

    ~Host() { close(); }

    bool open()
    {
        dev = hid_open(VirtualFC::kVendorId, VirtualFC::kProductId, nullptr);
        if (dev)
            hid_set_nonblocking(dev, 1);
        return dev != nullptr;
    }
    void close()
    {
        if (dev)
            hid_close(dev);
        dev = nullptr;
    }
    // hid_write result of the first failing report, else 65.
    int send(const QByteArray& frame)
    {
        for (const QByteArray& report : Frame::reports(frame, reportId)) {
            const int n = hid_write(dev, reinterpret_cast<const unsigned char*>(report.constData()),
                                    size_t(report.size()));
            if (n != report.size())
                return n;
        }
        return Frame::kReportSize;
    }
    int readOne(QByteArray* data)
    {
        unsigned char buffer[65];
        const int n = hid_read(dev, buffer, reportId ? 65 : 64);
        if (n > 0)
            *data = QByteArray(reinterpret_cast<const char*>(buffer), n);
        return n;
    }
    // For QTRY_*, which evaluates its expression once more after success: reads until a
    // report arrives, then keeps answering that report's length.
    int polled = 0;
    int poll(QByteArray* data)
    {
        if (polled <= 0)
            polled = readOne(data);
        return polled;
    }
    QByteArray collect(int* error = nullptr)
    {
        QByteArray reply;
        QElapsedTimer timer;
        timer.start();
        for (;;) {
            QByteArray report;
            const int n = readOne(&report);
            if (n < 0) {
                if (error)
                    *error = n;
                return reply;
            }
            if (n > 0) {
                reply.append(report.mid(reportId ? 1 : 0));
                timer.restart();
            } else if (timer.elapsed() > (reply.isEmpty() ? 1000 : 10)) {
                return reply;
            }
        }
    }
    QByteArray transact(int type, const QByteArray& payload = QByteArray())
    {
        if (send(requestFrame(type, payload)) != Frame::kReportSize)
            return QByteArray();
        return collect();
    }
};

} // namespace

// The virtual flight controller as seen through the hidapi functions.
class tst_virtualfc : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openNeedsTheBoardsIds_data();
    void openNeedsTheBoardsIds();
    void unpluggedBoardCannotBeOpenedAndOldHandlesStayDead();
    void enumerateListsThePluggedBoard();
    void infoReadOnTheWire();
    void replyClassBit7IsASwitch();
    void everyFrameIdIsAnswered_data();
    void everyFrameIdIsAnswered();
    void badRequestsGetNoReply();
    void reportIdMode_data();
    void reportIdMode();
    void replyWaitsForTheLastRequestReport();
    void realisticTimingDelaysTheReply();
    void writesTakeAboutAMillisecondPerReport();
    void fastTimingAnswersAtOnce();
    void unreadRepliesWaitInTheHandle();
    void replyFaults_data();
    void replyFaults();
    void splitReplyHoldsBackTheSecondReport();
    void faultCountsAndTypeFilter();
    void noAnswerDropsThreeRepliesThenAnswers();
    void writeFailAndShortWrite();
    void readErrorAfterReports();
    void fixedAttitude();
    void movingAttitudeStaysWithinBounds();
    void motorTestShowsMotorCheck();
    void frameReadAndWrite();
    void paraWriteStoreAndRestore();
    void rcWriteIsStoredAndEchoed();
    void rcRecognitionPhase();
    void rcWithoutRecognitionPhase();
    void rcCalibrationWidensRanges();
    void scopeNamesAndValues();
    void bootloaderRoundTrip();

private:
    Host host;
};

void tst_virtualfc::init()
{
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    host.reportId = 0;
    host.polled = 0;
}

void tst_virtualfc::cleanup()
{
    host.close();
    VirtualFC::reset();
}

void tst_virtualfc::openNeedsTheBoardsIds_data()
{
    QTest::addColumn<int>("vendor");
    QTest::addColumn<int>("product");
    QTest::addColumn<bool>("opens");
    QTest::newRow("the controller") << 0x0483 << 0x5750 << true;
    QTest::newRow("other product") << 0x0483 << 0x5751 << false;
    QTest::newRow("other vendor") << 0x0484 << 0x5750 << false;
}

void tst_virtualfc::openNeedsTheBoardsIds()
{
    QFETCH(int, vendor);
    QFETCH(int, product);
    QFETCH(bool, opens);
    hid_device* dev = hid_open(ushort(vendor), ushort(product), nullptr);
    QCOMPARE(dev != nullptr, opens);
    QCOMPARE(VirtualFC::isOpen(), opens);
    QCOMPARE(VirtualFC::openCount(), opens ? 1 : 0);
    if (dev) {
        hid_close(dev);
        QCOMPARE(VirtualFC::closeCount(), 1);
        QVERIFY(!VirtualFC::isOpen());
    } else {
        QVERIFY(hid_error(nullptr) != nullptr);
    }
}

void tst_virtualfc::unpluggedBoardCannotBeOpenedAndOldHandlesStayDead()
{
    QVERIFY(host.open());
    VirtualFC::setPlugged(false);
    QCOMPARE(hid_open(VirtualFC::kVendorId, VirtualFC::kProductId, nullptr), nullptr);
    QCOMPARE(host.send(requestFrame(INFO_RD)), -1);
    QByteArray report;
    QCOMPARE(host.readOne(&report), -1);
    QVERIFY(QString::fromWCharArray(hid_error(host.dev)).contains("disconnected"));

    // A replugged board is a new device: the old handle stays dead, a new one works.
    VirtualFC::setPlugged(true);
    QCOMPARE(host.send(requestFrame(INFO_RD)), -1);
    host.close();
    QVERIFY(host.open());
    QCOMPARE(Frame::checkReply(requestFrame(INFO_RD), host.transact(INFO_RD), 2), Frame::ReplyOk);
}

void tst_virtualfc::enumerateListsThePluggedBoard()
{
    hid_device_info* list = hid_enumerate(0, 0);
    QVERIFY(list);
    QCOMPARE(list->vendor_id, VirtualFC::kVendorId);
    QCOMPARE(list->product_id, VirtualFC::kProductId);
    QCOMPARE(list->next, nullptr);
    hid_free_enumeration(list);

    // An open handle describes its board, and keeps the description.
    QVERIFY(host.open());
    const hid_device_info* info = hid_get_device_info(host.dev);
    QVERIFY(info);
    QCOMPARE(QByteArray(info->path), QByteArray(VirtualFC::kPath));
    QCOMPARE(hid_get_device_info(host.dev), info);

    VirtualFC::setPlugged(false);
    QCOMPARE(hid_enumerate(0, 0), nullptr);
}

void tst_virtualfc::infoReadOnTheWire()
{
    QVERIFY(host.open());
    const QByteArray request = requestFrame(INFO_RD);
    const QByteArray reply = host.transact(INFO_RD);

    QCOMPARE(reply.size(), 64);
    QCOMPARE(Frame::checkReply(request, reply, 2), Frame::ReplyOk);
    QCOMPARE(quint8(reply[0]), quint8(0x05)); // bit 7 clear by default
    Payload p(reply);
    QCOMPARE(p.next<qint8>(), qint8(0));
    QCOMPARE(p.next<quint8>(), quint8(0));
    QCOMPARE(p.next<qint32>(), qint32(0xF0300105));

    // The exact report that went out, and the frame the controller assembled from it.
    const QList<QByteArray> written = VirtualFC::writtenReports();
    QCOMPARE(written.size(), 1);
    QCOMPARE(written[0].size(), 65);
    QCOMPARE(written[0].left(3), QByteArray::fromHex("000500"));
    QCOMPARE(written[0].right(2), QByteArray::fromHex("02ae"));
    QCOMPARE(VirtualFC::requests(), QList<QByteArray>{request});
    QCOMPARE(VirtualFC::replies(), QList<QByteArray>{reply});
    QCOMPARE(VirtualFC::requestCount(INFO_RD), 1);
    QCOMPARE(VirtualFC::answeredCount(), 1);

    VirtualFC::clearRecords();
    QVERIFY(VirtualFC::writtenReports().isEmpty());
    QCOMPARE(VirtualFC::requestCount(INFO_RD), 0);
}

void tst_virtualfc::replyClassBit7IsASwitch()
{
    QVERIFY(host.open());
    VirtualFC::setReplyClassBit7(true);
    const QByteArray reply = host.transact(FRAME_RW, QByteArray(1, '\0'));
    QCOMPARE(quint8(reply[0]), quint8(0x83));
    QCOMPARE(Frame::checkReply(requestFrame(FRAME_RW, QByteArray(1, '\0')), reply, 2), Frame::ReplyOk);
}

void tst_virtualfc::everyFrameIdIsAnswered_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("replyPayloadAtLeast");
    const QByteArray command(1, char(0xAB));
    QTest::newRow("STATUS_RD") << int(STATUS_RD) << QByteArray() << 30;
    QTest::newRow("PARA_RD") << int(PARA_RD) << QByteArray() << 89;
    QTest::newRow("PARA_WR") << int(PARA_WR) << VirtualFC::defaultPara() << 89;
    QTest::newRow("RC_RD") << int(RC_RD) << QByteArray() << 92;
    QTest::newRow("RC_WR") << int(RC_WR) << QByteArray(8, '\0') << 8;
    QTest::newRow("RC_CALI") << int(RC_CALI) << command << 1;
    QTest::newRow("TYPE_02_03") << int(TYPE_02_03) << QByteArray() << 0;
    QTest::newRow("HORIZON_CALI") << int(HORIZON_CALI) << command << 1;
    QTest::newRow("FRAME_RW") << int(FRAME_RW) << QByteArray(1, '\0') << 3;
    QTest::newRow("MOTOR_TEST") << int(MOTOR_TEST) << command << 1;
    QTest::newRow("STORE") << int(STORE) << command << 1;
    QTest::newRow("DEFAULT_RESTORE") << int(DEFAULT_RESTORE) << command << 1;
    QTest::newRow("TYPE_03_05") << int(TYPE_03_05) << QByteArray() << 0;
    QTest::newRow("BOOT_JUMP stay") << int(BOOT_JUMP) << int32Bytes(0xBA) << 4;
    QTest::newRow("FW_INFO_RD") << int(FW_INFO_RD) << QByteArray() << 16;
    QTest::newRow("INFO_RD") << int(INFO_RD) << QByteArray() << 18;
    QTest::newRow("SCOPE_NAME_RD") << int(SCOPE_NAME_RD) << QByteArray() << 1;
    QTest::newRow("SCOPE_DATA_RD") << int(SCOPE_DATA_RD) << QByteArray() << 20;
}

void tst_virtualfc::everyFrameIdIsAnswered()
{
    QFETCH(int, type);
    QFETCH(QByteArray, payload);
    QFETCH(int, replyPayloadAtLeast);
    QVERIFY(host.open());
    const QByteArray reply = host.transact(type, payload);
    QCOMPARE(Frame::checkReply(requestFrame(type, payload), reply, 2), Frame::ReplyOk);
    QVERIFY(reply.size() >= 2 + replyPayloadAtLeast + 2);
    QCOMPARE(VirtualFC::requestCount(type), 1);
    // The flight firmware stays where it is: no jump, no drop off the bus.
    QVERIFY(VirtualFC::isOnBus());
    QCOMPARE(VirtualFC::boardMode(), 0);
}

void tst_virtualfc::badRequestsGetNoReply()
{
    QVERIFY(host.open());
    QByteArray corrupt = requestFrame(INFO_RD);
    corrupt[10] = 1; // CRC no longer matches
    QCOMPARE(host.send(corrupt), 65);
    QByteArray report;
    QCOMPARE(host.readOne(&report), 0); // fast timing: a reply would be here already
    QCOMPARE(VirtualFC::badRequestCount(), 1);
    QCOMPARE(VirtualFC::requestCount(INFO_RD), 0);
    QCOMPARE(VirtualFC::answeredCount(), 0);

    // The flight firmware does not know the bootloader's requests.
    QCOMPARE(host.send(requestFrame(VERIFY)), 65);
    QCOMPARE(host.readOne(&report), 0);
    QCOMPARE(VirtualFC::requestCount(VERIFY), 1);
    QCOMPARE(VirtualFC::answeredCount(), 0);
}

void tst_virtualfc::reportIdMode_data()
{
    QTest::addColumn<int>("deviceId");
    QTest::addColumn<VirtualFC::WrongId>("wrongId");
    QTest::newRow("unnumbered, ignores id 1") << 0 << VirtualFC::WrongId::Ignore;
    QTest::newRow("unnumbered, refuses id 1") << 0 << VirtualFC::WrongId::Refuse;
    QTest::newRow("report id 1, ignores id 0") << 1 << VirtualFC::WrongId::Ignore;
    QTest::newRow("report id 1, refuses id 0") << 1 << VirtualFC::WrongId::Refuse;
}

void tst_virtualfc::reportIdMode()
{
    QFETCH(int, deviceId);
    QFETCH(VirtualFC::WrongId, wrongId);
    VirtualFC::setReportIdMode(deviceId);
    VirtualFC::setWrongId(wrongId);
    QVERIFY(host.open());

    host.reportId = quint8(1 - deviceId);
    if (wrongId == VirtualFC::WrongId::Refuse) {
        QCOMPARE(host.send(requestFrame(INFO_RD)), -1);
        QVERIFY(QString::fromWCharArray(hid_error(host.dev)).startsWith("virtual controller: write failed"));
    } else {
        // Through the bus, but garbage to the board: no answer.
        QCOMPARE(host.send(requestFrame(INFO_RD)), 65);
        QByteArray nothing;
        QCOMPARE(host.readOne(&nothing), 0); // fast timing: a reply would be here already
        QCOMPARE(VirtualFC::badRequestCount(), 1);
        QCOMPARE(VirtualFC::requestCount(INFO_RD), 0);
    }

    host.reportId = quint8(deviceId);
    QCOMPARE(host.send(requestFrame(INFO_RD)), 65);
    QByteArray report;
    QCOMPARE(host.readOne(&report), deviceId ? 65 : 64);
    if (deviceId)
        QCOMPARE(quint8(report[0]), quint8(0x01));
    QCOMPARE(report.mid(deviceId, 2), QByteArray::fromHex("0500"));
}

void tst_virtualfc::replyWaitsForTheLastRequestReport()
{
    QVERIFY(host.open());
    const QList<QByteArray> reports = Frame::reports(requestFrame(PARA_WR, VirtualFC::defaultPara()), 0);
    QCOMPARE(reports.size(), 2);
    const auto write = [this](const QByteArray& r) {
        return hid_write(host.dev, reinterpret_cast<const unsigned char*>(r.constData()), 65);
    };
    QCOMPARE(write(reports[0]), 65);
    QByteArray report;
    QCOMPARE(host.readOne(&report), 0); // half a frame: nothing to answer yet
    QCOMPARE(write(reports[1]), 65);
    QCOMPARE(host.readOne(&report), 64);
    QCOMPARE(report.left(2), QByteArray::fromHex("0101"));
}

void tst_virtualfc::realisticTimingDelaysTheReply()
{
    // A long processing time makes the order observable without racing the clock.
    VirtualFC::setTiming(1000, 300000);
    QVERIFY(host.open());
    QCOMPARE(host.send(requestFrame(INFO_RD)), 65);
    QByteArray report;
    QCOMPARE(host.readOne(&report), 0);
    QCOMPARE(VirtualFC::answeredCount(), 1); // made, but not yet on the wire
    QTRY_COMPARE_WITH_TIMEOUT(host.poll(&report), 64, 2000);
}

void tst_virtualfc::writesTakeAboutAMillisecondPerReport()
{
    VirtualFC::setFastTiming(false);
    QVERIFY(host.open());
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(host.send(requestFrame(BOOT_JUMP, int32Bytes(0xBA)) /* 1 report */), 65);
    QByteArray block = int32Bytes(0);
    block.append(QByteArray(2048, '\x5A'));
    QCOMPARE(host.send(requestFrame(BLOCK_PROG, block)), 65);
    // 34 reports at 1 ms each: the writes cannot have finished sooner.
    QVERIFY2(timer.elapsed() >= 33, qPrintable(QString::number(timer.elapsed())));
}

void tst_virtualfc::fastTimingAnswersAtOnce()
{
    QVERIFY(host.open());
    QCOMPARE(host.send(requestFrame(PARA_RD)), 65);
    QByteArray first, second;
    QCOMPARE(host.readOne(&first), 64);
    QCOMPARE(host.readOne(&second), 64);
    QCOMPARE(Frame::checkReply(requestFrame(PARA_RD), first + second, 2), Frame::ReplyOk);
}

void tst_virtualfc::unreadRepliesWaitInTheHandle()
{
    QVERIFY(host.open());
    QCOMPARE(host.send(requestFrame(PARA_RD)), 65); // two reply reports, not read yet
    QCOMPARE(host.send(requestFrame(FRAME_RW, QByteArray(1, '\0'))), 65);
    QCOMPARE(VirtualFC::bufferedReports(), 3);
    // A second handle sees only what arrives after its open.
    hid_device* other = hid_open(VirtualFC::kVendorId, VirtualFC::kProductId, nullptr);
    QVERIFY(other);
    QCOMPARE(VirtualFC::bufferedReports(), 3);
    hid_close(other);
    // The kernel hands them out in order, the late reader gets the old reply first.
    QByteArray report;
    QCOMPARE(host.readOne(&report), 64);
    QCOMPARE(report.left(2), QByteArray::fromHex("0100"));
    QCOMPARE(VirtualFC::discardedReports(), 0);
    host.close();
    QCOMPARE(VirtualFC::discardedReports(), 2);
}

void tst_virtualfc::replyFaults_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("param");
    QTest::addColumn<Frame::ReplyCheck>("check");
    QTest::addColumn<int>("length");
    QTest::newRow("bad crc") << Fault::BadCrc << 0 << Frame::ReplyWrongCrc << 64;
    QTest::newRow("bad echo") << Fault::BadEcho << 0 << Frame::ReplyWrongEcho << 64;
    QTest::newRow("bad length") << Fault::BadLength << 0 << Frame::ReplyWrongLength << 65;
    QTest::newRow("split, short gap") << Fault::SplitReply << 2 << Frame::ReplyOk << 128;
}

void tst_virtualfc::replyFaults()
{
    QFETCH(Fault, fault);
    QFETCH(int, param);
    QFETCH(Frame::ReplyCheck, check);
    QFETCH(int, length);
    QVERIFY(host.open());
    VirtualFC::setFault(fault, 1, param);
    const QByteArray reply = host.transact(INFO_RD);
    QCOMPARE(reply.size(), length);
    QCOMPARE(Frame::checkReply(requestFrame(INFO_RD), reply, 2), check);
    QCOMPARE(VirtualFC::faultRemaining(fault), 0);
    // Only one transaction was affected.
    QCOMPARE(Frame::checkReply(requestFrame(INFO_RD), host.transact(INFO_RD), 2), Frame::ReplyOk);
}

void tst_virtualfc::splitReplyHoldsBackTheSecondReport()
{
    QVERIFY(host.open());
    VirtualFC::setFault(Fault::SplitReply, 1, 300);
    QCOMPARE(host.send(requestFrame(INFO_RD)), 65);
    QByteArray first, second;
    QCOMPARE(host.readOne(&first), 64);
    QCOMPARE(host.readOne(&second), 0); // the gap has only begun
    QTRY_COMPARE_WITH_TIMEOUT(host.poll(&second), 64, 2000);
    QCOMPARE(Frame::checkReply(requestFrame(INFO_RD), first + second, 2), Frame::ReplyOk);
}

void tst_virtualfc::faultCountsAndTypeFilter()
{
    QVERIFY(host.open());
    const QByteArray info = requestFrame(INFO_RD);
    const QByteArray status = requestFrame(STATUS_RD);

    VirtualFC::setFault(Fault::BadCrc, 2, 0, INFO_RD);
    QCOMPARE(Frame::checkReply(status, host.transact(STATUS_RD), 2), Frame::ReplyOk);
    QCOMPARE(Frame::checkReply(info, host.transact(INFO_RD), 2), Frame::ReplyWrongCrc);
    QCOMPARE(Frame::checkReply(info, host.transact(INFO_RD), 2), Frame::ReplyWrongCrc);
    QCOMPARE(Frame::checkReply(info, host.transact(INFO_RD), 2), Frame::ReplyOk);

    VirtualFC::setFault(Fault::BadEcho, -1);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(Frame::checkReply(info, host.transact(INFO_RD), 2), Frame::ReplyWrongEcho);
    QCOMPARE(VirtualFC::faultRemaining(Fault::BadEcho), -1);
    VirtualFC::clearFaults();
    QCOMPARE(Frame::checkReply(info, host.transact(INFO_RD), 2), Frame::ReplyOk);
}

void tst_virtualfc::noAnswerDropsThreeRepliesThenAnswers()
{
    QVERIFY(host.open());
    VirtualFC::setFault(Fault::NoAnswer, 3);
    QByteArray report;
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(host.send(requestFrame(INFO_RD)), 65);
        QCOMPARE(host.readOne(&report), 0);
    }
    QCOMPARE(VirtualFC::requestCount(INFO_RD), 3);
    QCOMPARE(VirtualFC::answeredCount(), 0);
    QCOMPARE(Frame::checkReply(requestFrame(INFO_RD), host.transact(INFO_RD), 2), Frame::ReplyOk);
}

void tst_virtualfc::writeFailAndShortWrite()
{
    QVERIFY(host.open());
    VirtualFC::setFault(Fault::WriteFail);
    QCOMPARE(host.send(requestFrame(INFO_RD)), -1);
    QCOMPARE(QString::fromWCharArray(hid_error(host.dev)), QString("virtual controller: write failed"));
    QCOMPARE(VirtualFC::writtenReports().size(), 1); // the attempt is on record

    VirtualFC::setFault(Fault::ShortWrite, 1, 10);
    QCOMPARE(host.send(requestFrame(INFO_RD)), 10);
    QCOMPARE(VirtualFC::requestCount(INFO_RD), 0);

    // The handle still works.
    QCOMPARE(Frame::checkReply(requestFrame(INFO_RD), host.transact(INFO_RD), 2), Frame::ReplyOk);
}

void tst_virtualfc::readErrorAfterReports()
{
    QVERIFY(host.open());
    VirtualFC::setFault(Fault::ReadError, 1, 1);
    QCOMPARE(host.send(requestFrame(PARA_RD)), 65); // a two-report reply
    QByteArray report;
    QCOMPARE(host.readOne(&report), 64);
    QCOMPARE(host.readOne(&report), -1);
    QCOMPARE(QString::fromWCharArray(hid_error(host.dev)), QString("virtual controller: read failed"));
    QCOMPARE(host.readOne(&report), 0); // the rest of the reply is gone
}

void tst_virtualfc::fixedAttitude()
{
    VirtualFC::Attitude a;
    a.pitch = 0.2f;
    a.roll = -0.1f;
    a.yaw = 1.5f;
    a.flightMode = 4;
    a.lockState = 1;
    VirtualFC::setAttitude(a);
    QVERIFY(host.open());
    Payload p(host.transact(STATUS_RD));
    const float w = p.next<float>(), x = p.next<float>(), y = p.next<float>(), z = p.next<float>();
    QVERIFY(qAbs(w * w + x * x + y * y + z * z - 1.0f) < 1e-5f);
    QCOMPARE(p.next<float>(), 0.2f);
    QCOMPARE(p.next<float>(), -0.1f);
    QCOMPARE(p.next<float>(), 1.5f);
    QCOMPARE(p.next<qint8>(), qint8(4));
    QCOMPARE(p.next<qint8>(), qint8(1));
}

void tst_virtualfc::movingAttitudeStaysWithinBounds()
{
    QVERIFY(host.open());
    const auto yawNow = [this] {
        Payload p(host.transact(STATUS_RD));
        for (int i = 0; i < 4; ++i)
            p.next<float>();
        const float pitch = p.next<float>(), roll = p.next<float>();
        const float limit = float(20.0 * M_PI / 180.0);
        if (qAbs(pitch) > limit || qAbs(roll) > limit)
            return 100.0f;
        return p.next<float>();
    };
    const float first = yawNow();
    QVERIFY(first <= float(M_PI));
    QTRY_VERIFY(qAbs(yawNow() - first) > 0.01f && yawNow() < 99.0f);
}

void tst_virtualfc::motorTestShowsMotorCheck()
{
    VirtualFC::setAttitude(VirtualFC::Attitude());
    VirtualFC::setMotorTestMs(100);
    QVERIFY(host.open());
    const auto lockState = [this] { return quint8(host.transact(STATUS_RD).at(2 + 7 * 4 + 1)); };
    QCOMPARE(lockState(), quint8(0));
    host.transact(MOTOR_TEST, QByteArray(1, char(0xAB)));
    QCOMPARE(VirtualFC::requestCount(MOTOR_TEST), 1);
    QCOMPARE(lockState(), quint8(3));
    QTRY_COMPARE(lockState(), quint8(0));
}

void tst_virtualfc::frameReadAndWrite()
{
    QVERIFY(host.open());
    const QByteArray read(1, '\0');
    QCOMPARE(host.transact(FRAME_RW, read).mid(2, 3), QByteArray::fromHex("000000"));
    const QByteArray write = QByteArray::fromHex("010301");
    QCOMPARE(host.transact(FRAME_RW, write).mid(2, 3), write);
    QCOMPARE(host.transact(FRAME_RW, read).mid(2, 3), QByteArray::fromHex("000301"));
    QCOMPARE(VirtualFC::frameSetting().airframe, qint8(3));
    QCOMPARE(VirtualFC::frameSetting().mounting, qint8(1));
}

void tst_virtualfc::paraWriteStoreAndRestore()
{
    QVERIFY(host.open());
    const QByteArray defaults = VirtualFC::defaultPara();
    QCOMPARE(defaults.size(), 89);
    Payload p(host.transact(PARA_RD));
    QCOMPARE(p.bytes.left(89), defaults);
    QCOMPARE(p.next<qint16>(), qint16(250)); // avxy_max
    p.next<qint16>();
    p.next<qint16>();
    QCOMPARE(p.next<qint16>(), qint16(1100)); // escMin

    QByteArray edited = defaults;
    edited[6] = char(0x60); // escMin 1120
    edited[88] = 1;         // 3D ESC
    QCOMPARE(host.transact(PARA_WR, edited).mid(2, 89), edited);
    QCOMPARE(host.transact(PARA_RD).mid(2, 89), edited);
    QCOMPARE(VirtualFC::flashPara(), defaults); // not stored yet

    host.transact(STORE, QByteArray(1, char(0xAB)));
    QCOMPARE(VirtualFC::flashPara(), edited);
    host.transact(DEFAULT_RESTORE, QByteArray(1, char(0xAB)));
    QCOMPARE(host.transact(PARA_RD).mid(2, 89), defaults);
    QCOMPARE(VirtualFC::flashPara(), edited);
    QCOMPARE(VirtualFC::requestCount(STORE), 1);
    QCOMPARE(VirtualFC::requestCount(DEFAULT_RESTORE), 1);

    // A store without the command marker stores nothing.
    host.transact(STORE, QByteArray(1, '\0'));
    QCOMPARE(VirtualFC::flashPara(), edited);
}

void tst_virtualfc::rcWriteIsStoredAndEchoed()
{
    VirtualFC::RcState s;
    s.channelWord = (2 << 17) | 0x40; // PPM, channel 6 missing
    s.trailing = {1, 3, 0, 1, 2, 9, 0};
    VirtualFC::setRc(s);
    QVERIFY(host.open());

    // Reverse channel 2, ask for other modes; the receiver's own bits are not the host's to set.
    QByteArray write = int32Bytes(qint32((1 << 10) | (3 << 17) | 0x01 | (1 << 24)));
    write.append(QByteArray::fromHex("04050001"));
    const qint32 expectedWord = (1 << 10) | (2 << 17) | 0x40 | (1 << 24);
    const QByteArray echo = host.transact(RC_WR, write);
    QCOMPARE(echo.mid(2, 8), int32Bytes(expectedWord) + QByteArray::fromHex("04050001"));

    Payload p(host.transact(RC_RD));
    QCOMPARE(p.next<qint8>(), qint8(0));
    QCOMPARE(p.next<qint32>(), expectedWord);
    for (int i = 0; i < 40; ++i)
        p.next<qint16>();
    QCOMPARE(p.bytes.mid(p.in.device()->pos(), 7), QByteArray::fromHex("01030405000901"));
}

void tst_virtualfc::rcRecognitionPhase()
{
    VirtualFC::setRecognitionMs(200);
    QVERIFY(host.open());
    const auto recognition = [this] { return qint8(host.transact(RC_RD).at(2)); };
    const qint8 early = recognition();
    QVERIFY(early == 1 || early == 2);
    QTRY_COMPARE(recognition(), qint8(0));
    // Once recognised, the receiver type is SBUS (bits 17..19).
    Payload p(host.transact(RC_RD));
    p.next<qint8>();
    QCOMPARE((p.next<qint32>() >> 17) & 7, 1);
}

void tst_virtualfc::rcWithoutRecognitionPhase()
{
    VirtualFC::setRecognitionMs(0);
    QCOMPARE(VirtualFC::rc().recognition, qint8(0));
    QVERIFY(host.open());
    QCOMPARE(host.transact(RC_RD).at(2), char(0));
}

void tst_virtualfc::rcCalibrationWidensRanges()
{
    QVERIFY(host.open());
    const auto range0 = [this] {
        Payload p(host.transact(RC_RD));
        p.next<qint8>();
        p.next<qint32>();
        const int lo = p.next<qint16>(), hi = p.next<qint16>(), centre = p.next<qint16>();
        return QVector<int>{lo, hi, centre};
    };
    QVERIFY(range0()[1] - range0()[0] > 700); // calibrated from the start

    host.transact(RC_CALI, QByteArray(1, char(0xAB)));
    QVERIFY(VirtualFC::rcCalibrating());
    QCOMPARE(quint8(host.transact(INFO_RD).at(3)), quint8(7)); // calibration running
    const QVector<int> start = range0();
    QVERIFY(start[1] - start[0] < 100);
    QTRY_VERIFY(range0()[1] - range0()[0] > start[1] - start[0] + 20); // sticks move

    host.transact(RC_CALI, QByteArray(1, char(0xBA)));
    QVERIFY(!VirtualFC::rcCalibrating());
    const QVector<int> done = range0();
    QCOMPARE(done[2], (done[0] + done[1]) / 2);
    QCOMPARE(quint8(host.transact(INFO_RD).at(3)), quint8(0));
    QCOMPARE(VirtualFC::requestCount(RC_CALI), 2);
}

void tst_virtualfc::scopeNamesAndValues()
{
    QVERIFY(host.open());
    QByteArray names = host.transact(SCOPE_NAME_RD).mid(2);
    QStringList parsed;
    while (!names.isEmpty() && names[0] != '\0') {
        parsed.append(QString::fromLatin1(names.constData()));
        names.remove(0, parsed.last().size() + 1);
    }
    QCOMPARE(parsed, VirtualFC::scopeNames());
    QVERIFY(parsed.size() >= 3);

    VirtualFC::setScopeNames({"a", "b"});
    VirtualFC::setScopeValues({1.5f, -2.0f});
    Payload p(host.transact(SCOPE_DATA_RD));
    QCOMPARE(p.next<float>(), 1.5f);
    QCOMPARE(p.next<float>(), -2.0f);
}

void tst_virtualfc::bootloaderRoundTrip()
{
    VirtualFC::setBusDropTiming(0, 300);
    QVERIFY(host.open());
    QByteArray edited = VirtualFC::defaultPara();
    edited[0] = char(0x2C); // avxy_max 300, stored
    host.transact(PARA_WR, edited);
    host.transact(STORE, QByteArray(1, char(0xAB)));
    host.transact(DEFAULT_RESTORE, QByteArray(1, char(0xAB))); // working copy only

    QCOMPARE(host.transact(BOOT_JUMP, int32Bytes(0xAB)).mid(2, 4), int32Bytes(0xAB));
    // The board restarts: the handle dies and the board is gone for a moment.
    QByteArray report;
    QCOMPARE(host.readOne(&report), -1);
    host.close();
    QVERIFY(!host.open());
    QTRY_VERIFY(host.open());

    Payload info(host.transact(INFO_RD));
    QCOMPARE(info.next<qint8>(), qint8(1));
    info.next<quint8>();
    QCOMPARE((info.next<qint32>() >> 16) & 0xFF, 0x30); // still the supported board
    Payload fw(host.transact(FW_INFO_RD));
    fw.next<qint32>();
    fw.next<qint32>();
    QCOMPARE((fw.next<qint32>() >> 16) & 0xFF, 0x00); // the bootloader's identity
    // Flight requests are unknown to the bootloader.
    QCOMPARE(host.send(requestFrame(STATUS_RD)), 65);
    QCOMPARE(host.readOne(&report), 0);

    QByteArray image;
    for (int i = 0; i < 3 * 2048; ++i)
        image.append(char((i * 7 + i / 2048) & 0xFF));
    for (int block = 0; block < 3; ++block) {
        VirtualFC::setFault(Fault::RefuseBlock, block == 1 ? 1 : 0);
        if (block == 1) {
            const QByteArray refused =
                host.transact(BLOCK_PROG, int32Bytes(2048) + image.mid(2048, 2048));
            QCOMPARE(quint8(refused.at(2)), quint8(0xEE));
        }
        const QByteArray reply =
            host.transact(BLOCK_PROG, int32Bytes(block * 2048) + image.mid(block * 2048, 2048));
        QCOMPARE(reply.size(), 64);
        QCOMPARE(quint8(reply.at(2)), quint8(0xAB));
    }
    QCOMPARE(VirtualFC::requests().last().size(), 2112); // 33 reports
    QCOMPARE(quint8(host.transact(BLOCK_PROG, int32Bytes(100) + image.left(2048)).at(2)),
             quint8(0xEE)); // not a block boundary
    QCOMPARE(VirtualFC::flash(), image);

    const quint16 check = crc16(image.constData(), 0, image.size());
    Payload verify(host.transact(VERIFY));
    QCOMPARE(verify.next<quint16>(), check);
    VirtualFC::setFault(Fault::WrongVerify);
    Payload wrong(host.transact(VERIFY));
    QVERIFY(wrong.next<quint16>() != check);

    QCOMPARE(host.transact(BOOT_JUMP, int32Bytes(0xBA)).mid(2, 4), int32Bytes(0xBA));
    QCOMPARE(host.readOne(&report), -1);
    host.close();
    QTRY_VERIFY(host.open());
    QCOMPARE(host.transact(INFO_RD).at(2), char(0));
    // The restart loaded the stored parameters.
    QCOMPARE(host.transact(PARA_RD).mid(2, 89), edited);
}

QTEST_GUILESS_MAIN(tst_virtualfc)
#include "tst_virtualfc.moc"
