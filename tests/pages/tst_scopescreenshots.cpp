// Screenshots of the scope window in English and Chinese over a few seconds of the virtual
// controller's channels: live, with a selected graph, and with the legend moved while paused.
// Written as PNG files into the current directory for a person to look at.
#include "screenshot.h"
#include "pages/pagefcscope.h"
#include "protocol/task.h"
#include "usb/trcontroller.h"
#include "virtualfc.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QTranslator>
#include <QtTest>

#include <qcustomplot.h>

#include <memory>

class TestScopeScreenshots : public QObject
{
    Q_OBJECT

private slots:
    void bothLanguages();
};

void TestScopeScreenshots::bothLanguages()
{
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);

    // Two windows over one recording: the English one polls, both take every reply.
    // The Chinese window is made, and later driven, with the translation installed.
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/tr/FCApp.qm")));
    auto english = std::make_unique<PageFCScope>();
    QCoreApplication::installTranslator(&translator);
    auto chinese = std::make_unique<PageFCScope>();
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(chinese->findChild<QPushButton*>(QStringLiteral("pushButton_exportCsv"))->text(),
             QStringLiteral("导出 CSV…"));

    TRController controller;
    connect(english.get(), &PageFC::AddTask, &controller, [&](FCProtocol::Task* task) {
        connect(task, &FCProtocol::Task::TaskDone, english.get(), &PageFCScope::TaskDone);
        connect(task, &FCProtocol::Task::TaskDone, chinese.get(), &PageFCScope::TaskDone);
        connect(task, &FCProtocol::Task::TaskDone, task, &QObject::deleteLater);
        controller.AddTask(task);
    });
    english->move(0, 0);
    chinese->move(700, 0);
    english->show();
    chinese->show();
    QVERIFY(QTest::qWaitForWindowExposed(chinese.get()));
    QTimer ticks;
    connect(&ticks, &QTimer::timeout, english.get(), &PageFCScope::mainLoop);
    ticks.start(50);
    // About two and a half seconds at 20 samples a second.
    QTRY_VERIFY_WITH_TIMEOUT(english->timeVector().size() >= 50 && chinese->timeVector().size() >= 50, 10000);
    ticks.stop();

    const QList<std::pair<PageFCScope*, QString>> windows{{english.get(), "en"}, {chinese.get(), "zh"}};
    for (const auto& [page, language] : windows) {
        if (language == "zh")
            QCoreApplication::installTranslator(&translator);
        auto* plot = page->findChild<QCustomPlot*>(QStringLiteral("plot"));
        QCOMPARE(plot->graphCount(), VirtualFC::scopeNames().size());
        // Zoomed to the recording, as a developer would after a few seconds.
        plot->xAxis->setRange(0, page->timeVector().last());
        plot->replot();
        shoot(page, QStringLiteral("scope-live"), language);

        QTest::mouseClick(plot, Qt::LeftButton, Qt::NoModifier, plot->legend->item(2)->outerRect().center());
        QVERIFY(plot->graph(2)->selected());
        plot->replot();
        shoot(page, QStringLiteral("scope-selected"), language);

        QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("pushButton_pause")), Qt::LeftButton);
        const QPoint legend = plot->legend->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, legend, plot->mapToGlobal(legend));
        QApplication::sendEvent(plot, &event);
        auto* menu = page->findChild<QMenu*>();
        QVERIFY(menu);
        menu->actions().at(4)->trigger(); // bottom left
        menu->close();
        plot->replot();
        shoot(page, QStringLiteral("scope-legend-moved"), language);
        QCOMPARE(page->findChild<QPushButton*>(QStringLiteral("pushButton_pause"))->text(),
                 language == "zh" ? QStringLiteral("继续") : QStringLiteral("Resume"));
    }
    QCoreApplication::removeTranslator(&translator);
    VirtualFC::reset();
}

QTEST_MAIN(TestScopeScreenshots)

#include "tst_scopescreenshots.moc"
