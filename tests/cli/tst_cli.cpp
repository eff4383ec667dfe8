// orvante-cli end to end: the commands run in-process against the virtual controller, which the
// test sets up and reads back, and the real orvante-cli-demo as a process for what only another
// process shows: the lock held by another program, and Ctrl-C in the middle of a recording.
#include "cli/cliapp.h"
#include "cli/exitcode.h"
#include "engine/firmwareupdate.h"
#include "engine/scoperecording.h"
#include "protocol/crc16.h"
#include "protocol/dspara.h"
#include "protocol/frameids.h"
#include "usb/devicelock.h"
#include "virtualfc.h"

#include <QBuffer>
#include <QDataStream>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <unistd.h>

namespace {

struct Outcome {
    int code = -1;
    QString out;
    QString err;
};

Outcome runCli(const QStringList& arguments)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    Outcome outcome;
    outcome.code = CliApp::run(QStringList{QStringLiteral("orvante-cli")} + arguments, &out, &err, false);
    outcome.out = QString::fromUtf8(out.data());
    outcome.err = QString::fromUtf8(err.data());
    return outcome;
}

QByteArray imageOf(int blocks)
{
    QByteArray image(blocks * 2048, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char((i * 7 + i / 2048) & 0xFF);
    return image;
}

// A .bin file: header (magic, version word, check value, image length) and `body` behind it.
void writeBin(const QString& path, quint32 version, qint32 length, const QByteArray& body)
{
    QByteArray bytes;
    QDataStream header(&bytes, QIODevice::WriteOnly);
    header << quint32(0x1234ABCD) << version << FCProtocol::crc16(body.constData(), 0, body.size()) << length;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes + body);
}

// A setup file as the controller's backup wrote it, with some values changed.
QByteArray edited(QByteArray json, const QList<QPair<QByteArray, QByteArray>>& changes)
{
    for (const auto& change : changes)
        json.replace(change.first, change.second);
    return json;
}

// The cases that start orvante-cli-demo as a process. ThreadSanitizer (clang 14) aborts a
// program that starts a process through Qt 6's QProcess, a vfork-like clone() it cannot follow:
// that build skips them (tests/CMakeLists.txt), every other build runs them.
#ifdef ORVANTE_NO_CHILD_PROCESSES
#define SKIP_WITHOUT_CHILD_PROCESSES() QSKIP("no child processes under this ThreadSanitizer with Qt 6")
#else
#define SKIP_WITHOUT_CHILD_PROCESSES()
#endif

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void list_data();
    void list();
    void info_data();
    void info();
    void flash_data();
    void flash();
    void badFileSendsNothing_data();
    void badFileSendsNothing();
    void backupThenRestore_data();
    void backupThenRestore();
    void diff_data();
    void diff();
    void noControllerEndsWithinTheTimeLimit();
    void outputThatCannotBeWritten_data();
    void outputThatCannotBeWritten();
    void recordingLimit_data();
    void recordingLimit();
    void heldLockEndsWithInUse_data();
    void heldLockEndsWithInUse();
    void ctrlCLeavesACompleteCsv();

private:
    QTemporaryDir dir;
};

void TestCli::init()
{
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
}

void TestCli::list_data()
{
    QTest::addColumn<QString>("state"); // plugged, unplugged, held
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("line");
    QTest::newRow("one controller") << "plugged" << int(ExitCode::Done)
                                    << "virtual-fc:0  FC3A00017  Trelvo_0105  flight firmware\n";
    QTest::newRow("none plugged in") << "unplugged" << int(ExitCode::NoController) << "";
    QTest::newRow("held by another program")
        << "held" << int(ExitCode::Done)
        << QStringLiteral("virtual-fc:0  FC3A00017  in use by ORVANTE (process %1)\n").arg(::getpid());
}

