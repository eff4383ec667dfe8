// Every test program keeps its settings in a folder of its own, made before main() and so
// before the application object exists: programs run side by side (ctest -j) never share a
// settings file, and none touches the user's real settings. The same folder is its runtime
// folder, where the controller's lock lives: each program's virtual controller is its own.
#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

namespace {

const char* const kGiven = "ORVANTE_TEST_CONFIG_GIVEN";

struct SettingsFolder {
    QTemporaryDir dir;

    SettingsFolder()
    {
        // A test program that starts itself as a child hands it the folder to use.
        if (qEnvironmentVariableIsSet(kGiven))
            return;
        if (!dir.isValid())
            qFatal("no temporary settings folder: %s", qPrintable(dir.errorString()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
        // The setup history (QStandardPaths::AppDataLocation) too.
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path() + QStringLiteral("/data")));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
    }
};

const SettingsFolder settingsFolder;

} // namespace
