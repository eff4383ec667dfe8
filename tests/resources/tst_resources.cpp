#include <QBitmap>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QRegion>
#include <QRegularExpression>
#include <QResource>
#include <QSet>
#include <QtTest>

namespace {

struct Sized {
    QString name;
    QSize size;
};

// Every skin image with the size its widget needs.
QVector<Sized> skinTable()
{
    QVector<Sized> t;
    const auto add = [&t](const QString &name, QSize size) { t.push_back({name, size}); };
    const auto states = [&add](const QString &base, QSize size, int count = 3) {
        for (int i = 1; i <= count; ++i)
            add(QStringLiteral("%1%2.png").arg(base).arg(i), size);
    };
    // Main window.
    add("main-background.png", {800, 494});
    for (int page = 1; page <= 4; ++page)
        states(QStringLiteral("PAGE%1-").arg(page), {66, 66}, 4); // the fourth: disabled
    states("minimize-", {30, 30}, 2);
    states("close-", {30, 30}, 2);
    states("save", {50, 25}, 4); // the fourth: changes not stored in the controller yet
    states("default", {100, 25}, 4);
    add("save5.png", {50, 25}); // disabled
    add("drop-down-triangle.png", {12, 8});
    for (const char *led : {"led-grey.png", "led-green.png", "led-red.png"})
        add(QString::fromLatin1(led), {40, 40});
    states("link-", {24, 24}, 4);
    // Dialogs.
    add("dialog-background.png", {500, 150});
    add("dialog-large-background.png", {640, 400});
    states("dialog-button1-", {60, 25});
    states("dialog-button2-", {60, 25});
    states("dialog-button3-", {60, 25}, 4);
    states("button-empty-", {60, 25});
    // Status page.
    add("page1-background.png", {780, 310});
    add("compass1.png", {40, 162});
    add("attview.png", {154, 14});
    add("attview-mask.png", {260, 260});
    states("calibration-", {120, 25});
    states("motortest-", {88, 27});
    // Airframe page: the last six layouts are disabled in the form and have a fourth picture.
    const char *frames[] = {"X-A4-R4", "C-A4-R4", "X-A6-R6", "C-A6-R6", "X-A8-R8",
                            "C-A8-R8", "X-A3-R6", "C-A3-R6", "X-A4-R8", "C-A4-R8"};
    for (int i = 0; i < 10; ++i)
        states(QString::fromLatin1(frames[i]) + QLatin1Char('-'), {125, 125}, i >= 4 ? 4 : 3);
    states("page2-mounting-normal-", {320, 250});
    states("page2-mounting-invert-", {320, 250});
    // Radio page and its dialogs.
    add("page3-background.png", {780, 310});
    add("rcDot.png", {26, 26});
    states("button-2D-", {50, 23});
    states("button-3D-", {50, 23});
    states("button-easy-", {50, 23}, 4);
    states("switch-1-", {52, 26}, 2);
    states("switch-2-", {52, 26}, 2);
    states("page3-progressbar-short-mask-", {68, 24});
    states("page3-progressbar-long-mask-", {104, 24}, 2);
    states("page3-rcfunc-dialog-", {210, 64});
    states("page3-rcfunc-dialog-short-button-", {68, 24}, 4);
    states("page3-rcfunc-dialog-longlong-button-", {206, 24});
    // Parameter page.
    for (const char *sub : {"esc", "para", "gain"}) {
        add(QStringLiteral("page4-background-%1.png").arg(QLatin1String(sub)), {780, 310});
        states(QStringLiteral("page4-stack-%1-").arg(QLatin1String(sub)), {128, 36});
    }
    states("page4-file-save-", {128, 30});
    states("page4-file-load-", {128, 30});
    states("page4-file-history-", {128, 30});
    // Firmware page.
    add("page5-background.png", {780, 310});
    states("page5-button1-", {160, 36});
    states("page5-button2-", {160, 36});
    return t;
}

// The images that print words and therefore have a Chinese variant.
QStringList localisedNames()
{
    QStringList n;
    for (const char *base : {"default", "save"})
        for (int i = 1; i <= 3; ++i)
            n << QStringLiteral("%1%2.png").arg(QLatin1String(base)).arg(i);
    for (const char *base : {"dialog-button1-", "dialog-button2-", "motortest-",
                             "page4-stack-esc-", "page4-stack-gain-", "page4-stack-para-"})
        for (int i = 1; i <= 3; ++i)
            n << QStringLiteral("%1%2.png").arg(QLatin1String(base)).arg(i);
    n << "save4.png" << "save5.png" << "default4.png" << "dialog-button3-4.png";
    for (const char *base : {"dialog-button3-", "page4-file-save-", "page4-file-load-", "page4-file-history-"})
        for (int i = 1; i <= 3; ++i)
            n << QStringLiteral("%1%2.png").arg(QLatin1String(base)).arg(i);
    n << "page1-background.png" << "page3-background.png" << "page4-background-esc.png"
      << "page4-background-gain.png" << "page4-background-para.png" << "page5-background.png";
    return n;
}

QString at2x(const QString &name)
{
    return name.left(name.size() - 4) + QStringLiteral("@2x.png");
}

QByteArray resourceBytes(const QString &path, const QLocale &locale)
{
    QResource r(path, locale);
    if (!r.isValid())
        return QByteArray();
    return r.uncompressedData();
}

QImage loadWithDefaultLocale(const QString &path, const QLocale &locale)
{
    QLocale::setDefault(locale);
    return QImage(path);
}

} // namespace