void TestCli::list()
{
    QFETCH(QString, state);
    QFETCH(int, code);
    QFETCH(QString, line);
    VirtualFC::setPlugged(state != QLatin1String("unplugged"));
    DeviceLock lock;
    if (state == QLatin1String("held"))
        QCOMPARE(lock.take(DeviceLock::fileFor(VirtualFC::kVendorId, VirtualFC::kProductId, VirtualFC::serialNumber(),
                                               VirtualFC::kPath)),
                 DeviceLock::Result::Taken);
    const Outcome text = runCli({QStringLiteral("list")});
    QCOMPARE(text.code, code);
    QCOMPARE(text.out, line);
    // A controller held by another program is not asked.
    QCOMPARE(VirtualFC::openCount(), state == QLatin1String("plugged") ? 1 : 0);
    const Outcome json = runCli({QStringLiteral("list"), QStringLiteral("--json")});
    QCOMPARE(json.code, code);
    const QJsonArray listed = QJsonDocument::fromJson(json.out.toUtf8()).array();
    QCOMPARE(listed.size(), code == ExitCode::Done ? 1 : 0);
    if (code == ExitCode::Done) {
        QCOMPARE(listed[0].toObject().value(QStringLiteral("serial")).toString(), QStringLiteral("FC3A00017"));
        QCOMPARE(listed[0].toObject().value(QStringLiteral("inUseBy")).toInt(), state == "held" ? int(::getpid()) : 0);
    }
}

void TestCli::info_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("modeWord");
    QTest::addColumn<QString>("selfTestText");
    QTest::addColumn<QString>("serial");
    QTest::newRow("flight firmware, gyroscope error") << 0 << "firmware" << "Gyroscope error" << "FC3A00017";
    QTest::newRow("bootloader without a serial number") << 1 << "bootloader" << "Firmware Update Mode" << "";
}

void TestCli::info()
{
    QFETCH(int, mode);
    QFETCH(QString, modeWord);
    QFETCH(QString, selfTestText);
    QFETCH(QString, serial);
    VirtualFC::setBootloaderSerialNumber(QString());
    FCProtocol::DS_INFO_RD record = VirtualFC::info();
    record.errorCode = 3;
    VirtualFC::setInfo(record);
    VirtualFC::setBoardMode(mode);

    const Outcome text = runCli({QStringLiteral("info")});
    QCOMPARE(text.code, int(ExitCode::Done));
    QVERIFY2(text.out.contains(QStringLiteral("Trelvo_0105")) && text.out.contains(selfTestText), qPrintable(text.out));
    QVERIFY2(text.out.contains(QStringLiteral("serial:    ") + (serial.isEmpty() ? QStringLiteral("none") : serial))
                 && text.out.contains(QStringLiteral("device:    virtual-fc:0")),
             qPrintable(text.out));

    const Outcome json = runCli({QStringLiteral("info"), QStringLiteral("--json")});
    QCOMPARE(json.code, int(ExitCode::Done));
    const QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
    QCOMPARE(object.value(QStringLiteral("board")).toString(), QStringLiteral("Trelvo_0105"));
    QCOMPARE(object.value(QStringLiteral("mode")).toString(), modeWord);
    QCOMPARE(object.value(QStringLiteral("selfTest")).toInt(), 3);
    QCOMPARE(object.value(QStringLiteral("selfTestText")).toString(), selfTestText);
    QCOMPARE(object.value(QStringLiteral("serial")).toString(), serial);
    QCOMPARE(object.value(QStringLiteral("device")).toString(), QStringLiteral("virtual-fc:0"));
}

