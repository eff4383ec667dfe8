// The scope window: reply decoding over hostile bytes, the recording (time points, value
// extent, fresh recording on show), the interaction slots and their dialogs, pause, CSV and
// PNG export, and one run against the virtual flight controller.
#include "finishedtask.h"
#include "pagerig.h"
#include "modalscript.h"

#include "widgets/dialogwarning.h"
#include "pages/pagefcscope.h"
#include "protocol/frameids.h"
#include "protocol/task.h"
#include "virtualfc.h"

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

#include <qcustomplot.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <memory>

Q_DECLARE_METATYPE(QCPRange)

using FCProtocol::Task;

namespace {

QByteArray namesPayload(const QStringList& names)
{
    QByteArray out;
    for (const QString& name : names)
        out += name.toLatin1() + '\0';
    return out + '\0';
}

QByteArray samplesPayload(const QVector<float>& values)
{
    QByteArray out;
    for (float v : values)
        out += littleEndian(v);
    return out;
}

// A finished task; unpadded, the reply ends with the payload.
void deliver(PageFCScope& page, int type, const QByteArray& payload, bool pad = true, int status = Task::Success)
{
    auto task = finishedTask(type, payload, status);
    if (!pad)
        task->rxData.truncate(task->headLength + payload.size());
    page.TaskDone(task.get());
}

QCustomPlot* plotOf(PageFCScope& page)
{
    return page.findChild<QCustomPlot*>(QStringLiteral("plot"));
}

QScrollBar* bar(PageFCScope& page, const char* name)
{
    return page.findChild<QScrollBar*>(QLatin1String(name));
}

QStringList graphNames(QCustomPlot* plot)
{
    QStringList names;
    for (int i = 0; i < plot->graphCount(); ++i)
        names << plot->graph(i)->name();
    return names;
}

} // namespace

class TestPageFCScope : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void namesMakeGraphs();

    void namesThenSamplesOnTheWire();
    void recording_data();
    void recording();
    void firstSampleAtZeroNextAtElapsed();
    void freshRecording_data();
    void freshRecording();

    void selectionCoupling_data();
    void selectionCoupling();
    void dragAndZoomFollowTheSelectedAxis_data();
    void dragAndZoomFollowTheSelectedAxis();
    void renameDialogs_data();
    void renameDialogs();
    void legendMenu_data();
    void legendMenu();
    void scrollBarsFollowTheAxesAndBack();

    void pauseKeepsRecordingWithoutMovingTheView();
    void chineseButtons();
    void csvRoundTrip();
    void exportThroughDialogsAndFailures();

    void virtualController();

private:
    std::unique_ptr<PageFCScope> page;
    QCustomPlot* plot = nullptr;
    QTemporaryDir dir;
};

void TestPageFCScope::init()
{
    page.reset(new PageFCScope);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    plot = plotOf(*page);
    QVERIFY(plot);
}

void TestPageFCScope::cleanup()
{
    page.reset();
}

// Through the page: one graph per name (decoding: tst_scopereply), the x axis on 0 to 100 s.
void TestPageFCScope::namesMakeGraphs()
{
    deliver(*page, FCProtocol::SCOPE_NAME_RD, QByteArray("roll\0pitch\0\0zzz\0", 17), false);
    QCOMPARE(graphNames(plot), QStringList({"roll", "pitch"}));
    QCOMPARE(plot->xAxis->range(), QCPRange(0, 100));
}

void TestPageFCScope::namesThenSamplesOnTheWire()
{
    QSignalSpy spy(page.get(), &PageFC::AddTask);
    auto next = [&]() -> QByteArray {
        page->mainLoop();
        if (spy.size() != 1)
            return QByteArray("none");
        std::unique_ptr<Task> task(spy.takeFirst().at(0).value<Task*>());
        return task->urgent ? QByteArray("urgent") : task->txData;
    };
    QCOMPARE(next(), QByteArray::fromHex("4000"));
    // A failed names read changes nothing; the next tick asks again.
    deliver(*page, FCProtocol::SCOPE_NAME_RD, namesPayload({"a"}), true, Task::NoReply);
    QCOMPARE(next(), QByteArray::fromHex("4000"));
    deliver(*page, FCProtocol::SCOPE_NAME_RD, namesPayload({"a", "b"}));
    QCOMPARE(next(), QByteArray::fromHex("4001"));
    page->hide();
    QCOMPARE(next(), QByteArray("none"));
}

