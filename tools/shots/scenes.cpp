#include "scenes.h"

#include "camera.h"

#include "finishedtask.h"
#include "firmwarefile.h"
#include "firmwarepagerun.h"
#include "mainwindowup.h"
#include "modalscript.h"
#include "pagerig.h"

#include "app/dialoglanguageselect.h"
#include "engine/setuphistory.h"
#include "engine/setupreader.h"
#include "engine/tuningfile.h"
#include "pages/dialoghistory.h"
#include "pages/dialogrcfuncsw.h"
#include "pages/pagefcframe.h"
#include "pages/pagefcpara.h"
#include "pages/pagefcrc.h"
#include "pages/pagefcscope.h"
#include "pages/pagefcstatus.h"
#include "protocol/dspara.h"
#include "protocol/requests.h"
#include "widgets/dialogsetupdiff.h"
#include "widgets/dialogwarning.h"
#include "widgets/focusring.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QMenu>
#include <QPainter>
#include <QStackedWidget>
#include <QTemporaryDir>

#include <qcustomplot.h>

using FCProtocol::Task;

namespace {

constexpr quint32 kFileVersion = 0xF0300106;
constexpr quint32 kFirmwareWord = 0xF0300105;

// Waits for `condition`; a scene that never gets there is reported.
template <typename Condition>
bool await(Camera& camera, Condition condition, const char* what, int ms = 5000)
{
    if (QTest::qWaitFor(condition, ms))
        return true;
    camera.fail(QStringLiteral("%1 (%2)").arg(QLatin1String(what), camera.currentLanguage()));
    return false;
}

void showDialog(Camera& camera, QDialog& dialog, const QString& name)
{
    dialog.show();
    if (await(camera, [&] { return QTest::qWaitForWindowExposed(&dialog); }, "dialog shown"))
        camera.shoot(&dialog, name);
}

// Presses Update on the firmware page; each question or message that comes up is photographed
// under the next name (an empty one: not again) and answered with the next answer.
void pressUpdate(Camera& camera, FirmwarePageRun& run, const QStringList& names, const QList<bool>& answers)
{
    ModalScript script;
    script.on<DialogWarning>([&](DialogWarning* dialog) {
        const int index = script.count() - 1;
        if (!names.value(index).isEmpty())
            camera.shoot(dialog, names.value(index));
        if (answers.value(index))
            dialog->accept();
        else
            dialog->reject();
    });
    run.pressUpdate();
    if (script.count() != names.size())
        camera.fail(QStringLiteral("firmware page: %1 dialogs for %2").arg(script.count()).arg(names.join(' ')));
}

// A tuned quad with OneShot125 ESCs in 3D, in the simple or the expert gains.
FCProtocol::DS_PARA tuned(bool expert, bool threeD)
{
    FCProtocol::DS_PARA r;
    FCProtocol::DS_PARA::decode(VirtualFC::defaultPara(), &r);
    r.escMin = 1060;
    r.escMax = 1940;
    r.avxy_max = 720;
    r.axy_max = 45;
    r.avz_max = 360;
    r.simple_avx = 115;
    r.simple_avy = 115;
    r.simple_avz = 90;
    r.paraType = expert ? 1 : 0;
    r.escType = threeD ? 1 : 0;
    r.oneshot125 = threeD ? 1 : 0;
    r.expert_avx_p = 0.135f;
    r.expert_avx_i = 0.062f;
    r.expert_avx_d = 0.0035f;
    r.expert_avy_p = 0.135f;
    r.expert_avy_i = 0.062f;
    r.expert_avy_d = 0.0035f;
    r.expert_avz_p = 0.42f;
    return r;
}

} // namespace

