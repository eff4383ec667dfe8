// Screenshots of the pages in English and Chinese, written as PNG files into the current
// directory (the build's tests directory under CTest) for a person to look at.
#include "screenshot.h"
#include "pages/pagefcframe.h"
#include "pages/pagefcstatus.h"
#include "protocol/frameids.h"
#include "protocol/task.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QLocale>
#include <QStackedWidget>
#include <QTranslator>
#include <QtTest>

#include <memory>

// Writes the screenshots; each function is one page in both languages.
class TestPageScreenshots : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void statusPage_data();
    void statusPage();
    void framePage_data();
    void framePage();
};

void TestPageScreenshots::initTestCase()
{
}

void TestPageScreenshots::statusPage_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("en") << "en";
    QTest::newRow("zh") << "zh";
}

void TestPageScreenshots::statusPage()
{
    QFETCH(QString, language);
    Language scope(language);

    PageFCStatus page;
    page.show();
    // A banked climb on a north-east heading, armed in attitude mode.
    FCProtocol::Task reply(FCProtocol::STATUS_RD, false);
    reply.rxStream << qint8(0) << qint8(0) << 1.0f << 0.0f << 0.0f << 0.0f << float(10.0 / 57.29578)
                   << float(-20.0 / 57.29578) << 0.8f << quint8(2) << quint8(1);
    reply.rxData.append(QByteArray(64 - reply.rxData.size(), '\0'));
    page.TaskDone(&reply);
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    shoot(&page, QStringLiteral("pagefcstatus"), language);

    const bool chinese = language == QLatin1String("zh");
    QVERIFY(!chinese || scope.loaded);
    QCOMPARE(page.findChild<QPushButton*>(QStringLiteral("pushButton_HorizonCali"))->text(),
             chinese ? QStringLiteral("校准") : QStringLiteral("Calibration"));
    QCOMPARE(page.findChild<QLabel*>(QStringLiteral("label_pitch"))->text(), QStringLiteral("10.0"));
}

void TestPageScreenshots::framePage_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("en") << "en";
    QTest::newRow("zh") << "zh";
}

void TestPageScreenshots::framePage()
{
    QFETCH(QString, language);
    Language scope(language);

    PageFCFrame page;
    page.show();
    // The controller reports a layout whose button is disabled in the form: it is still shown.
    FCProtocol::Task reply(FCProtocol::FRAME_RW, false);
    reply.rxStream << qint8(3) << qint8(1) << qint8(0) << qint8(7) << qint8(1);
    reply.rxData.append(QByteArray(64 - reply.rxData.size(), '\0'));
    page.TaskDone(&reply);
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    shoot(&page, QStringLiteral("pagefcframe"), language);

    // The mounting sub-page, which the page itself never brings up.
    page.findChild<QStackedWidget*>(QStringLiteral("stackedWidget"))->setCurrentIndex(1);
    shoot(&page, QStringLiteral("pagefcframe-mounting"), language);
}

QTEST_MAIN(TestPageScreenshots)
#include "tst_pagescreenshots.moc"
