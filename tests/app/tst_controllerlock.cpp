// The main window while another ORVANTE program holds the controller: "Disconnected", a tool tip
// that names the holder, and the link back by itself once the other program lets go; then it
// holds the controller itself until it is unplugged.
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
};

void TestControllerLock::heldByAnotherProgram()
{
    QCoreApplication::setOrganizationName(QStringLiteral("KARUX"));
    QCoreApplication::setApplicationName(QStringLiteral("ORVANTE"));
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    // The other program: this process, through a lock of its own on the same file.
    auto other = std::make_unique<DeviceLock>();
    const QString file = DeviceLock::fileFor(VirtualFC::kVendorId, VirtualFC::kProductId,
                                             QString::fromWCharArray(VirtualFC::kSerialNumber), VirtualFC::kPath);
    QCOMPARE(other->take(file), DeviceLock::Result::Taken);

    FCApp app;
    app.infoTimer()->setInterval(50);
    app.show();
    auto* text = app.findChild<QLabel*>(QStringLiteral("label_usb"));
    auto* lamp = app.findChild<QCheckBox*>(QStringLiteral("checkBox_usb"));
    QVERIFY(text && lamp);
    const QString hint = QStringLiteral("The controller is in use by another ORVANTE program (process %1).").arg(::getpid());
    QTRY_COMPARE(text->toolTip(), hint);
    QCOMPARE(text->text(), QStringLiteral("Disconnected"));
    // The lamp says its state in words, then why.
    QCOMPARE(lamp->toolTip(), QStringLiteral("Connection: Disconnected\n") + hint);
    QCOMPARE(VirtualFC::requests().size(), 0);

    other.reset();
    QTRY_COMPARE(text->text(), QStringLiteral("Connected"));
    QCOMPARE(text->toolTip(), QString());
    QCOMPARE(DeviceLock().take(file), DeviceLock::Result::Held);
    VirtualFC::setPlugged(false);
    QTRY_COMPARE(DeviceLock().take(file), DeviceLock::Result::Taken);
}

QTEST_MAIN(TestControllerLock)
#include "tst_controllerlock.moc"
