// The main window's reminder of changes not stored in the controller, end to end: a write
// through the controller marks the Save button, Save stores and clears it, and closing the
// window asks first. Which tasks set and clear the mark: tests/engine/tst_notstoredmark.cpp.
#include "mainwindowup.h"
#include "modalscript.h"

#include "protocol/dspara.h"
#include "protocol/requests.h"

#include <QApplication>
#include <QPushButton>

namespace {

const char* kTip = "Changes are not stored in the controller yet. Press Save to keep them after a power cycle.";

} // namespace

class TestNotStored : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void saveButton();
    void closeQuestion_data();
    void closeQuestion();

private:
    bool writeParameters();
    bool marked();

    std::unique_ptr<MainWindowUp<>> window;
};

void TestNotStored::initTestCase()
{
    // A closed window must not end the runs of the event loop that later rows need.
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestNotStored::init()
{
    window = std::make_unique<MainWindowUp<>>();
    QVERIFY(window->exposed);
}

void TestNotStored::cleanup()
{
    window.reset();
}

bool TestNotStored::writeParameters()
{
    FCProtocol::DS_PARA record;
    return FCProtocol::DS_PARA::decode(VirtualFC::defaultPara(), &record)
        && window->run(FCProtocol::Request::paraWrite(record));
}

// The mark as the pilot sees it, checked against the window's own flag.
bool TestNotStored::marked()
{
    auto* save = window->child<QPushButton>("pushButton_storge");
    const bool shown = save->styleSheet().contains(QLatin1String(":/GUI/save4.png"));
    if (shown != window->app->hasUnstoredChanges() || shown != (save->toolTip() == QLatin1String(kTip)))
        qFatal("the Save button and the flag disagree");
    return shown;
}

void TestNotStored::saveButton()
{
    QVERIFY(!marked());
    QVERIFY(writeParameters());
    QVERIFY(marked());

    // Save stores the working values and clears the mark.
    window->click("pushButton_storge");
    QTRY_COMPARE_WITH_TIMEOUT(VirtualFC::requestCount(FCProtocol::STORE), 1, 3000);
    QTRY_VERIFY_WITH_TIMEOUT(window->idle(), 3000);
    QTRY_VERIFY(!marked());
    QCOMPARE(VirtualFC::flashPara(), VirtualFC::para());
}

void TestNotStored::closeQuestion_data()
{
    QTest::addColumn<bool>("unstored");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<bool>("closes");
    QTest::newRow("all stored: closes without asking") << false << true << true;
    QTest::newRow("not stored, Cancel keeps the window") << true << false << false;
    QTest::newRow("not stored, OK closes") << true << true << true;
}

void TestNotStored::closeQuestion()
{
    QFETCH(bool, unstored);
    QFETCH(bool, accept);
    QFETCH(bool, closes);

    if (unstored)
        QVERIFY(writeParameters());
    ModalScript answer({accept ? ModalScript::Ok : ModalScript::Cancel});
    window->click("pushButton_appClose");
    QCOMPARE(answer.texts(), unstored ? QStringList{"Changes are not stored in the controller yet and are lost when it "
                                                    "is switched off. Close anyway?"}
                                      : QStringList());
    QCOMPARE(window->app->isVisible(), !closes);
    QCOMPARE(marked(), unstored);
}

QTEST_MAIN(TestNotStored)
#include "tst_notstored.moc"
