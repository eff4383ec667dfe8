#include "camera.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QScreen>
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

void Camera::shootOver(QWidget* dialog, const QString& name)
{
    const QString file = QStringLiteral("%1-%2.png").arg(name, language);
    const QStringList missing = missingImages(dialog);
    if (!missing.isEmpty())
        fail(file + QStringLiteral(": no ") + missing.join(QStringLiteral(", ")));
    const QScreen* screen = dialog->screen();
    const QRect area = screen->geometry();
    const qreal ratio = dialog->devicePixelRatioF();
    QImage picture(area.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    // A desktop's ground, the windows on it as they lie, the dialog on top.
    picture.fill(QColor(60, 64, 70));
    QPainter painter(&picture);
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window != dialog && window->isVisible() && window->windowType() != Qt::ToolTip
            && window->windowType() != Qt::Popup && window->screen() == screen)
            painter.drawPixmap(window->geometry().topLeft() - area.topLeft(), window->grab());
    }
    painter.drawPixmap(dialog->geometry().topLeft() - area.topLeft(), dialog->grab());
    painter.end();
    save(picture, file);
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