void TestCli::flash_data()
{
    QTest::addColumn<quint32>("version");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("said");
    // The controller runs Trelvo (board 0x30) version 0x0105.
    QTest::newRow("newer firmware for this board: written") << 0xF0300106u << "" << int(ExitCode::Done)
                                                            << "Update success";
    QTest::newRow("another board's firmware: refused") << 0xF0280106u << "" << int(ExitCode::Refused)
                                                      << "but the controller is Trelvo_0105";
    QTest::newRow("the version installed: refused") << 0xF0300105u << "" << int(ExitCode::Refused)
                                                   << "already runs this firmware";
    QTest::newRow("verify mismatch: left in the bootloader") << 0xF0300106u << "verify" << int(ExitCode::UpdateFailed)
                                                            << "stays in its bootloader";
    QTest::newRow("every block refused: no progress for 1 s") << 0xF0300106u << "refuse"
                                                              << int(ExitCode::UpdateFailed) << "made no progress for 1 s";
    QTest::newRow("lost in the bootloader") << 0xF0300106u << "drop" << int(ExitCode::UpdateFailed)
                                            << "run the same flash command again";
}

void TestCli::flash()
{
    QFETCH(quint32, version);
    QFETCH(QString, fault);
    QFETCH(int, code);
    QFETCH(QString, said);
    const QByteArray image = imageOf(4);
    const QString path = dir.filePath(QStringLiteral("fw.bin"));
    writeBin(path, version, image.size(), image);
    VirtualFC::setFastTiming(false); // the first block (33 reports) meets the board off the bus
    FirmwareUpdate::setNoProgressLimit(fault == "refuse" ? 1000 : FirmwareUpdate::kNoProgressMs);
    if (fault == "verify")
        VirtualFC::setFault(VirtualFC::Fault::WrongVerify, -1);
    else if (fault == "refuse")
        VirtualFC::setFault(VirtualFC::Fault::RefuseBlock, -1);
    else if (fault == "drop")
        VirtualFC::setFault(VirtualFC::Fault::BusDrop, 1, 60000, FCProtocol::BLOCK_PROG, 1);

    const Outcome run = runCli({QStringLiteral("flash"), path, QStringLiteral("--timeout"),
                                QString::number(fault == "drop" ? 1 : 3)});
    QCOMPARE(run.code, code);
    QVERIFY2(run.err.contains(said), qPrintable(run.err));
    if (code == ExitCode::Refused) {
        QCOMPARE(VirtualFC::requestCount(FCProtocol::BOOT_JUMP), 0);
        QCOMPARE(VirtualFC::requestCount(FCProtocol::BLOCK_PROG), 0);
    } else if (code == ExitCode::Done) {
        QCOMPARE(VirtualFC::flash(), image);
        QCOMPARE(VirtualFC::boardMode(), 0);
    } else {
        QCOMPARE(VirtualFC::boardMode(), 1);
    }
}

void TestCli::badFileSendsNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<QString>("said");
    QTest::newRow("no such file") << "missing.bin" << QByteArray() << "not a file";
    QTest::newRow("not a firmware file") << "text.bin" << QByteArray("not firmware at all") << "not a firmware file";
    // The header promises two blocks, the file holds one.
    QTest::newRow("image beyond the file's end") << "short.bin" << QByteArray("short") << "longer than the file";
}

void TestCli::badFileSendsNothing()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, header);
    QFETCH(QString, said);
    const QString path = dir.filePath(name);
    if (header == "short") {
        writeBin(path, 0xF0300106, 4096, imageOf(1));
    } else if (!header.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(header);
    }
    const Outcome run = runCli({QStringLiteral("flash"), path});
    QCOMPARE(run.code, int(ExitCode::BadFile));
    QVERIFY2(run.err.contains(said), qPrintable(run.err));
    QCOMPARE(VirtualFC::openCount(), 0);
    QVERIFY(VirtualFC::writtenReports().isEmpty());
}

void TestCli::backupThenRestore_data()
{
    QTest::addColumn<bool>("keep"); // the board keeps its ESC maximum
    QTest::addColumn<int>("code");
    QTest::newRow("written, read back and stored") << false << int(ExitCode::Done);
    QTest::newRow("a value the board keeps: not stored") << true << int(ExitCode::Differs);
}