void TestPageFCScope::recording_data()
{
    QTest::addColumn<QList<QByteArray>>("replies");
    QTest::addColumn<int>("timePoints");
    QTest::addColumn<QVector<int>>("points");
    QTest::addColumn<QCPRange>("yRange");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    QTest::newRow("2 and -1") << QList<QByteArray>{samplesPayload({2, 0}), samplesPayload({-1, 0})} << 2
                              << QVector<int>{2, 2} << QCPRange(0.5 - 2.25, 0.5 + 2.25);
    QTest::newRow("only positive reaches 0") << QList<QByteArray>{samplesPayload({3, 1}), samplesPayload({2, 2})}
                                             << 2 << QVector<int>{2, 2} << QCPRange(1.5 - 2.25, 1.5 + 2.25);
    QTest::newRow("NaN left out") << QList<QByteArray>{samplesPayload({2, nan}), samplesPayload({nan, -1})} << 2
                                  << QVector<int>{1, 1} << QCPRange(0.5 - 2.25, 0.5 + 2.25);
    QTest::newRow("+inf left out") << QList<QByteArray>{samplesPayload({inf, 2}), samplesPayload({-1, 0})} << 2
                                   << QVector<int>{1, 2} << QCPRange(0.5 - 2.25, 0.5 + 2.25);
    QTest::newRow("-inf left out") << QList<QByteArray>{samplesPayload({2, -inf}), samplesPayload({-1, -inf})}
                                   << 2 << QVector<int>{2, 0} << QCPRange(0.5 - 2.25, 0.5 + 2.25);
    QTest::newRow("1-byte reply ignored whole") << QList<QByteArray>{samplesPayload({2, -1}), QByteArray(1, '\x40')}
                                                << 1 << QVector<int>{1, 1} << QCPRange(0.5 - 2.25, 0.5 + 2.25);
    QTest::newRow("one channel short") << QList<QByteArray>{samplesPayload({2, -1}), samplesPayload({9, 9}).left(7)}
                                       << 1 << QVector<int>{1, 1} << QCPRange(0.5 - 2.25, 0.5 + 2.25);
}

void TestPageFCScope::recording()
{
    QFETCH(QList<QByteArray>, replies);
    QFETCH(int, timePoints);
    QFETCH(QVector<int>, points);
    QFETCH(QCPRange, yRange);
    deliver(*page, FCProtocol::SCOPE_NAME_RD, namesPayload({"a", "b"}));
    for (const QByteArray& payload : replies)
        deliver(*page, FCProtocol::SCOPE_DATA_RD, payload, false);
    QCOMPARE(page->timeVector().size(), timePoints);
    QCOMPARE(page->timeVector().value(0, -1), 0.0);
    for (int i = 0; i < 2; ++i)
        QCOMPARE(plot->graph(i)->data()->size(), points[i]);
    QCOMPARE(plot->yAxis->range().lower, yRange.lower);
    QCOMPARE(plot->yAxis->range().upper, yRange.upper);
    QCOMPARE(plot->yAxis2->range(), plot->yAxis->range());
}

