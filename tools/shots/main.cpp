// orvante-shots [folder]: pictures of the windows, pages and dialogs in English and Chinese,
// against the virtual flight controller, for a person to look at. Lists what it wrote; exits 1
// and says why when a picture could not be written, its widgets ask for a skin image that does
// not exist, or a scene did not come about.
#include "camera.h"
#include "scenes.h"

#include "app/appstartup.h"

#include <QApplication>
#include <QPixmapCache>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    // Drawn off screen unless a platform is asked for: no windows flash up.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The scenes' settings and setup history never reach the user's own folders.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    // At the screen's scale as the program draws (QT_SCALE_FACTOR=2 for the @2x skin).
    AppStartup::followScreenScale();
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("KARUX"));
    QCoreApplication::setApplicationName(QStringLiteral("ORVANTE"));

    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("shots");
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "orvante-shots: cannot make %s\n", qPrintable(folder));
        return 1;
    }
    Camera camera{QDir(folder)};
    for (const QString& language : {QStringLiteral("en"), QStringLiteral("zh")}) {
        // The program's own start-up in that language.
        QSettings().setValue(QStringLiteral("main/language"), language);
        AppStartup startup(app);
        // Localised images are picked at lookup: forget the other language's.
        QPixmapCache::clear();
        camera.setLanguage(language);
        Scenes::mainWindow(camera);
        Scenes::dialogsOverWindow(camera);
        Scenes::accessNotice(camera);
        Scenes::bootloaderNotice(camera);
        Scenes::firmware(camera);
        Scenes::statusAndAirframe(camera);
        Scenes::parameters(camera);
        Scenes::radio(camera);
        Scenes::scope(camera);
        if (language == QLatin1String("en"))
            Scenes::iconBesideWindow(camera);
    }

    for (const QString& path : camera.written())
        std::printf("%s\n", qPrintable(path));
    for (const QString& fault : camera.faults())
        std::fprintf(stderr, "orvante-shots: %s\n", qPrintable(fault));
    return camera.faults().isEmpty() ? 0 : 1;
}