void Scenes::mainWindow(Camera& camera)
{
    MainWindowUp<> window(500); // the product's timers
    FCApp& app = *window.app;
    auto* usb = window.child<QLabel>("label_usb");
    auto* pitch = window.child<QLabel>("label_pitch");
    // Connected, and the status page has drawn a few attitude updates.
    if (await(camera, [&] {
            return usb->text() == FCApp::tr("Connected") && VirtualFC::requestCount(FCProtocol::STATUS_RD) >= 3
                && !pitch->text().isEmpty();
        }, "main window connected"))
        camera.shoot(&app, QStringLiteral("fcapp"));

    DialogWarning warning;
    warning.setText(FCApp::tr("This operation will restore all settings to default value, are you sure?"));
    showDialog(camera, warning, QStringLiteral("warning"));

    DialogLanguageSelect notice;
    notice.setLanguage(camera.currentLanguage() == QLatin1String("zh") ? QLocale(QLocale::Chinese)
                                                                        : QLocale(QLocale::English));
    showDialog(camera, notice, QStringLiteral("restart"));

    // The longest questions, shown smaller where they would not fit.
    const char* const questions[][3] = {
        {"PageFCRc", "rc_cali_start",
         "Operating instruction\xEF\xBC\x9A turn all channel sticks,make sure all of them move from the minimum "
         "position to the maximum position,and then click \"Complete\" after completed. operate now?"},
        {"PageFCRc", "rc_cali_finish", "Please middle the THROTTLE and click \"OK\" bellow to complete the calibration."},
        {"PageFCStatus", "motor_test",
         "During the motor test,please remove all propellers in case of unexpected danger! Please make sure the "
         "order and rotation of motors are the same as the picture shown in the software."},
    };
    for (const auto& question : questions) {
        DialogWarning box;
        box.setText(QCoreApplication::translate(question[0], question[2]));
        showDialog(camera, box, QStringLiteral("warning_") + QLatin1String(question[1]));
    }
}

void Scenes::dialogsOverWindow(Camera& camera)
{
    MainWindowUp<> window(500, false);
    FCApp& app = *window.app;
    // Aside on the screen, as a pilot may have put it.
    app.move(240, 150);
    app.show();
    auto* pitch = window.child<QLabel>("label_pitch");
    const auto live = [&] { return app.isConnected() && !pitch->text().isEmpty(); };
    if (!await(camera, [&] { return QTest::qWaitForWindowExposed(&app) && live(); }, "main window up"))
        return;
    app.buildPages();

    // Each question where it opens, as the pilot meets it; then cancelled.
    const auto over = [&](const QString& name, const std::function<void()>& ask) {
        ModalScript script;
        script.on<QDialog>([&](QDialog* dialog) {
            camera.shootOver(dialog, name);
            dialog->reject();
        });
        ask();
        await(camera, [&] { return script.count() > 0; }, qPrintable(name));
    };
    over(QStringLiteral("over-default"), [&] { window.click("pushButton_default"); });
    over(QStringLiteral("over-version"), [&] { QTest::mouseClick(&app, Qt::RightButton, Qt::NoModifier, QPoint(400, 20)); });
    over(QStringLiteral("over-restart"), [&] {
        window.child<QComboBox>("comboBox_language")->setCurrentIndex(camera.currentLanguage() == QLatin1String("zh") ? 2 : 1);
    });
    window.click("radioButton_page5");
    over(QStringLiteral("over-firmware"), [&] { window.click("pushButton_update"); });

    // The load question with its table, and the history, from the parameter page.
    window.click("radioButton_page4");
    auto* para = app.findChild<PageFCPara*>(QStringLiteral("pageFCPara"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quad.json"));
    if (await(camera, [&] { return para->hasDeviceRecord(); }, "parameters read") && para->saveTuningFile(path)) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
        file.close();
        QJsonObject values = root.value(QStringLiteral("parameters")).toObject();
        values.insert(QStringLiteral("escMax"), 1950);
        values.insert(QStringLiteral("escType"), 1);
        root.insert(QStringLiteral("parameters"), values);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(QJsonDocument(root).toJson());
        file.close();
        over(QStringLiteral("over-loadquestion"), [&] { para->loadTuningFile(path); });
    }
    over(QStringLiteral("over-history"), [&] { window.click("pushButton_paraHistory"); });

    // While an update runs: the page buttons, Default and Save disabled.
    window.click("radioButton_page5");
    QMetaObject::invokeMethod(&app, "boot_state_changed", Q_ARG(bool, true));
    camera.shoot(&app, QStringLiteral("fcapp-updating"));
    QMetaObject::invokeMethod(&app, "boot_state_changed", Q_ARG(bool, false));

    // The keyboard's focus, moved to the status page's calibration button.
    window.click("radioButton_page1");
    app.activateWindow();
    if (!QTest::qWaitForWindowActive(&app))
        qWarning("shots: the window did not become active; the focus ring may not show");
    auto* calibration = window.child<QWidget>("pushButton_HorizonCali");
    for (int i = 0; i < 12 && QApplication::focusWidget() != calibration; ++i)
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &app, Qt::Key_Tab);
    if (await(camera, [&] { return FocusRing::target() == calibration && live(); }, "focus ring"))
        camera.shoot(&app, QStringLiteral("fcapp-focus"));
}