// The compiled-in skin: complete, correctly sized, localised and sharp on 200% displays.
class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void registeredBeforeMain();
    void everyReferencedImageExists_data();
    void everyReferencedImageExists();
    void imageHasItsSize_data();
    void imageHasItsSize();
    void noImageOutsideTheTable();
    void localisedImageHasTwoVariants_data();
    void localisedImageHasTwoVariants();
    void chineseLocalePicksChineseVariant_data();
    void chineseLocalePicksChineseVariant();
    void neutralImagesIgnoreTheLocale();
    void horizonMaskIsACircle();
};

void TestResources::cleanup()
{
    QLocale::setDefault(QLocale(QLocale::English));
}

void TestResources::registeredBeforeMain()
{
    // No Q_INIT_RESOURCE anywhere: linking the shared code is enough.
    QVERIFY(QFile::exists(QStringLiteral(":/GUI/main-background.png")));
    QVERIFY(QFile::exists(QStringLiteral(":/tr/FCApp.qm")));
    QVERIFY(QFile::exists(QStringLiteral(":/font/ARLRDBD.TTF")));
    QVERIFY(QFile::exists(QStringLiteral(":/font/SIMYOU.TTF")));
}

void TestResources::everyReferencedImageExists_data()
{
    // Whatever the forms and the code name today: a typo in a style sheet fails here.
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("where");
    const QString root = QStringLiteral(ORVANTE_SOURCE_DIR);
    QVERIFY(QFileInfo::exists(root + QStringLiteral("/src")));
    static const QRegularExpression ref(QStringLiteral(":/GUI/[^\"'()\\s;<>]+"));
    QSet<QString> seen;
    for (const char *dir : {"/src", "/forms"}) {
        QDirIterator it(root + QLatin1String(dir), {"*.cpp", "*.h", "*.ui", "*.qss"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            QFile f(file);
            if (!f.open(QIODevice::ReadOnly))
                continue;
            const QString text = QString::fromUtf8(f.readAll());
            auto m = ref.globalMatch(text);
            while (m.hasNext()) {
                const QString path = m.next().captured(0);
                // Patterns written in prose ("switch-1-*.png") and prefixes built at run
                // time are not paths.
                if (path.contains(QLatin1Char('*')) || !path.endsWith(QLatin1String(".png")))
                    continue;
                const QString key = path + QLatin1Char('|') + file;
                if (seen.contains(key))
                    continue;
                seen.insert(key);
                QTest::addRow("%s in %s", qPrintable(path),
                              qPrintable(QFileInfo(file).fileName()))
                    << path << file;
            }
        }
    }
}

void TestResources::everyReferencedImageExists()
{
    QFETCH(QString, path);
    QFETCH(QString, where);
    QVERIFY2(QFile::exists(path), qPrintable(path + QStringLiteral(" named in ") + where));
    QVERIFY2(QFile::exists(at2x(path)), qPrintable(at2x(path)));
}

void TestResources::imageHasItsSize_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("chinese");
    const QStringList localised = localisedNames();
    for (const Sized &s : skinTable()) {
        QTest::addRow("%s", qPrintable(s.name)) << s.name << s.size << false;
        if (localised.contains(s.name))
            QTest::addRow("zh %s", qPrintable(s.name)) << s.name << s.size << true;
    }
}

void TestResources::imageHasItsSize()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(bool, chinese);
    const QLocale locale(chinese ? QLocale::Chinese : QLocale::English);
    const QImage one = loadWithDefaultLocale(QStringLiteral(":/GUI/") + name, locale);
    QVERIFY2(!one.isNull(), qPrintable(name));
    QCOMPARE(one.size(), size);
    // Drawn at twice the size, not scaled up: a 200% display gets the sharp picture.
    const QImage two = loadWithDefaultLocale(QStringLiteral(":/GUI/") + at2x(name), locale);
    QVERIFY2(!two.isNull(), qPrintable(at2x(name)));
    QCOMPARE(two.size(), size * 2);
    const QImage upscaled = one.convertToFormat(QImage::Format_ARGB32)
                                .scaled(size * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QVERIFY2(two.convertToFormat(QImage::Format_ARGB32) != upscaled,
             "the @2x picture is a pixel-doubled copy");
}

