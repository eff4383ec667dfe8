#include "protocol/helper.h"

#include <QTranslator>
#include <QtTest>

using FCProtocol::Helper;

namespace {

// Marks every text it is asked for with its context, so a test sees which context a
// converter translates in.
class ContextMarker : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        return QStringLiteral("[%1]%2").arg(QLatin1String(context), QLatin1String(source));
    }
};

} // namespace

// The protocol's vocabularies and board tests.
class tst_helper : public QObject
{
    Q_OBJECT

private slots:
    void flyModes_data();
    void flyModes();
    void lockStates_data();
    void lockStates();
    void rcTypes_data();
    void rcTypes();
    void boardNames_data();
    void boardNames();
    void boardTests_data();
    void boardTests();
    void textsAreTranslatedInTheHelperContext();
};

void tst_helper::flyModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tip");

    QTest::newRow("0") << 0 << "2D-RATE" << "2D Rate Mode";
    QTest::newRow("1") << 1 << "2D-RATTI" << "2D Rattitude Mode";
    QTest::newRow("2") << 2 << "2D-ATTI" << "2D Attitude Mode";
    QTest::newRow("3") << 3 << "3D-RATE" << "3D Rate Mode";
    QTest::newRow("4") << 4 << "3D-RATTI" << "3D Rattitude Mode";
    QTest::newRow("5") << 5 << "2D-HFATTI" << "2D Headfree Attitude Mode";
    QTest::newRow("6") << 6 << "FAIL-SAFE" << "FAIL-SAFE";
    QTest::newRow("7") << 7 << "Unknown" << "Unknown tip";
    QTest::newRow("0x106: only the low byte counts") << 0x106 << "FAIL-SAFE" << "FAIL-SAFE";
    QTest::newRow("-1 is 0xFF") << -1 << "Unknown" << "Unknown tip";
    QTest::newRow("-256 is 0") << -256 << "2D-RATE" << "2D Rate Mode";
}

void tst_helper::flyModes()
{
    QFETCH(int, mode);
    QFETCH(QString, name);
    QFETCH(QString, tip);
    QCOMPARE(Helper::flyModeName(mode), name);
    QCOMPARE(Helper::flyModeTip(mode), tip);
}

void tst_helper::lockStates_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "DISARM";
    QTest::newRow("1") << 1 << "ARM";
    QTest::newRow("2") << 2 << "RUN";
    QTest::newRow("3") << 3 << "MotorCheck";
    QTest::newRow("4") << 4 << "Unknown";
    QTest::newRow("0x101") << 0x101 << "ARM";
}

void tst_helper::lockStates()
{
    QFETCH(int, state);
    QFETCH(QString, text);
    QCOMPARE(Helper::lockStateName(state), text);
}

void tst_helper::rcTypes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "PWM";
    QTest::newRow("1") << 1 << "SBUS";
    QTest::newRow("2") << 2 << "PPM";
    QTest::newRow("3") << 3 << "DSM";
    QTest::newRow("4") << 4 << "Unknown";
    QTest::newRow("0x203") << 0x203 << "DSM";
}

void tst_helper::rcTypes()
{
    QFETCH(int, type);
    QFETCH(QString, text);
    QCOMPARE(Helper::rcTypeName(type), text);
}

void tst_helper::boardNames_data()
{
    QTest::addColumn<qint32>("word");
    QTest::addColumn<QString>("name");

    QTest::newRow("0x30 v0105") << qint32(0x00300105) << "Trelvo_0105";
    QTest::newRow("0x00 v01AB lower-case digits") << qint32(0x000001AB) << "BOOTLOADER_01ab";
    QTest::newRow("0x28 vFFFF") << qint32(0x0028FFFF) << "Brisel_ffff";
    QTest::newRow("0x28 v000A padded") << qint32(0x0028000A) << "Brisel_000a";
    QTest::newRow("0x10") << qint32(0x00100001) << "Zelkor_0001";
    QTest::newRow("0x11") << qint32(0x00110001) << "Vintar_0001";
    QTest::newRow("0x20") << qint32(0x00200001) << "Pasquel_0001";
    QTest::newRow("0x21") << qint32(0x00210001) << "Ombrin_0001";
    QTest::newRow("0x22") << qint32(0x00220001) << "Dusket_0001";
    QTest::newRow("0x31") << qint32(0x00310001) << "Marquen_0001";
    QTest::newRow("0x32") << qint32(0x00320001) << "Solvane_0001";
    QTest::newRow("top bits are not interpreted") << qint32(0xF0300105) << "Trelvo_0105";
    QTest::newRow("0x40 is unknown, no version") << qint32(0x00401234) << "Unknown board";
    QTest::newRow("0xFF") << qint32(0x00FF0000) << "Unknown board";
}

void tst_helper::boardNames()
{
    QFETCH(qint32, word);
    QFETCH(QString, name);
    QCOMPARE(Helper::boardName(word), name);
}

void tst_helper::boardTests_data()
{
    QTest::addColumn<qint32>("word");
    QTest::addColumn<bool>("supported");
    QTest::addColumn<bool>("emu");
    QTest::addColumn<bool>("rc");

    QTest::newRow("0x28") << qint32(0x00280000) << true << false << false;
    QTest::newRow("0x30") << qint32(0xF0300105) << true << false << true;
    QTest::newRow("0x40") << qint32(0x00400000) << true << true << false;
    QTest::newRow("0x10") << qint32(0x00100000) << false << false << true;
    QTest::newRow("0x11") << qint32(0x00110000) << false << false << false;
    QTest::newRow("0x00") << qint32(0x00000000) << false << false << false;
    QTest::newRow("0x50: bit 5 clear is not 0x10") << qint32(0x00500000) << false << false << false;
    QTest::newRow("version bits do not count") << qint32(0x00003028) << false << false << false;
}

void tst_helper::boardTests()
{
    QFETCH(qint32, word);
    QFETCH(bool, supported);
    QFETCH(bool, emu);
    QFETCH(bool, rc);
    QCOMPARE(Helper::isSupportedBoard(word), supported);
    QCOMPARE(Helper::isEmuBoard(word), emu);
    QCOMPARE(Helper::isRcBoard(word), rc);
}

void tst_helper::textsAreTranslatedInTheHelperContext()
{
    ContextMarker marker;
    QCoreApplication::installTranslator(&marker);
    QCOMPARE(Helper::flyModeName(2), QStringLiteral("[FCProtocol::Helper]2D-ATTI"));
    QCOMPARE(Helper::flyModeTip(5), QStringLiteral("[FCProtocol::Helper]2D Headfree Attitude Mode"));
    QCOMPARE(Helper::lockStateName(1), QStringLiteral("[FCProtocol::Helper]ARM"));
    QCOMPARE(Helper::rcTypeName(1), QStringLiteral("[FCProtocol::Helper]SBUS"));
    QCOMPARE(Helper::boardName(0x00300105), QStringLiteral("[FCProtocol::Helper]Trelvo_0105"));
    QCOMPARE(Helper::boardName(0x00400000), QStringLiteral("[FCProtocol::Helper]Unknown board"));
    QCoreApplication::removeTranslator(&marker);
}

QTEST_GUILESS_MAIN(tst_helper)
#include "tst_helper.moc"