void Scenes::bootloaderNotice(Camera& camera)
{
    // A board left in its bootloader, its setup in the history: the notice once it answers.
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    VirtualFC::setBoardMode(1);
    SetupRecord setup;
    setup.parameters = FCProtocol::DS_PARA();
    SetupHistory history(SetupHistory::defaultRoot());
    history.write({VirtualFC::info().boardWord, VirtualFC::serialNumber()}, setup,
                  QLatin1String(SetupHistory::kBeforeUpdate), QStringLiteral("Trelvo_0105"));
    FCApp app;
    app.infoTimer()->setInterval(50);
    app.show();
    if (await(camera, [&] { return app.findChildren<DialogWarning*>().size() == 1; }, "bootloader notice")) {
        DialogWarning* notice = app.findChildren<DialogWarning*>().first();
        if (await(camera, [&] { return QTest::qWaitForWindowExposed(notice); }, "notice shown"))
            camera.shootOver(notice, QStringLiteral("fcapp-bootloadernotice"));
        notice->reject();
    }
    QDir(history.root()).removeRecursively();
}

void Scenes::accessNotice(Camera& camera)
{
    MainWindowUp<> window(20, true, [] { VirtualFC::setFault(VirtualFC::Fault::RefuseOpen, -1); });
    ModalScript notice;
    notice.on<DialogWarning>([&](DialogWarning* dialog) {
        camera.shootOver(dialog, QStringLiteral("access"));
        dialog->accept();
    });
    await(camera, [&] { return notice.count() > 0; }, "access notice");
}

void Scenes::firmware(Camera& camera)
{
    VirtualFC::reset();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("fw.bin"));
    if (!storeBinFile(file, binFile(kFileVersion, 0xC0DE, imageOf(4))))
        camera.fail(QStringLiteral("firmware file not written"));

    // Update pressed with no controller answering, and with no valid file.
    {
        FirmwarePageRun run;
        pressUpdate(camera, run, {QStringLiteral("firmware-no-controller")}, {true});
    }
    {
        FirmwarePageRun run;
        run.connectTo(kFirmwareWord);
        storeBinFile(dir.filePath(QStringLiteral("bad.bin")), QByteArray("not firmware"));
        pressUpdate(camera, run, {QStringLiteral("firmware-no-file")}, {true});
        storeBinFile(file, binFile(kFileVersion, 0xC0DE, imageOf(4)));
    }
    // Another board's firmware, and the firmware the controller already runs.
    {
        FirmwarePageRun run;
        run.connectTo(0xF0280105);
        pressUpdate(camera, run, {QStringLiteral("firmware-warning"), QStringLiteral("firmware-other-board")},
                    {true, false});
    }
    {
        FirmwarePageRun run;
        run.connectTo(kFileVersion);
        pressUpdate(camera, run, {QString(), QStringLiteral("firmware-same-firmware")}, {true, false});
    }
    // The main window's question when it is closed during an update.
    DialogWarning question;
    question.setText(QCoreApplication::translate("FCApp", "A firmware update is running. Closing now can leave the "
                                                          "controller without working firmware. Close anyway?"));
    showDialog(camera, question, QStringLiteral("firmware-close-question"));

    // The page: idle with a file, half-way, done; and a verify that failed.
    for (bool verifyMatches : {true, false}) {
        FirmwarePageRun run;
        if (!await(camera, [&] { return QTest::qWaitForWindowExposed(&run.page) && run.connectTo(kFirmwareWord); },
                   "firmware page connected"))
            return;
        if (verifyMatches)
            camera.shoot(&run.page, QStringLiteral("firmware-idle"));
        {
            ModalScript ok({ModalScript::Ok});
            if (!run.pressUpdate())
                return camera.fail(QStringLiteral("firmware update not started"));
        }
        // The controller answers the next request at once.
        auto next = [&](const QByteArray& reply) {
            Task* task = run.tick();
            if (task)
                run.answer(task, reply);
            return task != nullptr;
        };
        const QByteArray ok(1, char(0xAB));
        bool answered = next(ok) && next(ok) && next(ok) && run.tick();
        if (verifyMatches)
            camera.shoot(&run.page, QStringLiteral("firmware-updating"));
        run.answer(run.all.back().get(), ok);
        answered = answered && next(ok)
            && next(verifyMatches ? littleEndian(quint16(0xC0DE)) : littleEndian(quint16(0)));
        if (verifyMatches)
            answered = answered && next(QByteArray(1, char(0xBA))) && next(FirmwarePageRun::version(kFileVersion));
        else
            answered = answered && next(FirmwarePageRun::version(0xF0000102));
        run.tick();
        const int end = verifyMatches ? FirmwareUpdate::Succeeded : FirmwareUpdate::Failed;
        if (!answered || run.page.update()->progressState() != end)
            camera.fail(QStringLiteral("firmware update did not end as scripted"));
        camera.shoot(&run.page, verifyMatches ? QStringLiteral("firmware-success") : QStringLiteral("firmware-fail"));
    }
}

