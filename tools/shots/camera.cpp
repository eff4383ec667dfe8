#include "camera.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QWidget>

namespace {

QtMessageHandler previousHandler = nullptr;

void quiet(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    // The program's own debug lines and the off-screen platform's regrets are not news here.
    if (type == QtDebugMsg || message.startsWith(QLatin1String("This plugin does not support")))
        return;
    previousHandler(type, context, message);
}

// The images the widget's style sheets and its children's ask for that do not exist (a style
// sheet draws nothing for them, without a word).
QStringList missingImages(const QWidget* widget)
{
    static const QRegularExpression url(QStringLiteral("url\\(\\s*[\"']?([^\"')]+?)[\"']?\\s*\\)"));
    QList<const QWidget*> all{widget};
    for (const QWidget* child : widget->findChildren<QWidget*>())
        all << child;
    QStringList missing;
    for (const QWidget* w : all) {
        auto found = url.globalMatch(w->styleSheet());
        while (found.hasNext()) {
            const QString path = found.next().captured(1);
            if (!QFile::exists(path) && !missing.contains(path))
                missing << path;
        }
    }
    return missing;
}

} // namespace

Camera::Camera(const QDir& folder)
    : folder(folder)
{
    previousHandler = qInstallMessageHandler(quiet);
}

Camera::~Camera()
{
    qInstallMessageHandler(previousHandler);
}

void Camera::shoot(QWidget* widget, const QString& name)
{
    const QString file = QStringLiteral("%1-%2.png").arg(name, language);
    const QStringList missing = missingImages(widget);
    if (!missing.isEmpty())
        fail(file + QStringLiteral(": no ") + missing.join(QStringLiteral(", ")));
    save(widget->grab().toImage(), file);
}

void Camera::save(const QImage& picture, const QString& file)
{
    const QString path = folder.filePath(file);
    if (picture.save(path))
        files << path;
    else
        fail(path + QStringLiteral(": not written"));
}

void Camera::fail(const QString& what)
{
    problems << what;
}
