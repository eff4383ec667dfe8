#include "app/appstartup.h"
#include "app/buildinfo.h"

#include <QApplication>
#include <QDebug>
#include <QFontDatabase>
#include <QLocale>
#include <QResource>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

QString firstFamily(int fontId)
{
    // A font that failed to register (id -1) has no family: keep an empty name rather
    // than taking the first of an empty list.
    return QFontDatabase::applicationFontFamilies(fontId).value(0);
}

// Registers a compiled-in font. An uncompressed resource is mapped with the program, so the
// font database reads the tables it needs in place instead of a copy of the whole file (the
// CJK face is 4 MB: the copy was most of the start-up's font time).
int registerFont(const QString& path)
{
    const QResource resource(path);
    if (resource.isValid() && resource.compressionAlgorithm() == QResource::NoCompression
        && resource.data()) {
        return QFontDatabase::addApplicationFontFromData(QByteArray::fromRawData(
            reinterpret_cast<const char*>(resource.data()), int(resource.size())));
    }
    return QFontDatabase::addApplicationFont(path);
}

} // namespace

void AppStartup::tuneAllocator()
{
#ifdef __GLIBC__
    // Larger than the largest picture (the 2x window background); a fixed threshold also keeps
    // the heap's top trimmed at its default.
    mallopt(M_MMAP_THRESHOLD, 8 * 1024 * 1024);
#endif
}

void AppStartup::followScreenScale()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 always does so; Qt 5 only when asked.
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
}

AppStartup::AppStartup(QApplication& app)
{
    // The identity fixes where every QSettings of the program reads and writes.
    app.setOrganizationName(QStringLiteral("KARUX"));
    app.setOrganizationDomain(QStringLiteral(ORVANTE_ORGANISATION_DOMAIN));
    app.setApplicationName(QStringLiteral("ORVANTE"));
    // Lets the desktop match the window to the installed entry and its icon.
    app.setDesktopFileName(QStringLiteral(ORVANTE_APP_ID));

    if (!translator.load(QStringLiteral(":/tr/FCApp.qm")))
        qWarning() << "The compiled-in translation :/tr/FCApp.qm does not load";

    arialId = registerFont(QStringLiteral(":/font/ARLRDBD.TTF"));
    youId = registerFont(QStringLiteral(":/font/SIMYOU.TTF"));
    arialFamily = firstFamily(arialId);
    youFamily = firstFamily(youId);
    arialFont = QFont(arialFamily, 11, -1, false);
    youFont = QFont(youFamily, 11, QFont::Bold, false);

    qDebug() << "System Language:" << QLocale::system().name();

    settings = std::make_unique<QSettings>();
    settings->setValue(QStringLiteral("font/arial_id"), arialId);
    settings->setValue(QStringLiteral("font/you_id"), youId);
    settings->setValue(QStringLiteral("font/arial_family"), arialFamily);
    settings->setValue(QStringLiteral("font/you_family"), youFamily);

    const QString language = settings->value(QStringLiteral("main/language"), QVariant()).toString();
    if (language == QLatin1String("zh")) {
        isChinese = true;
    } else if (language == QLatin1String("en")) {
        isChinese = false;
    } else {
        isChinese = QLocale::system().language() == QLocale::Chinese;
        settings->setValue(QStringLiteral("main/language"),
                          isChinese ? QStringLiteral("zh") : QStringLiteral("en"));
    }

    if (isChinese) {
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::AnyCountry));
        app.installTranslator(&translator);
        QApplication::setFont(youFont);
    } else {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::AnyCountry));
        QApplication::setFont(arialFont);
    }
}