void Scenes::statusAndAirframe(Camera& camera)
{
    PageFCStatus status;
    status.show();
    // A banked climb on a north-east heading, armed in attitude mode.
    auto attitude = finishedTask(FCProtocol::STATUS_RD,
                                 littleEndian(1.0f, 0.0f, 0.0f, 0.0f, float(10.0 / 57.29578), float(-20.0 / 57.29578),
                                              0.8f, quint8(2), quint8(1)));
    status.TaskDone(attitude.get());
    if (await(camera, [&] { return QTest::qWaitForWindowExposed(&status); }, "status page shown"))
        camera.shoot(&status, QStringLiteral("pagefcstatus"));

    PageFCFrame frame;
    frame.show();
    // The controller reports a layout whose button is disabled in the form: it is still shown.
    auto layout = finishedTask(FCProtocol::FRAME_RW, littleEndian(qint8(0), qint8(7), qint8(1)));
    frame.TaskDone(layout.get());
    if (!await(camera, [&] { return QTest::qWaitForWindowExposed(&frame); }, "airframe page shown"))
        return;
    camera.shoot(&frame, QStringLiteral("pagefcframe"));
    // The mounting sub-page, which the page itself never brings up.
    frame.findChild<QStackedWidget*>(QStringLiteral("stackedWidget"))->setCurrentIndex(1);
    camera.shoot(&frame, QStringLiteral("pagefcframe-mounting"));
}

