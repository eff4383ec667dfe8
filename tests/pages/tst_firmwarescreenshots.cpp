// Pictures of the firmware page and of its dialogs in English and Chinese, written to
// <build dir>/tests/screenshots/ for a person to look at: idle with a file loaded, during an
// update, after success, after a failed verify, and every question and message of an update.
#include "firmwarerun.h"

#include "app/appstartup.h"
#include "widgets/dialogwarning.h"

#include <QDir>
#include <QPixmapCache>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr quint32 kFileVersion = 0xF0300106;
constexpr qint32 kFirmwareWord = qint32(0xF0300105);

// Saves `widget` as screenshot-<name>-<language>.png and checks what was written.
void shoot(QWidget* widget, const QString& name, const QString& language)
{
    QDir dir(QCoreApplication::applicationDirPath());
    QVERIFY(dir.mkpath(QStringLiteral("screenshots")) && dir.cd(QStringLiteral("screenshots")));
    const QImage image = widget->grab().toImage();
    const QString path = dir.filePath(QStringLiteral("firmware-%1-%2.png").arg(name, language));
    QVERIFY2(image.save(path), qPrintable(path));
    QCOMPARE(QImage(path).size(), image.size());
    qInfo("%s", qPrintable(path));
}

// Photographs each modal dialog as it comes up, then answers it.
class DialogCamera
{
public:
    DialogCamera(QStringList names, QList<bool> answers, QString language)
    {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [=]() mutable {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible() || names.isEmpty())
                return;
            const QString name = names.takeFirst();
            if (!name.isEmpty()) // the warning already photographed
                shoot(dialog, name, language);
            ++taken;
            answers.takeFirst() ? dialog->accept() : dialog->reject();
        });
        timer.start();
    }
    int taken = 0;

private:
    QTimer timer;
};

} // namespace

class TestFirmwareScreenshots : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void shots_data();
    void shots();
};

void TestFirmwareScreenshots::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("KARUX"));
    QCoreApplication::setApplicationName(QStringLiteral("ORVANTE"));
}

void TestFirmwareScreenshots::shots_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("success");
    QTest::newRow("en") << "en" << "Update success";
    QTest::newRow("zh") << "zh" << QString::fromUtf8("升级成功");
}

void TestFirmwareScreenshots::shots()
{
    QFETCH(QString, language);
    QFETCH(QString, success);
    QSettings().setValue(QStringLiteral("main/language"), language);
    AppStartup startup(*qApp);
    QPixmapCache::clear();
    QTemporaryDir dir;
    QVERIFY(storeBinFile(dir.filePath(QStringLiteral("fw.bin")), binFile(kFileVersion, 0xC0DE, imageOf(4))));

    // Update pressed with no controller answering, and with no valid file.
    {
        FirmwareRun run;
        DialogCamera camera({QStringLiteral("no-controller")}, {true}, language);
        run.pressUpdate({});
        QCOMPARE(camera.taken, 1);
    }
    {
        FirmwareRun run;
        QVERIFY(run.connectTo(kFirmwareWord));
        QVERIFY(storeBinFile(dir.filePath(QStringLiteral("bad.bin")), QByteArray("not firmware")));
        DialogCamera camera({QStringLiteral("no-file")}, {true}, language);
        run.pressUpdate({});
        QCOMPARE(camera.taken, 1);
        QVERIFY(storeBinFile(dir.filePath(QStringLiteral("fw.bin")), binFile(kFileVersion, 0xC0DE, imageOf(4))));
    }
    // Another board's firmware, and the firmware the controller already runs.
    {
        FirmwareRun run;
        QVERIFY(run.connectTo(qint32(0xF0280105)));
        DialogCamera camera({QStringLiteral("warning"), QStringLiteral("other-board")}, {true, false}, language);
        run.pressUpdate({});
        QCOMPARE(camera.taken, 2);
    }
    {
        FirmwareRun run;
        QVERIFY(run.connectTo(qint32(kFileVersion)));
        DialogCamera camera({QString(), QStringLiteral("same-firmware")}, {true, false}, language);
        run.pressUpdate({});
        QCOMPARE(camera.taken, 2);
    }
    // The main window's question when it is closed during an update.
    {
        DialogWarning question;
        question.setText(QCoreApplication::translate(
            "FCApp", "A firmware update is running. Closing now can leave the controller without "
                     "working firmware. Close anyway?"));
        question.show();
        QVERIFY(QTest::qWaitForWindowExposed(&question));
        shoot(&question, QStringLiteral("close-question"), language);
    }

    // The page: idle with a file, half-way, done; and a verify that failed.
    const QByteArray ok = FirmwareRun::byte(0xAB);
    for (bool verifyMatches : {true, false}) {
        FirmwareRun run;
        QVERIFY(QTest::qWaitForWindowExposed(&run.page));
        QVERIFY(run.connectTo(kFirmwareWord));
        if (verifyMatches)
            shoot(&run.page, QStringLiteral("idle"), language);
        QVERIFY(run.pressUpdate({true}));
        run.answer(run.tick().value(0), ok);
        run.answer(run.tick().value(0), ok);
        run.answer(run.tick().value(0), ok);
        run.tick();
        if (verifyMatches)
            shoot(&run.page, QStringLiteral("updating"), language);
        run.answer(run.all.back().get(), ok);
        run.answer(run.tick().value(0), ok);
        FCProtocol::Task* verify = run.tick().value(0);
        run.answer(verify, verifyMatches ? QByteArray("\xDE\xC0", 2) : QByteArray("\x00\x00", 2));
        if (verifyMatches) {
            run.answer(run.tick().value(0), FirmwareRun::byte(0xBA));
            run.answer(run.tick().value(0), FirmwareRun::words(0, 0, qint32(kFileVersion), 0));
        } else {
            run.answer(run.tick().value(0), FirmwareRun::words(1, 0, qint32(0xF0000102), 8192));
        }
        run.tick();
        QCOMPARE(run.text("label_progress_info") == success, verifyMatches);
        shoot(&run.page, verifyMatches ? QStringLiteral("success") : QStringLiteral("fail"), language);
    }
}

QTEST_MAIN(TestFirmwareScreenshots)

#include "tst_firmwarescreenshots.moc"