void TestPageFCScope::firstSampleAtZeroNextAtElapsed()
{
    deliver(*page, FCProtocol::SCOPE_NAME_RD, namesPayload({"a"}));
    QElapsedTimer outer;
    outer.start();
    deliver(*page, FCProtocol::SCOPE_DATA_RD, samplesPayload({1}));
    QElapsedTimer inner;
    inner.start();
    // Samples 10.6 ms apart: a clock kept in whole milliseconds would lose 0.6 ms each time.
    for (int k = 1; k <= 10; ++k) {
        while (inner.nsecsElapsed() < k * 10600000LL)
            QCoreApplication::processEvents();
        deliver(*page, FCProtocol::SCOPE_DATA_RD, samplesPayload({float(k)}));
    }
    const double least = inner.nsecsElapsed() / 1e9;
    const double most = outer.nsecsElapsed() / 1e9;
    const QVector<double> t = page->timeVector();
    QCOMPARE(t.size(), 11);
    QCOMPARE(t[0], 0.0);
    QVERIFY2(t.last() >= 0.106 && t.last() <= most && t.last() >= least - 0.002, qPrintable(QString::number(t.last())));
    QCOMPARE(plot->graph(0)->data()->at(10)->key, t.last());
}

void TestPageFCScope::freshRecording_data()
{
    QTest::addColumn<bool>("reshow");
    QTest::newRow("window shown again") << true;
    QTest::newRow("Clear") << false;
}

void TestPageFCScope::freshRecording()
{
    QFETCH(bool, reshow);
    deliver(*page, FCProtocol::SCOPE_NAME_RD, namesPayload({"a", "b"}));
    deliver(*page, FCProtocol::SCOPE_DATA_RD, samplesPayload({5, -5}));
    // A second names reply while sampling changes nothing.
    deliver(*page, FCProtocol::SCOPE_NAME_RD, namesPayload({"x"}));
    QCOMPARE(graphNames(plot), (QStringList{"a", "b"}));
    QCOMPARE(plot->graph(0)->data()->size(), 1);

    if (reshow) {
        page->hide();
        page->show();
    } else {
        QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("pushButton_clear")), Qt::LeftButton);
    }
    QCOMPARE(plot->graph(0)->data()->size(), 0);
    QCOMPARE(page->timeVector().size(), 0);
    // A sample still on its way from the old recording is not plotted into the new one.
    deliver(*page, FCProtocol::SCOPE_DATA_RD, samplesPayload({7, 7}));
    QCOMPARE(page->timeVector().size(), 0);
    QSignalSpy spy(page.get(), &PageFC::AddTask);
    page->mainLoop();
    QCOMPARE(spy.size(), 1);
    std::unique_ptr<Task> task(spy.at(0).at(0).value<Task*>());
    QCOMPARE(task->type, int(FCProtocol::SCOPE_NAME_RD));

    // The controller's channel set may have changed; the extent starts again at 0.
    deliver(*page, FCProtocol::SCOPE_NAME_RD, namesPayload({"x"}));
    QCOMPARE(graphNames(plot), QStringList{"x"});
    deliver(*page, FCProtocol::SCOPE_DATA_RD, samplesPayload({1}));
    QCOMPARE(plot->yAxis->range(), QCPRange(0.5 - 0.75, 0.5 + 0.75));
    QCOMPARE(page->timeVector(), QVector<double>{0.0});
}

void TestPageFCScope::selectionCoupling_data()
{
    QTest::addColumn<QString>("clicked");
    QTest::newRow("x axis line") << "x";
    QTest::newRow("top axis line") << "x2";
    QTest::newRow("y axis line") << "y";
    QTest::newRow("right axis line") << "y2";
    QTest::newRow("legend item") << "legend";
    QTest::newRow("graph") << "graph";
}