void TestCli::backupThenRestore()
{
    QFETCH(bool, keep);
    QFETCH(int, code);
    const QString backup = dir.filePath(QStringLiteral("setup.json"));
    QCOMPARE(runCli({QStringLiteral("backup"), backup}).code, int(ExitCode::Done));
    QFile file(backup);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray changed = edited(file.readAll(), {{"\"escMax\": 1900", "\"escMax\": 1950"},
                                                       {"\"positionMode3\": 0", "\"positionMode3\": 4"},
                                                       {"\"mounting\": 0", "\"mounting\": 1"}});
    const QString wanted = dir.filePath(QStringLiteral("wanted.json"));
    QFile out(wanted);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(changed);
    out.close();

    if (keep)
        VirtualFC::setFault(VirtualFC::Fault::KeepValues, -1, 12, FCProtocol::PARA_WR); // escMax
    const Outcome run = runCli({QStringLiteral("restore"), wanted, QStringLiteral("--store")});
    QCOMPARE(run.code, code);
    // The differing rows are printed: name, controller, file.
    QVERIFY2(run.out.contains(QRegularExpression(QStringLiteral("escMax +1900 +1950"))), qPrintable(run.out));
    // The titles and three rows; when a value did not take, the titles and its row again.
    QCOMPARE(run.out.count(QLatin1Char('\n')), keep ? 6 : 4);
    QCOMPARE(VirtualFC::requestCount(FCProtocol::STORE), keep ? 0 : 1);
    if (keep) {
        // Written three times, then named: the rest took, nothing was stored.
        QCOMPARE(VirtualFC::requestCount(FCProtocol::PARA_WR), 3);
        QVERIFY2(run.err.contains(QStringLiteral("holds other values than the file")), qPrintable(run.err));
        QVERIFY2(run.out.endsWith(QStringLiteral("1950\n")), qPrintable(run.out));
        QCOMPARE(VirtualFC::frameSetting().mounting, qint8(1));
        return;
    }
    // Written, read back and stored: after a power cycle the controller holds the file's values.
    VirtualFC::powerCycle();
    FCProtocol::DS_PARA stored;
    QVERIFY(FCProtocol::DS_PARA::decode(VirtualFC::para(), &stored));
    QCOMPARE(stored.escMax, qint16(1950));
    QCOMPARE(VirtualFC::rc().trailing[4], qint8(4));
    QCOMPARE(VirtualFC::frameSetting().mounting, qint8(1));
    QCOMPARE(runCli({QStringLiteral("diff"), wanted}).code, int(ExitCode::Done));
}

void TestCli::diff_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<bool>("twoFiles");
    QTest::addColumn<int>("code");
    QTest::newRow("the controller's own setup") << QByteArray() << QByteArray() << false << int(ExitCode::Done);
    QTest::newRow("a gain changed") << QByteArray("\"simple_avx\": 100") << QByteArray("\"simple_avx\": 120") << false
                                    << int(ExitCode::Differs);
    QTest::newRow("two files alike") << QByteArray() << QByteArray() << true << int(ExitCode::Done);
    QTest::newRow("two files, the airframe differs") << QByteArray("\"airframe\": 0,") << QByteArray("\"airframe\": 3,")
                                                     << true << int(ExitCode::Differs);
    QTest::newRow("a value out of range: nothing sent") << QByteArray("\"escMin\": 1100") << QByteArray("\"escMin\": 9000")
                                                        << false << int(ExitCode::BadFile);
}

void TestCli::diff()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(bool, twoFiles);
    QFETCH(int, code);
    const QString first = dir.filePath(QStringLiteral("first.json"));
    QCOMPARE(runCli({QStringLiteral("backup"), first}).code, int(ExitCode::Done));
    QFile file(first);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString second = dir.filePath(QStringLiteral("second.json"));
    QFile out(second);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(edited(file.readAll(), {{from, to}}));
    out.close();
    VirtualFC::clearRecords();

    const Outcome run = runCli(twoFiles ? QStringList{QStringLiteral("diff"), first, second}
                                        : QStringList{QStringLiteral("diff"), second});
    QCOMPARE(run.code, code);
    QCOMPARE(run.out.isEmpty(), code != ExitCode::Differs);
    // Two files, or a file refused, need no controller.
    QCOMPARE(VirtualFC::writtenReports().isEmpty(), twoFiles || code == ExitCode::BadFile);
}

