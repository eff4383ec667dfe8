#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QRawFont>
#include <QtTest>

#include "catalogue.h"

// The two compiled-in fonts register, and the CJK font draws every Chinese character the
// program can show (no empty boxes in the Chinese user interface).
class TestFonts : public QObject
{
    Q_OBJECT

private slots:
    void fontsRegister_data();
    void fontsRegister();
    void latinFontCoversAscii();
    void cjkFontCoversFixedTexts_data();
    void cjkFontCoversFixedTexts();
    void cjkFontCoversEveryTranslation();

private:
    static QRawFont rawFont(const QString &path);
    static QString missing(const QRawFont &cjk, const QString &text);
};

QRawFont TestFonts::rawFont(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QRawFont();
    return QRawFont(f.readAll(), 16);
}

QString TestFonts::missing(const QRawFont &cjk, const QString &text)
{
    // Han characters, CJK punctuation and full-width forms must come from the CJK font; any
    // other character (Latin letters, digits, curly quotes) from either compiled-in font.
    static const QRawFont latin = rawFont(QStringLiteral(":/font/ARLRDBD.TTF"));
    QString out;
    const auto ucs4 = text.toUcs4();
    for (const char32_t c : ucs4) {
        if (c == '\n' || c == ' ')
            continue;
        const bool cjkOnly = (c >= 0x3000 && c <= 0x9fff) || (c >= 0xff00 && c <= 0xffef);
        const bool ok = cjk.supportsCharacter(c) || (!cjkOnly && latin.supportsCharacter(c));
        if (!ok)
            out += QString::fromUcs4(&c, 1);
    }
    return out;
}

void TestFonts::fontsRegister_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("latin") << QStringLiteral(":/font/ARLRDBD.TTF");
    QTest::newRow("cjk") << QStringLiteral(":/font/SIMYOU.TTF");
}

void TestFonts::fontsRegister()
{
    QFETCH(QString, path);
    QVERIFY2(QFile::exists(path), qPrintable(path));
    const int id = QFontDatabase::addApplicationFont(path);
    QVERIFY(id >= 0);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    QVERIFY(!families.isEmpty());
    QVERIFY(!families.first().isEmpty());
    QVERIFY(rawFont(path).isValid());
}

void TestFonts::latinFontCoversAscii()
{
    const QRawFont latin = rawFont(QStringLiteral(":/font/ARLRDBD.TTF"));
    QVERIFY(latin.isValid());
    QString absent;
    for (char c = 0x21; c < 0x7f; ++c)
        if (!latin.supportsCharacter(QLatin1Char(c)))
            absent += QLatin1Char(c);
    QCOMPARE(absent, QString());
}

void TestFonts::cjkFontCoversFixedTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("language caption") << QStringLiteral("选择语言(Select Language)");
    QTest::newRow("simplified chinese") << QStringLiteral("简体中文");
    QTest::newRow("restart notice") << QStringLiteral("请重新启动软件使语言设置生效");
    QTest::newRow("ok") << QStringLiteral("确定");
}

void TestFonts::cjkFontCoversFixedTexts()
{
    QFETCH(QString, text);
    const QRawFont cjk = rawFont(QStringLiteral(":/font/SIMYOU.TTF"));
    QVERIFY(cjk.isValid());
    QCOMPARE(missing(cjk, text), QString());
}

void TestFonts::cjkFontCoversEveryTranslation()
{
    const QRawFont cjk = rawFont(QStringLiteral(":/font/SIMYOU.TTF"));
    QVERIFY(cjk.isValid());
    QString all;
    for (const auto &pair : TranslationCatalogue::kPairs)
        all += QString::fromUtf8(pair.chinese);
    QCOMPARE(missing(cjk, all), QString());
}

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