void TestPageFCScope::selectionCoupling()
{
    QFETCH(QString, clicked);
    deliver(*page, FCProtocol::SCOPE_NAME_RD, namesPayload({"a", "b"}));
    deliver(*page, FCProtocol::SCOPE_DATA_RD, samplesPayload({1, -1}));
    deliver(*page, FCProtocol::SCOPE_DATA_RD, samplesPayload({1, -1}));
    plot->xAxis->setRange(-1, 1);
    plot->replot();
    const QRect r = plot->axisRect()->rect();
    QPoint at;
    if (clicked == "x")
        at = QPoint(r.center().x(), r.bottom());
    else if (clicked == "x2")
        at = QPoint(r.center().x(), r.top());
    else if (clicked == "y")
        at = QPoint(r.left(), r.center().y());
    else if (clicked == "y2")
        at = QPoint(r.right(), r.center().y());
    else if (clicked == "legend")
        at = plot->legend->item(1)->outerRect().center();
    else
        at = QPoint(int(plot->xAxis->coordToPixel(0)), int(plot->yAxis->coordToPixel(-1)));
    QTest::mouseClick(plot, Qt::LeftButton, Qt::NoModifier, at);

    const QCPAxis::SelectableParts both = QCPAxis::spAxis | QCPAxis::spTickLabels;
    const bool x = clicked.startsWith('x'), y = clicked.startsWith('y');
    QCOMPARE(plot->xAxis->selectedParts() == both, x);
    QCOMPARE(plot->xAxis2->selectedParts() == both, x);
    QCOMPARE(plot->yAxis->selectedParts() == both, y);
    QCOMPARE(plot->yAxis2->selectedParts() == both, y);
    const bool graph = clicked == "legend" || clicked == "graph";
    QCOMPARE(plot->graph(1)->selected(), graph);
    QCOMPARE(plot->legend->itemWithPlottable(plot->graph(1))->selected(), graph);
    QVERIFY(!plot->graph(0)->selected());
}

void TestPageFCScope::dragAndZoomFollowTheSelectedAxis_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("orientations");
    QTest::newRow("x axis") << "x" << int(Qt::Horizontal);
    QTest::newRow("y axis") << "y" << int(Qt::Vertical);
    QTest::newRow("none") << "" << int(Qt::Horizontal | Qt::Vertical);
}

void TestPageFCScope::dragAndZoomFollowTheSelectedAxis()
{
    QFETCH(QString, selected);
    QFETCH(int, orientations);
    plot->replot();
    // The axis rectangle starts the other way round, so that a change is seen.
    plot->axisRect()->setRangeDrag(selected == "x" ? Qt::Vertical : Qt::Horizontal);
    plot->axisRect()->setRangeZoom(selected == "x" ? Qt::Vertical : Qt::Horizontal);
    if (selected == "x")
        plot->xAxis->setSelectedParts(QCPAxis::spAxis);
    if (selected == "y")
        plot->yAxis->setSelectedParts(QCPAxis::spAxis);
    // The wheel first: a click on the empty plot would take the axis selection away.
    const QPoint centre = plot->axisRect()->rect().center();
    QWheelEvent wheel(centre, plot->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(plot, &wheel);
    QCOMPARE(int(plot->axisRect()->rangeZoom()), orientations);
    QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, centre);
    QCOMPARE(int(plot->axisRect()->rangeDrag()), orientations);
    QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, centre);
}

void TestPageFCScope::renameDialogs_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("prefill");
    QTest::newRow("title") << "title" << true << "New plot title:" << "Development Plot";
    QTest::newRow("axis label") << "axis" << true << "New axis label:" << "x Axis";
    QTest::newRow("graph name") << "graph" << true << "New graph name:" << "gyroX";
    QTest::newRow("graph name cancelled") << "graph" << false << "New graph name:" << "gyroX";
}

