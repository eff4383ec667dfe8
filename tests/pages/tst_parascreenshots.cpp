// Screenshots of the parameter page connected to the virtual controller (ESC 2D and 3D,
// limits, simple and expert gains), of the load question and of the main window's Save button
// while changes are not stored, in English and Chinese, written as PNG files into the current
// directory for a person to look at.
#include "screenshot.h"
#include "whenshown.h"

#include "widgets/dialogwarning.h"
#include "app/fcapp.h"
#include "pages/pagefcpara.h"
#include "engine/tuningfile.h"
#include "protocol/dspara.h"
#include "protocol/frameids.h"
#include "virtualfc.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QPointer>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include "pagerig.h"

using FCProtocol::DS_PARA;

namespace {

// A tuned quad in expert mode with OneShot125 ESCs in 3D.
DS_PARA tuned(bool expert, bool threeD)
{
    DS_PARA r;
    DS_PARA::decode(VirtualFC::defaultPara(), &r);
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

class TestParaScreenshots : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void subPages_data();
    void subPages();
    void loadQuestion_data();
    void loadQuestion();
    void saveButtonNotStored_data();
    void saveButtonNotStored();

private:
    QTemporaryDir dir;
};

void TestParaScreenshots::init()
{
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
}

void TestParaScreenshots::subPages_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("sub");
    QTest::addColumn<bool>("expert");
    QTest::addColumn<bool>("threeD");
    for (const char* lang : {"en", "zh"}) {
        QTest::addRow("%s esc 2D", lang) << lang << "esc-2d" << 0 << false << false;
        QTest::addRow("%s esc 3D", lang) << lang << "esc-3d" << 0 << false << true;
        QTest::addRow("%s limits", lang) << lang << "limits" << 1 << false << false;
        QTest::addRow("%s gains simple", lang) << lang << "gain-simple" << 2 << false << false;
        QTest::addRow("%s gains expert", lang) << lang << "gain-expert" << 2 << true << true;
    }
}

void TestParaScreenshots::subPages()
{
    QFETCH(QString, language);
    QFETCH(QString, name);
    QFETCH(int, sub);
    QFETCH(bool, expert);
    QFETCH(bool, threeD);
    Language scope(language);

    VirtualFC::setPara(tuned(expert, threeD).encode());
    PageRig<PageFCPara> rig;
    QVERIFY(rig.poll());
    // A OneShot125 change on the first refresh writes the record back once.
    QTRY_VERIFY_WITH_TIMEOUT(!rig.controller.isBusy() && rig.controller.waitingCount() == 0, 3000);
    rig.page.findChild<QAbstractButton*>(sub == 0 ? "radioButton_page_esc" : sub == 1 ? "radioButton_page_para"
                                                                                       : "radioButton_page_gain")
        ->click();
    QCOMPARE(rig.page.findChild<QStackedWidget*>("stackedWidget")->currentIndex(), sub);
    QVERIFY(QTest::qWaitForWindowExposed(&rig.page));
    shoot(&rig.page, QStringLiteral("pagefcpara-") + name, language);
    QCOMPARE(rig.page.findChild<QDoubleSpinBox*>("doubleSpinBox_escMax")->value(), 1940.0);
}

void TestParaScreenshots::loadQuestion_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("en") << "en";
    QTest::newRow("zh") << "zh";
}

void TestParaScreenshots::loadQuestion()
{
    QFETCH(QString, language);
    Language scope(language);

    VirtualFC::setPara(VirtualFC::defaultPara());
    PageRig<PageFCPara> rig;
    QVERIFY(rig.poll());
    const QString path = dir.filePath(QStringLiteral("quad-before-update.json"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(TuningFile::toJson(tuned(true, true), QStringLiteral("Trelvo_0105"), QDateTime::currentDateTimeUtc()));
    file.close();

    WhenShown<DialogWarning> question([&](DialogWarning* d) {
        shoot(d, QStringLiteral("pagefcpara-loadquestion"), language);
        d->reject();
    });
    QCOMPARE(rig.page.loadTuningFile(path), false);
    QVERIFY(question.done);
}

void TestParaScreenshots::saveButtonNotStored_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("en") << "en";
    QTest::newRow("zh") << "zh";
}

void TestParaScreenshots::saveButtonNotStored()
{
    QFETCH(QString, language);
    Language scope(language);

    FCApp app;
    app.infoTimer()->stop();
    app.pageTimer()->stop();
    auto* task = new FCProtocol::Task(FCProtocol::PARA_WR, true);
    task->txData.append(VirtualFC::defaultPara());
    QPointer<FCProtocol::Task> watched(task);
    QVERIFY(QMetaObject::invokeMethod(&app, "PreAddTask", Qt::DirectConnection, Q_ARG(FCProtocol::Task*, task)));
    QTRY_VERIFY_WITH_TIMEOUT(watched.isNull(), 3000);
    QVERIFY(app.hasUnstoredChanges());
    app.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app));
    shoot(&app, QStringLiteral("fcapp-notstored"), language);
    QWidget* strip = app.findChild<QWidget*>(QStringLiteral("frame_status"));
    QVERIFY(strip);
    shoot(strip, QStringLiteral("fcapp-notstored-strip"), language);

    WhenShown<DialogWarning> question([&](DialogWarning* d) {
        shoot(d, QStringLiteral("fcapp-closequestion"), language);
        d->reject();
    });
    app.close();
    QVERIFY(question.done);
    QVERIFY(app.isVisible());
}

QTEST_MAIN(TestParaScreenshots)

#include "tst_parascreenshots.moc"