void TestCli::noControllerEndsWithinTheTimeLimit()
{
    VirtualFC::setPlugged(false);
    QElapsedTimer clock;
    clock.start();
    const Outcome run = runCli({QStringLiteral("info"), QStringLiteral("--timeout"), QStringLiteral("1")});
    const qint64 ms = clock.elapsed();
    QCOMPARE(run.code, int(ExitCode::NoController));
    QVERIFY2(run.err.contains(QStringLiteral("no controller answered within 1 s")), qPrintable(run.err));
    // The limit is waited out, and not much more: the end is looked at every 50 ms.
    QVERIFY2(ms >= 1000 && ms < 2500, qPrintable(QString::number(ms)));
}

void TestCli::outputThatCannotBeWritten_data()
{
    // Arguments ("DIR" is the test's folder), and whether standard output is a full device.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("full");
    QTest::newRow("--help to a full device") << QStringList{"--help"} << true;
    QTest::newRow("info --json to a full device") << QStringList{"info", "--json"} << true;
    QTest::newRow("backup - to a full device") << QStringList{"backup", "-"} << true;
    QTest::newRow("diff of two files to a full device") << QStringList{"diff", "DIR/a.json", "DIR/b.json"} << true;
    QTest::newRow("record to a full device") << QStringList{"record", "--seconds", "1"} << true;
    QTest::newRow("backup into a missing folder") << QStringList{"backup", "DIR/none/setup.json"} << false;
    QTest::newRow("record into a missing folder") << QStringList{"record", "--csv", "DIR/none/scope.csv"} << false;
}

void TestCli::outputThatCannotBeWritten()
{
    SKIP_WITHOUT_CHILD_PROCESSES();
    QFETCH(QStringList, arguments);
    QFETCH(bool, full);
    const QString a = dir.filePath(QStringLiteral("a.json"));
    QCOMPARE(runCli({QStringLiteral("backup"), a}).code, int(ExitCode::Done));
    QFile first(a);
    QVERIFY(first.open(QIODevice::ReadOnly));
    QFile second(dir.filePath(QStringLiteral("b.json")));
    QVERIFY(second.open(QIODevice::WriteOnly));
    second.write(edited(first.readAll(), {{"\"airframe\": 0,", "\"airframe\": 3,"}}));
    second.close();

    QProcess cli;
    if (full)
        cli.setStandardOutputFile(QStringLiteral("/dev/full"));
    cli.start(QStringLiteral(ORVANTE_CLI_DEMO_PATH), arguments.replaceInStrings(QStringLiteral("DIR"), dir.path()));
    QVERIFY(cli.waitForFinished(20000));
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    QCOMPARE(cli.exitCode(), int(ExitCode::OutputFailed));
    QVERIFY2(err.contains(full ? QStringLiteral("standard output could not be written")
                               : QStringLiteral("cannot be written")) || err.contains(QStringLiteral("cannot write")),
             qPrintable(err));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("none"))));
}

void TestCli::recordingLimit_data()
{
    QTest::addColumn<QString>("seconds");
    QTest::addColumn<int>("code");
    for (const char* bad : {"0.04", "0", "-1", "604801", "inf", "1e300", "nan", "one"})
        QTest::newRow(bad) << bad << int(ExitCode::Usage);
    QTest::newRow("one tick") << "0.05" << int(ExitCode::Done);
}