void Scenes::parameters(Camera& camera)
{
    struct Sub {
        const char* name;
        const char* button;
        bool expert;
        bool threeD;
    };
    const Sub subs[] = {{"esc-2d", "radioButton_page_esc", false, false},
                        {"esc-3d", "radioButton_page_esc", false, true},
                        {"limits", "radioButton_page_para", false, false},
                        {"gain-simple", "radioButton_page_gain", false, false},
                        {"gain-expert", "radioButton_page_gain", true, true}};
    for (const Sub& sub : subs) {
        VirtualFC::reset();
        VirtualFC::setFastTiming(true);
        VirtualFC::setPara(tuned(sub.expert, sub.threeD).encode());
        PageRig<PageFCPara> rig;
        // A OneShot125 change on the first refresh writes the record back once.
        if (!rig.poll() || !await(camera, [&] { return !rig.controller.isBusy() && rig.controller.waitingCount() == 0; },
                                  "parameters read"))
            return;
        rig.page.findChild<QAbstractButton*>(QLatin1String(sub.button))->click();
        if (await(camera, [&] { return QTest::qWaitForWindowExposed(&rig.page); }, "parameter page shown"))
            camera.shoot(&rig.page, QStringLiteral("pagefcpara-") + QLatin1String(sub.name));
    }

    // Save to file: the dialog opens where the last file went (else Documents) with the board and
    // the day as the name.
    {
        VirtualFC::reset();
        VirtualFC::setFastTiming(true);
        PageRig<PageFCPara> rig;
        rig.page.InfoRDDone(VirtualFC::info());
        if (!rig.poll())
            return camera.fail(QStringLiteral("parameters not read"));
        ModalScript save;
        save.on<QFileDialog>([&](QFileDialog* dialog) {
            dialog->resize(900, 480);
            camera.shoot(dialog, QStringLiteral("pagefcpara-savedialog"));
            dialog->reject();
        });
        rig.page.findChild<QAbstractButton*>(QStringLiteral("pushButton_paraSave"))->click();
        if (save.classes() != QStringList{QStringLiteral("QFileDialog")})
            camera.fail(QStringLiteral("no file dialog"));
    }

    // Loading a setup file asks first, with the table of the values that differ.
    {
        VirtualFC::reset();
        VirtualFC::setFastTiming(true);
        VirtualFC::setRecognitionMs(0);
        PageRig<PageFCPara> rig;
        rig.poll();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("quad-before-update.json"));
        if (!rig.page.saveTuningFile(path))
            return camera.fail(QStringLiteral("setup file not saved"));
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
        file.close();
        auto change = [&root](const char* section, const QJsonObject& values) {
            QJsonObject part = root.value(QLatin1String(section)).toObject();
            for (auto it = values.begin(); it != values.end(); ++it)
                part.insert(it.key(), it.value());
            root.insert(QLatin1String(section), part);
        };
        change("parameters", {{"escMax", 1950}, {"expert_avx_p", 0.15}, {"paraType", 1}, {"oneshot125", 1}, {"escType", 1}});
        change("radio", {{"reverse0", 1}, {"positionMode3", 5}, {"modeButton", 1}});
        change("airframe", {{"airframe", 3}, {"mounting", 1}});
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(QJsonDocument(root).toJson()) <= 0)
            return camera.fail(QStringLiteral("setup file not written"));
        file.close();
        {
            ModalScript question;
            question.on<DialogSetupDiff>([&](DialogSetupDiff* dialog) {
                camera.shoot(dialog, QStringLiteral("pagefcpara-loadquestion"));
                dialog->reject();
            });
            rig.page.loadTuningFile(path);
            if (question.classes() != QStringList{QStringLiteral("DialogSetupDiff")})
                camera.fail(QStringLiteral("no load question"));
        }

        // A board that keeps its own ESC minimum: the pilot is told which value did not take.
        change("parameters", {{"escMin", 1150}});
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(QJsonDocument(root).toJson()) <= 0)
            return camera.fail(QStringLiteral("setup file not written"));
        file.close();
        VirtualFC::setFault(VirtualFC::Fault::KeepValues, -1, 6, FCProtocol::PARA_WR);
        ModalScript outcome;
        outcome.on<DialogSetupDiff>([](DialogSetupDiff* dialog) { dialog->accept(); });
        outcome.on<DialogWarning>([&](DialogWarning* dialog) {
            camera.shoot(dialog, QStringLiteral("pagefcpara-nottaken"));
            dialog->accept();
        });
        rig.page.loadTuningFile(path);
        VirtualFC::clearFaults();
        if (outcome.classes() != QStringList{QStringLiteral("DialogSetupDiff"), QStringLiteral("DialogWarning")})
            camera.fail(QStringLiteral("no message for the value that did not take"));
    }

    // The history of a controller's setup, a snapshot selected.
    {
        VirtualFC::reset();
        VirtualFC::setFastTiming(true);
        PageRig<PageFCPara> rig;
        SetupReader reader;
        SetupRecord now;
        QObject::connect(&reader, &SetupReader::sendTask, &rig.controller, [&](FCProtocol::Task* task) {
            QObject::connect(task, &FCProtocol::Task::TaskDone, &reader, &SetupReader::taskDone);
            QObject::connect(task, &FCProtocol::Task::TaskDone, task, &QObject::deleteLater);
            rig.controller.AddTask(task);
        });
        bool read = false;
        QObject::connect(&reader, &SetupReader::finished, [&](const SetupRecord& setup) {
            now = setup;
            read = true;
        });
        reader.start();
        if (!await(camera, [&] { return read; }, "setup read"))
            return;
        const char* reasons[] = {SetupHistory::kBeforeStore, SetupHistory::kBeforeLoad, SetupHistory::kConnected,
                                 SetupHistory::kBeforeUpdate, SetupHistory::kBeforeDefaults, SetupHistory::kConnected};
        QVector<SetupHistory::Snapshot> snapshots;
        const QDateTime newest = QDateTime::currentDateTimeUtc();
        for (int i = 0; i < 6; ++i) {
            SetupHistory::Snapshot snapshot;
            snapshot.time = newest.addSecs(-7 * 3600 * i);
            snapshot.reason = QLatin1String(reasons[i]);
            snapshot.board = QStringLiteral("Trelvo_0105");
            snapshot.setup = now;
            snapshot.setup.parameters->escMax = qint16(1900 + 10 * i);
            if (i % 2)
                snapshot.setup.parameters->expert_avx_p = 0.1f * i;
            if (i == 3)
                snapshot.setup.airframe->mounting = 1;
            snapshots << snapshot;
        }
        // The last two kept before controllers were told apart: the group of an unknown board.
        DialogHistory history(snapshots.mid(0, 4), snapshots.mid(4), now);
        history.select(4);
        showDialog(camera, history, QStringLiteral("pagefcpara-history"));
    }

    // A write not stored yet: the Save button says so, and closing asks.
    MainWindowUp<> window;
    FCProtocol::DS_PARA record;
    FCProtocol::DS_PARA::decode(VirtualFC::defaultPara(), &record);
    if (!window.run(FCProtocol::Request::paraWrite(record)) || !window.app->hasUnstoredChanges())
        return camera.fail(QStringLiteral("parameters not written"));
    camera.shoot(window.app.get(), QStringLiteral("fcapp-notstored"));
    camera.shoot(window.child<QWidget>("frame_status"), QStringLiteral("fcapp-notstored-strip"));
    ModalScript close;
    close.on<DialogWarning>([&](DialogWarning* dialog) {
        camera.shootOver(dialog, QStringLiteral("fcapp-closequestion"));
        dialog->reject();
    });
    window.app->close();
    if (close.count() != 1)
        camera.fail(QStringLiteral("no close question"));
}

