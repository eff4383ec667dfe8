#include "appicon.h"

#include "style.h"

#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QRadialGradient>

#include <cstdio>

namespace Skin {

void drawAppIcon(QPainter &p, const QSizeF &s)
{
    // Drawn on a 256-unit grid; smaller sizes scale it. The tile keeps the 16-unit margin that
    // desktop icon themes leave around square icons.
    p.save();
    p.scale(s.width() / 256.0, s.height() / 256.0);
    const QRectF tile(16, 16, 224, 224);
    const qreal radius = 48;

    // Soft shadow under the tile, as under the skin's raised buttons.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(QColor(0, 0, 0, 14));
        p.drawRoundedRect(tile.adjusted(2 - i, 6 - i, -2 + i, 2 + i), radius + i, radius + i);
    }

    // Accent tile with the buttons' top sheen and a darker rim.
    QLinearGradient fill(tile.topLeft(), tile.bottomLeft());
    fill.setColorAt(0.0, Colour::accentLight);
    fill.setColorAt(0.55, Colour::accent);
    fill.setColorAt(1.0, Colour::accentDark);
    p.setBrush(fill);
    p.setPen(QPen(Colour::accentDark, 3));
    p.drawRoundedRect(tile.adjusted(1.5, 1.5, -1.5, -1.5), radius, radius);
    QLinearGradient sheen(tile.topLeft(), tile.bottomLeft());
    sheen.setColorAt(0.0, QColor(255, 255, 255, 60));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawRoundedRect(tile.adjusted(3, 3, -3, -3), radius - 2, radius - 2);

    // The product mark: an X frame with four rotors, seen from above, nose up.
    p.translate(128, 130);
    const qreal arm = 56;
    const QPointF rotors[4] = {QPointF(-arm, -arm), QPointF(arm, -arm), QPointF(arm, arm),
                               QPointF(-arm, arm)};
    p.setPen(QPen(Qt::white, 16, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(rotors[0], rotors[2]);
    p.drawLine(rotors[1], rotors[3]);
    for (const QPointF &c : rotors) {
        // Spinning disc: a faint white fill inside a white ring.
        QRadialGradient disc(c, 34);
        disc.setColorAt(0.0, QColor(255, 255, 255, 120));
        disc.setColorAt(1.0, QColor(255, 255, 255, 40));
        p.setBrush(disc);
        p.setPen(QPen(Qt::white, 9));
        p.drawEllipse(c, 34, 34);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(c, 9, 9);
    }
    // The controller board in the middle with its status lamp, and the nose marker.
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(-26, -26, 52, 52), 12, 12);
    p.setBrush(Colour::ledGreen);
    p.drawEllipse(QPointF(0, 0), 9, 9);
    arrowHead(p, QPointF(0, -50), -90, 18, Qt::white);
    p.restore();
}

bool writeAppIcons(const QString &dir, const QString &name)
{
    for (int size : kAppIconSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(dir).arg(size);
        QDir().mkpath(folder);
        QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
        icon.fill(Qt::transparent);
        QPainter p(&icon);
        p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        drawAppIcon(p, QSizeF(size, size));
        p.end();
        const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!icon.save(file, "PNG")) {
            std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(file));
            return false;
        }
    }
    return true;
}

} // namespace Skin