void TestPageFCScope::renameDialogs()
{
    QFETCH(QString, target);
    QFETCH(bool, accept);
    QFETCH(QString, label);
    QFETCH(QString, prefill);
    deliver(*page, FCProtocol::SCOPE_NAME_RD, namesPayload({"gyroX"}));
    plot->replot();
    auto* title = qobject_cast<QCPTextElement*>(plot->plotLayout()->element(0, 0));
    QVERIFY(title);
    auto current = [&] {
        return target == "title" ? title->text() : target == "axis" ? plot->xAxis->label() : plot->graph(0)->name();
    };
    QPoint at;
    if (target == "title")
        at = title->rect().center();
    else if (target == "axis") {
        at = QPoint(plot->axisRect()->rect().center().x(), plot->axisRect()->rect().bottom());
        while (at.y() < plot->height() && plot->xAxis->getPartAt(at) != QCPAxis::spAxisLabel)
            at.ry() += 1;
    }
    else
        at = plot->legend->item(0)->outerRect().center();

    QString shown;
    ModalScript answer;
    answer.on<QInputDialog>([&](QInputDialog* dialog) {
        shown = dialog->windowTitle() + '|' + dialog->labelText() + '|' + dialog->textValue();
        dialog->setTextValue(QStringLiteral("Yaw, \"rate\""));
        accept ? dialog->accept() : dialog->reject();
    });
    QTest::mouseDClick(plot, Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(shown, "QCustomPlot example|" + label + '|' + prefill);
    QCOMPARE(current(), accept ? QStringLiteral("Yaw, \"rate\"") : prefill);
}

void TestPageFCScope::legendMenu_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("alignment");
    QTest::newRow("top left") << 0 << "Move to top left" << 0x21;
    QTest::newRow("top center") << 1 << "Move to top center" << 0x24;
    QTest::newRow("top right") << 2 << "Move to top right" << 0x22;
    QTest::newRow("bottom right") << 3 << "Move to bottom right" << 0x42;
    QTest::newRow("bottom left") << 4 << "Move to bottom left" << 0x41;
}

void TestPageFCScope::legendMenu()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(int, alignment);
    deliver(*page, FCProtocol::SCOPE_NAME_RD, namesPayload({"a"}));
    plot->replot();
    auto request = [&](QPoint pos) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, plot->mapToGlobal(pos));
        QApplication::sendEvent(plot, &event);
        return page->findChild<QMenu*>();
    };
    // Away from the legend there is no menu.
    QVERIFY(!request(plot->axisRect()->rect().center() - QPoint(40, 0)));
    QMenu* menu = request(plot->legend->rect().center());
    QVERIFY(menu);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->actions().size(), 5);
    QAction* action = menu->actions().at(index);
    QCOMPARE(action->text(), text);
    action->trigger();
    QCOMPARE(int(plot->axisRect()->insetLayout()->insetAlignment(0)), alignment);
    // Deleted once closed.
    QPointer<QMenu> watch(menu);
    menu->close();
    QTRY_VERIFY(!watch);
}

void TestPageFCScope::scrollBarsFollowTheAxesAndBack()
{
    QScrollBar* horizontal = bar(*page, "horizontalScrollBar");
    QScrollBar* vertical = bar(*page, "verticalScrollBar");
    deliver(*page, FCProtocol::SCOPE_NAME_RD, namesPayload({"a"}));
    deliver(*page, FCProtocol::SCOPE_DATA_RD, samplesPayload({10}));
    deliver(*page, FCProtocol::SCOPE_DATA_RD, samplesPayload({-10}));
    // 0 to 100 s: centre 5000, not held back at the end of a short bar.
    QCOMPARE(horizontal->value(), 5000);
    QCOMPARE(horizontal->pageStep(), 10000);
    QCOMPARE(plot->xAxis->range(), QCPRange(0, 100));

    plot->xAxis->setRange(10, 30);
    QCOMPARE(horizontal->value(), 2000);
    QCOMPARE(horizontal->pageStep(), 2000);
    plot->yAxis->setRange(-1, 3);
    QCOMPARE(vertical->value(), -100);
    QCOMPARE(vertical->pageStep(), 400);

    horizontal->setValue(1234);
    QCOMPARE(plot->xAxis->range().center(), 12.34);
    QCOMPARE(plot->xAxis->range().size(), 20.0);
    QCOMPARE(plot->xAxis2->range(), plot->xAxis->range());
    vertical->setValue(250);
    QCOMPARE(plot->yAxis->range().center(), -2.5);
    QCOMPARE(plot->yAxis->range().size(), 4.0);
    // Within a hundredth the axis stays where it is.
    plot->xAxis->setRange(10.004, 30.004);
    horizontal->setValue(2001);
    QCOMPARE(plot->xAxis->range().lower, 10.004);
}