void TestCli::recordingLimit()
{
    QFETCH(QString, seconds);
    QFETCH(int, code);
    const Outcome run = runCli({QStringLiteral("record"), QStringLiteral("--seconds"), seconds});
    QCOMPARE(run.code, code);
    if (code == ExitCode::Usage) {
        QVERIFY2(run.err.contains(QStringLiteral("--seconds takes")), qPrintable(run.err));
        QVERIFY(VirtualFC::writtenReports().isEmpty());
    } else {
        // The names, then at least the one sample the limit waits for.
        QVERIFY2(run.out.count(QLatin1Char('\n')) >= 2, qPrintable(run.out));
    }
}

void TestCli::heldLockEndsWithInUse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("info") << QStringList{"info"};
    // The file the recording would replace stays as it was.
    QTest::newRow("record into a file") << QStringList{"record", "--csv", "DIR/scope.csv"};
}

void TestCli::heldLockEndsWithInUse()
{
    SKIP_WITHOUT_CHILD_PROCESSES();
    QFETCH(QStringList, arguments);
    const QString csv = dir.filePath(QStringLiteral("scope.csv"));
    QFile earlier(csv);
    QVERIFY(earlier.open(QIODevice::WriteOnly | QIODevice::Truncate) && earlier.write("an earlier recording\n") > 0);
    earlier.close();
    // This process holds the virtual controller's lock, in the runtime folder the child inherits.
    DeviceLock lock;
    QCOMPARE(lock.take(DeviceLock::fileFor(VirtualFC::kVendorId, VirtualFC::kProductId,
                                           QString::fromWCharArray(VirtualFC::kSerialNumber), VirtualFC::kPath)),
             DeviceLock::Result::Taken);
    QProcess cli;
    cli.start(QStringLiteral(ORVANTE_CLI_DEMO_PATH), arguments.replaceInStrings(QStringLiteral("DIR"), dir.path()));
    QVERIFY(cli.waitForFinished(10000));
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    QCOMPARE(cli.exitCode(), int(ExitCode::InUse));
    QVERIFY2(err.contains(QStringLiteral("the controller is in use by ORVANTE (process %1)").arg(::getpid())),
             qPrintable(err));
    QVERIFY(cli.readAllStandardOutput().isEmpty());
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), QByteArray("an earlier recording\n"));
    QCOMPARE(QDir(dir.path()).entryList({"*.part"}, QDir::Files | QDir::Hidden), QStringList());
}

void TestCli::ctrlCLeavesACompleteCsv()
{
    SKIP_WITHOUT_CHILD_PROCESSES();
    const QString path = dir.filePath(QStringLiteral("scope.csv"));
    QProcess cli;
    cli.start(QStringLiteral(ORVANTE_CLI_DEMO_PATH), {QStringLiteral("record"), QStringLiteral("--csv"), path});
    QVERIFY(cli.waitForStarted());
    // The recording grows beside the file it replaces at the end.
    auto lines = [this] {
        const QStringList growing = QDir(dir.path()).entryList({".scope.csv-*.part"}, QDir::Files | QDir::Hidden);
        QFile file(dir.filePath(growing.value(0)));
        return !growing.isEmpty() && file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') : 0;
    };
    QTRY_VERIFY_WITH_TIMEOUT(lines() >= 5, 10000);
    ::kill(pid_t(cli.processId()), SIGINT);
    QVERIFY(cli.waitForFinished(5000));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), int(ExitCode::Done));
    QCOMPARE(QDir(dir.path()).entryList({"*.part"}, QDir::Files | QDir::Hidden), QStringList());

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray csv = file.readAll();
    QVERIFY(csv.endsWith('\n'));
    const QList<QByteArray> rows = csv.trimmed().split('\n');
    ScopeRecording names;
    names.start(VirtualFC::scopeNames());
    QCOMPARE(rows.first() + '\n', names.csvHeader());
    double last = -1;
    for (const QByteArray& row : rows.mid(1)) {
        const QList<QByteArray> fields = row.split(',');
        QCOMPARE(fields.size(), names.channelCount() + 1);
        QVERIFY2(fields.first().toDouble() > last, row.constData());
        last = fields.first().toDouble();
    }
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
