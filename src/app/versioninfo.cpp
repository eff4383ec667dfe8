#include "app/versioninfo.h"

#include "app/buildinfo.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>

namespace VersionInfo {

QString suffix()
{
    constexpr int kVersion = ORVANTE_VERSION_MAJOR * 10 + ORVANTE_VERSION_MINOR;
    return QStringLiteral("%1").arg(kVersion, 2, 10, QLatin1Char('0'));
}

QString buildStamp(const char* date, const char* time)
{
    // The compiler pads one-digit days with a space ("Jan  1 2017"): collapse the runs.
    const QString dateText = QString::fromLatin1(date).simplified();
    const QDate built = QLocale::c().toDate(dateText, QStringLiteral("MMM d yyyy"));
    if (!built.isValid())
        return QString();
    return built.toString(QStringLiteral("yyyyMMdd"))
        + QString::fromLatin1(time).remove(QLatin1Char(':'));
}

QString dialogText()
{
    // Shown by the main window, so translated in its context.
    return QCoreApplication::translate("FCApp", "version:") + QStringLiteral(" v") + suffix()
        + QStringLiteral("_") + buildStamp(__DATE__, __TIME__);
}

} // namespace VersionInfo