void TestPageFCScope::pauseKeepsRecordingWithoutMovingTheView()
{
    auto* pause = page->findChild<QPushButton*>(QStringLiteral("pushButton_pause"));
    deliver(*page, FCProtocol::SCOPE_NAME_RD, namesPayload({"a"}));
    deliver(*page, FCProtocol::SCOPE_DATA_RD, samplesPayload({1}));
    const QCPRange before = plot->yAxis->range();
    QTest::mouseClick(pause, Qt::LeftButton);
    QVERIFY(page->isPaused());
    QCOMPARE(pause->text(), QStringLiteral("Resume"));
    deliver(*page, FCProtocol::SCOPE_DATA_RD, samplesPayload({-9}));
    QCOMPARE(plot->yAxis->range(), before);
    QCOMPARE(plot->graph(0)->data()->size(), 2);

    QSignalSpy replots(plot, &QCustomPlot::afterReplot);
    QTest::mouseClick(pause, Qt::LeftButton);
    QVERIFY(!page->isPaused());
    QCOMPARE(pause->text(), QStringLiteral("Pause"));
    QCOMPARE(plot->yAxis->range(), QCPRange(-4 - 7.5, -4 + 7.5));
    QVERIFY(replots.size() >= 1);
}

// A window made while the program speaks Chinese says so on its buttons, paused too.
void TestPageFCScope::chineseButtons()
{
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/tr/FCApp.qm")));
    QCoreApplication::installTranslator(&translator);
    PageFCScope chinese;
    QCoreApplication::removeTranslator(&translator);
    chinese.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chinese));
    auto* pause = chinese.findChild<QPushButton*>(QStringLiteral("pushButton_pause"));
    QCOMPARE(chinese.findChild<QPushButton*>(QStringLiteral("pushButton_exportCsv"))->text(), QStringLiteral("导出 CSV…"));
    QCoreApplication::installTranslator(&translator);
    QTest::mouseClick(pause, Qt::LeftButton);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(pause->text(), QStringLiteral("继续"));
}

void TestPageFCScope::csvRoundTrip()
{
    const QVector<QVector<float>> rows{
        {0.1f, -1e-7f, 123456.79f},
        {FLT_MAX, -FLT_MIN, 1.0f / 3.0f},
        {std::numeric_limits<float>::quiet_NaN(), 2.5f, -0.0f},
        {float(M_PI), 1e30f, 7.0f},
    };
    deliver(*page, FCProtocol::SCOPE_NAME_RD, namesPayload({"gyroX", "gyroY", "thr"}));
    for (const QVector<float>& row : rows)
        deliver(*page, FCProtocol::SCOPE_DATA_RD, samplesPayload(row));
    plot->replot();
    ModalScript rename;
    rename.on<QInputDialog>([](QInputDialog* dialog) {
        dialog->setTextValue(QStringLiteral("yaw, \"rate\""));
        dialog->accept();
    });
    QTest::mouseDClick(plot, Qt::LeftButton, Qt::NoModifier, plot->legend->item(1)->outerRect().center());
    QCOMPARE(rename.count(), 1);

    // The decimal point does not follow the user's locale.
    QLocale::setDefault(QLocale(QLocale::German));
    const QString path = dir.filePath(QStringLiteral("rec.csv"));
    QVERIFY(page->writeCsv(path));
    QLocale::setDefault(QLocale::c());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');

    QCOMPARE(lines.size(), 1 + rows.size() + 1);
    QCOMPARE(lines[0], QByteArray("time,gyroX,\"yaw, \"\"rate\"\"\",thr"));
    QCOMPARE(lines.last(), QByteArray());
    for (int k = 0; k < rows.size(); ++k) {
        const QList<QByteArray> fields = lines[k + 1].split(',');
        QCOMPARE(fields.size(), 4);
        QCOMPARE(std::strtod(fields[0].constData(), nullptr), page->timeVector()[k]);
        for (int i = 0; i < 3; ++i) {
            if (std::isnan(rows[k][i])) {
                QCOMPARE(fields[i + 1], QByteArray());
                continue;
            }
            // As a float reader takes it (correctly rounded), bit for bit, sign of zero included.
            char* end = nullptr;
            const float value = std::strtof(fields[i + 1].constData(), &end);
            QCOMPARE(end, fields[i + 1].constData() + fields[i + 1].size());
            QCOMPARE(qFloatDistance(value, rows[k][i]), quint32(0));
            QCOMPARE(std::signbit(value), std::signbit(rows[k][i]));
        }
    }
}

