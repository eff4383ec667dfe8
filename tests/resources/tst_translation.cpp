#include <QCoreApplication>
#include <QTranslator>
#include <QtTest>

#include "catalogue.h"

using TranslationCatalogue::Pair;
using TranslationCatalogue::kPairs;

// The compiled-in Chinese translation: every catalogue pair translates, nothing else does.
class TestTranslation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void catalogueTranslates_data();
    void catalogueTranslates();
    void textsWithoutEntryStayEnglish_data();
    void textsWithoutEntryStayEnglish();
    void calibrationInstructionBreaksBeforeLastSentence();

private:
    QTranslator m_translator;
};

void TestTranslation::initTestCase()
{
    QVERIFY2(m_translator.load(QStringLiteral(":/tr/FCApp.qm")), "the translation is not compiled in");
    QVERIFY(QCoreApplication::installTranslator(&m_translator));
}

void TestTranslation::cleanupTestCase()
{
    QCoreApplication::removeTranslator(&m_translator);
}

void TestTranslation::catalogueTranslates_data()
{
    QTest::addColumn<QByteArray>("context");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("chinese");
    QCOMPARE(int(sizeof(kPairs) / sizeof(kPairs[0])), 84);
    for (const Pair &p : kPairs)
        QTest::addRow("%s: %.40s", p.context, p.source)
            << QByteArray(p.context) << QByteArray(p.source) << QString::fromUtf8(p.chinese);
}

void TestTranslation::catalogueTranslates()
{
    QFETCH(QByteArray, context);
    QFETCH(QByteArray, source);
    QFETCH(QString, chinese);
    // Through the application, as tr() of the showing class would ask.
    QCOMPARE(QCoreApplication::translate(context.constData(), source.constData()), chinese);
    // The same text in another context must not pick this translation up.
    QCOMPARE(m_translator.translate("NoSuchContext", source.constData()), QString());
}

void TestTranslation::textsWithoutEntryStayEnglish_data()
{
    QTest::addColumn<QByteArray>("context");
    QTest::addColumn<QByteArray>("source");
    QTest::newRow("form title") << QByteArray("PageFCStatus") << QByteArray("Form");
    QTest::newRow("scope title") << QByteArray("PageFCScope") << QByteArray("Scope");
    QTest::newRow("receiver PWM") << QByteArray("FCProtocol::Helper") << QByteArray("PWM");
    QTest::newRow("receiver PPM") << QByteArray("FCProtocol::Helper") << QByteArray("PPM");
    QTest::newRow("receiver SBUS") << QByteArray("FCProtocol::Helper") << QByteArray("SBUS");
    QTest::newRow("warning OK") << QByteArray("DialogWarning") << QByteArray("OK");
    QTest::newRow("radio button") << QByteArray("PageFCFrame") << QByteArray("RadioButton");
    QTest::newRow("open bin file") << QByteArray("PageFCFirmware") << QByteArray("Open Bin File");
    QTest::newRow("bin filter") << QByteArray("PageFCFirmware") << QByteArray("Bin File (*.bin)");
    QTest::newRow("zero percent") << QByteArray("PageFCFirmware") << QByteArray("0%");
    QTest::newRow("bar format") << QByteArray("PageFCRc") << QByteArray("%v");
    // Calibration is translated for the radio and status pages only.
    QTest::newRow("calibration elsewhere") << QByteArray("FCApp") << QByteArray("Calibration");
}

void TestTranslation::textsWithoutEntryStayEnglish()
{
    QFETCH(QByteArray, context);
    QFETCH(QByteArray, source);
    QCOMPARE(m_translator.translate(context.constData(), source.constData()), QString());
    QCOMPARE(QCoreApplication::translate(context.constData(), source.constData()),
             QString::fromUtf8(source));
}

void TestTranslation::calibrationInstructionBreaksBeforeLastSentence()
{
    const QString zh = QCoreApplication::translate(
        "PageFCRc",
        "Operating instruction\xEF\xBC\x9A turn all channel sticks,make sure all of them move from "
        "the minimum position to the maximum position,and then click \"Complete\" after "
        "completed. operate now?");
    QCOMPARE(zh.count(QLatin1Char('\n')), 1);
    QVERIFY(zh.endsWith(QString::fromUtf8("\xE2\x80\x9D\xE3\x80\x82\n是否开始操作。")));
}

QTEST_GUILESS_MAIN(TestTranslation)
#include "tst_translation.moc"