void Scenes::radio(Camera& camera)
{
    const QString recognizing = QCoreApplication::translate("PageFCRc", "Recognizing...");
    {
        VirtualFC::reset();
        VirtualFC::setFastTiming(true);
        VirtualFC::setRecognitionMs(300);
        PageRig<PageFCRc> rig;
        rig.page.InfoRDDone(VirtualFC::info());
        auto* type = rig.page.findChild<QLabel*>(QStringLiteral("label_rcType"));
        // Right after connection the controller is still recognising the receiver.
        if (!await(camera, [&] { return QTest::qWaitForWindowExposed(&rig.page) && rig.poll(); }, "radio page read"))
            return;
        camera.shoot(&rig.page, QStringLiteral("rc_recognizing"));
        // Then the live receiver with moving sticks.
        if (!await(camera, [&] { return rig.poll() && type->text() != recognizing; }, "receiver recognised"))
            return;
        rig.poll();
        camera.shoot(&rig.page, QStringLiteral("rc_live"));

        // The flight-mode popup under the fifth bar, on the page and alone.
        ModalScript popup;
        popup.on<DialogRCFuncSw>([&](DialogRCFuncSw* dialog) {
            QImage shot = rig.page.grab().toImage();
            {
                QPainter painter(&shot);
                painter.drawPixmap(rig.page.mapFromGlobal(dialog->pos()), dialog->grab());
            }
            camera.save(shot, QStringLiteral("rc_popup-%1.png").arg(camera.currentLanguage()));
            camera.shoot(dialog, QStringLiteral("rc_popup_only"));
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QTest::mouseClick(rig.page.findChild<QPushButton*>(QStringLiteral("pushButton_rcSwitch12")), Qt::LeftButton);
        if (popup.count() != 1)
            camera.fail(QStringLiteral("no flight-mode popup"));
    }

    // Collecting ranges, with channel 2 unavailable: its bar blank and disabled.
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    VirtualFC::RcState rc;
    rc.channelWord = qint32((2 << 17) | (1 << 2) | (1 << 9));
    for (int c = 0; c < 8; ++c) {
        rc.table[c * 5 + 0] = qint16(1000 + 10 * c);
        rc.table[c * 5 + 1] = qint16(2000 - 10 * c);
        rc.table[c * 5 + 2] = 1500;
        rc.table[c * 5 + 3] = 1500;
        rc.table[c * 5 + 4] = qint16(c % 2 ? 300 : -250);
    }
    rc.trailing = {3, 1, 0, 3, 5, 0, 1};
    VirtualFC::setRc(rc);
    PageRig<PageFCRc> rig;
    if (!await(camera, [&] { return QTest::qWaitForWindowExposed(&rig.page); }, "radio page shown"))
        return;
    {
        ModalScript start({ModalScript::Ok});
        QTest::mouseClick(rig.page.findChild<QPushButton*>(QStringLiteral("pushButton_rcCali")), Qt::LeftButton);
    }
    if (await(camera, [&] { return rig.poll(); }, "calibration read"))
        camera.shoot(&rig.page, QStringLiteral("rc_calibrating"));
}

void Scenes::scope(Camera& camera)
{
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    PageFCScope page;
    TRController controller;
    QObject::connect(&page, &PageFC::AddTask, &controller, [&](Task* task) {
        QObject::connect(task, &Task::TaskDone, &page, &PageFCScope::TaskDone);
        QObject::connect(task, &Task::TaskDone, task, &QObject::deleteLater);
        controller.AddTask(task);
    });
    page.show();
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, &page, &PageFCScope::mainLoop);
    ticks.start(50);
    // About two and a half seconds at 20 samples a second.
    const bool recorded = QTest::qWaitForWindowExposed(&page)
        && await(camera, [&] { return page.timeVector().size() >= 50; }, "scope recording", 10000);
    ticks.stop();
    if (!recorded)
        return;

    auto* plot = page.findChild<QCustomPlot*>(QStringLiteral("plot"));
    // Zoomed to the recording, as a developer would after a few seconds.
    plot->xAxis->setRange(0, page.timeVector().last());
    plot->replot();
    camera.shoot(&page, QStringLiteral("scope-live"));

    QTest::mouseClick(plot, Qt::LeftButton, Qt::NoModifier, plot->legend->item(2)->outerRect().center());
    plot->replot();
    camera.shoot(&page, QStringLiteral("scope-selected"));

    QTest::mouseClick(page.findChild<QPushButton*>(QStringLiteral("pushButton_pause")), Qt::LeftButton);
    const QPoint legend = plot->legend->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, legend, plot->mapToGlobal(legend));
    QApplication::sendEvent(plot, &event);
    if (auto* menu = page.findChild<QMenu*>()) {
        menu->actions().at(4)->trigger(); // bottom left
        menu->close();
    }
    plot->replot();
    camera.shoot(&page, QStringLiteral("scope-legend-moved"));
}