void TestPageFCScope::exportThroughDialogsAndFailures()
{
    deliver(*page, FCProtocol::SCOPE_NAME_RD, namesPayload({"a"}));
    deliver(*page, FCProtocol::SCOPE_DATA_RD, samplesPayload({1}));

    // Each save dialog takes the name of the moment; the failure's message is closed with OK.
    QString name;
    ModalScript dialogs({ModalScript::Ok});
    dialogs.on<QFileDialog>([&name](QFileDialog* dialog) {
        dialog->selectFile(name);
        static_cast<QDialog*>(dialog)->accept();
    });
    const QString csvPath = dir.filePath(QStringLiteral("dialog.csv"));
    name = csvPath;
    QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("pushButton_exportCsv")), Qt::LeftButton);
    QFile csv(csvPath);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll(), QByteArray("time,a\n0,1\n"));

    const QString pngPath = dir.filePath(QStringLiteral("dialog.png"));
    name = pngPath;
    QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("pushButton_saveImage")), Qt::LeftButton);
    QCOMPARE(QImage(pngPath).size(), plot->size() * (plot->devicePixelRatioF() > 1 ? 2 : 1));

    // A file that cannot be written is reported, and nothing is left behind.
    const QString bad = dir.filePath(QStringLiteral("missing/rec.csv"));
    QVERIFY(!page->writeCsv(bad));
    name = bad;
    QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("pushButton_exportCsv")), Qt::LeftButton);
    QCOMPARE(dialogs.classes(), QStringList({"QFileDialog", "QFileDialog", "QFileDialog", "DialogWarning"}));
    QVERIFY2(dialogs.text(3).contains(QStringLiteral("rec.csv")), qPrintable(dialogs.text(3)));
    QVERIFY(!QFile::exists(bad));
}

void TestPageFCScope::virtualController()
{
    page.reset();
    VirtualFC::reset();
    VirtualFC::setFastTiming(true);
    VirtualFC::setScopeNames({"roll", "pitch", "yaw"});
    VirtualFC::setScopeValues({1.5f, -2.0f, 0.25f});
    PageRig<PageFCScope> rig;
    VirtualFC::clearRecords();
    QVERIFY(rig.poll());
    QVERIFY(rig.poll());
    QVERIFY(rig.poll());
    const QList<QByteArray> frames = VirtualFC::requests();
    QCOMPARE(frames.size(), 3);
    QCOMPARE(frames[0].left(2), QByteArray::fromHex("4000"));
    QCOMPARE(frames[1].left(2), QByteArray::fromHex("4001"));
    QCOMPARE(frames[2].left(2), QByteArray::fromHex("4001"));
    QCustomPlot* p = plotOf(rig.page);
    QCOMPARE(graphNames(p), (QStringList{"roll", "pitch", "yaw"}));
    QCOMPARE(rig.page.timeVector().size(), 2);
    QCOMPARE(p->graph(1)->data()->at(1)->value, -2.0);
    QCOMPARE(p->graph(2)->data()->at(0)->value, 0.25);
    VirtualFC::reset();
}

QTEST_MAIN(TestPageFCScope)

#include "tst_pagefcscope.moc"
