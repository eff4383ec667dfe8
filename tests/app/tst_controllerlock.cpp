// The main window while another ORVANTE program holds the controller: "Disconnected", a tool tip
// that names the holder, and the link back by itself once the other program lets go; and the
// window's own hold, from the connection until the controller is unplugged.
#include "app/fcapp.h"
#include "usb/devicelock.h"
#include "virtualfc.h"

#include <QCheckBox>
#include <QLabel>
#include <QtTest>

#include <unistd.h>

class TestControllerLock : public QObject
{
    Q_OBJECT

private slots:
    void heldByAnotherProgram();
    void heldUntilUnplugged();
};

namespace {

QString lockFile()
{
    return DeviceLock::fileFor(VirtualFC::kVendorId, VirtualFC::kProductId,
                               QString::fromWCharArray(VirtualFC::kSerialNumber), VirtualFC::kPath);
}

} // namespace

void TestControllerLock::heldByAnotherProgram()
{
    QCoreApplication::setOrganizationName(QStringLiteral("KARUX"));
    QCoreApplication::setApplicationName(QStringLiteral("ORVANTE"));
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    // The other program: this process, through a lock of its own on the same file.
    auto other = std::make_unique<DeviceLock>();
    QCOMPARE(other->take(lockFile()), DeviceLock::Result::Taken);

    FCApp app;
    app.infoTimer()->setInterval(50);
    app.show();
    auto* text = app.findChild<QLabel*>(QStringLiteral("label_usb"));
    auto* lamp = app.findChild<QCheckBox*>(QStringLiteral("checkBox_usb"));
    QVERIFY(text && lamp);
    const QString hint = QStringLiteral("The controller is in use by another ORVANTE program (process %1).").arg(::getpid());
    QTRY_COMPARE(text->toolTip(), hint);
    QCOMPARE(text->text(), QStringLiteral("Disconnected"));
    QCOMPARE(lamp->toolTip(), hint);
    QCOMPARE(VirtualFC::requests().size(), 0);

    other.reset();
    QTRY_COMPARE(text->text(), QStringLiteral("Connected"));
    QCOMPARE(text->toolTip(), QString());
}

void TestControllerLock::heldUntilUnplugged()
{
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    FCApp app;
    app.infoTimer()->setInterval(50);
    QTRY_VERIFY(app.isConnected());
    DeviceLock other;
    QCOMPARE(other.take(lockFile()), DeviceLock::Result::Held);
    // Gone from the bus: another program may have it now.
    VirtualFC::setPlugged(false);
    QTRY_COMPARE(other.take(lockFile()), DeviceLock::Result::Taken);
}

QTEST_MAIN(TestControllerLock)
#include "tst_controllerlock.moc"