void Scenes::iconBesideWindow(Camera& camera)
{
    MainWindowUp<> window(20);
    if (!await(camera, [&] { return window.app->isConnected(); }, "main window connected"))
        return;
    // At its pixel size, as the screen shows it beside the icon's pixels (a grab at a scale
    // above 1 would otherwise be drawn at its size in points).
    QImage shot = window.app->grab().toImage();
    shot.setDevicePixelRatio(1);

    // The window on a desktop-grey ground, the icon at each installed size to its right.
    QImage sheet(shot.width() + 24 + 256 + 24, shot.height() + 48, QImage::Format_ARGB32);
    sheet.fill(QColor(60, 64, 70));
    QPainter painter(&sheet);
    painter.drawImage(24, 24, shot);
    int y = 24;
    for (int size : {256, 128, 48}) {
        const QImage icon(QStringLiteral(ORVANTE_ICON_DIR "/%1x%1/apps/" ORVANTE_APP_ID ".png").arg(size));
        if (icon.size() != QSize(size, size))
            camera.fail(QStringLiteral("no %1 px icon").arg(size));
        painter.drawImage(shot.width() + 24 + (256 - size) / 2, y, icon);
        y += size + 16;
    }
    painter.end();
    camera.save(sheet, QStringLiteral("icon_beside_window.png"));
}