void TestResources::noImageOutsideTheTable()
{
    // 156 images: a new or misnamed picture must be added to the table above.
    QSet<QString> expected;
    for (const Sized &s : skinTable())
        expected.insert(s.name);
    QCOMPARE(expected.size(), 164);
    QSet<QString> found;
    QDirIterator it(QStringLiteral(":/GUI"), QDir::Files);
    while (it.hasNext()) {
        const QString name = QFileInfo(it.next()).fileName();
        if (!name.contains(QLatin1String("@2x")))
            found.insert(name);
    }
    QCOMPARE(found, expected);
}

void TestResources::localisedImageHasTwoVariants_data()
{
    QTest::addColumn<QString>("name");
    const QStringList names = localisedNames();
    QCOMPARE(names.size(), 46);
    for (const QString &n : names) {
        QTest::addRow("%s", qPrintable(n)) << n;
        QTest::addRow("%s", qPrintable(at2x(n))) << at2x(n);
    }
}

void TestResources::localisedImageHasTwoVariants()
{
    QFETCH(QString, name);
    const QString path = QStringLiteral(":/GUI/") + name;
    const QImage english = loadWithDefaultLocale(path, QLocale(QLocale::English));
    const QImage chinese = loadWithDefaultLocale(path, QLocale(QLocale::Chinese));
    QVERIFY(!english.isNull());
    QVERIFY(!chinese.isNull());
    QCOMPARE(chinese.size(), english.size());
    QVERIFY2(chinese != english, "the Chinese variant prints the same picture");
}

void TestResources::chineseLocalePicksChineseVariant_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QLocale>("locale");
    for (const QString &n : {QStringLiteral("save1.png"), QStringLiteral("dialog-button1-1.png"),
                             QStringLiteral("page1-background.png")}) {
        QTest::addRow("%s zh_CN", qPrintable(n)) << n << QLocale(QLocale::Chinese, QLocale::China);
        QTest::addRow("%s zh any", qPrintable(n)) << n << QLocale(QLocale::Chinese, QLocale::AnyCountry);
        QTest::addRow("%s zh_TW", qPrintable(n)) << n << QLocale(QLocale::Chinese, QLocale::Taiwan);
    }
}

void TestResources::chineseLocalePicksChineseVariant()
{
    // The program only sets the default locale; the resource lookup does the choosing.
    QFETCH(QString, name);
    QFETCH(QLocale, locale);
    const QString path = QStringLiteral(":/GUI/") + name;
    const QByteArray zh = resourceBytes(path, QLocale(QLocale::Chinese));
    const QByteArray en = resourceBytes(path, QLocale(QLocale::English));
    QVERIFY(!zh.isEmpty());
    QVERIFY(zh != en);

    QLocale::setDefault(locale);
    QFile chosen(path);
    QVERIFY(chosen.open(QIODevice::ReadOnly));
    QCOMPARE(chosen.readAll(), zh);
    chosen.close();

    QLocale::setDefault(QLocale(QLocale::English));
    QFile neutral(path);
    QVERIFY(neutral.open(QIODevice::ReadOnly));
    QCOMPARE(neutral.readAll(), en);
}

void TestResources::neutralImagesIgnoreTheLocale()
{
    const QStringList localised = localisedNames();
    for (const Sized &s : skinTable()) {
        if (localised.contains(s.name))
            continue;
        const QString path = QStringLiteral(":/GUI/") + s.name;
        QCOMPARE(resourceBytes(path, QLocale(QLocale::Chinese)),
                 resourceBytes(path, QLocale(QLocale::English)));
    }
}

void TestResources::horizonMaskIsACircle()
{
    // The attitude view clips to this bitmap's set pixels: the dial, not its corners.
    const QBitmap mask(QStringLiteral(":/GUI/attview-mask.png"));
    QCOMPARE(mask.size(), QSize(260, 260));
    const QRegion region(mask);
    QVERIFY(region.contains(QPoint(130, 130)));
    QVERIFY(region.contains(QPoint(130, 20)));
    QVERIFY(region.contains(QPoint(20, 130)));
    QVERIFY(!region.contains(QPoint(2, 2)));
    QVERIFY(!region.contains(QPoint(40, 40)));
    QVERIFY(!region.contains(QPoint(257, 257)));
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
