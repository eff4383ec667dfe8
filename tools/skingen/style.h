#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>

// The skin's palette, fonts and drawing primitives: one light style, one accent colour.
namespace Skin {

enum class Lang { En, Zh };
enum class State { Normal, Hover, Pressed, Disabled };

namespace Colour {
const QColor text(80, 80, 80);
const QColor textMuted(132, 138, 145);
const QColor textFaint(176, 181, 187);
const QColor accent(22, 136, 216);
const QColor accentDark(14, 108, 176);
const QColor accentLight(66, 163, 232);
const QColor accentSoft(226, 240, 251);
const QColor accentSofter(240, 247, 253);
const QColor panel(255, 255, 255);
const QColor page(250, 251, 252);
const QColor window(238, 241, 244);
const QColor border(214, 219, 225);
const QColor borderStrong(190, 197, 205);
const QColor track(232, 235, 239);
const QColor ledGreen(46, 184, 96);
const QColor ledRed(226, 72, 72);
}

// Registers the two bundled font files; must run once after the application object exists.
bool loadFonts(const QString &latinFile, const QString &cjkFile);

// The font for a language: the rounded Latin face, or the CJK face (with Latin fallback).
QFont font(Lang lang, qreal pixelSize, bool bold = true);

// Text helpers; rect is in logical pixels.
void text(QPainter &p, const QRectF &rect, int flags, const QString &s, const QFont &f,
          const QColor &c);
// Shrinks the font until s fits the width of rect, then draws it.
void fittedText(QPainter &p, const QRectF &rect, int flags, const QString &s, QFont f,
                const QColor &c);

// A rectangle inset by half a pixel so that a 1 px outline lands on whole pixels.
QRectF crisp(const QRectF &r, qreal pen = 1.0);

// Card: rounded panel with a hairline border.
void card(QPainter &p, const QRectF &r, qreal radius, const QColor &fill, const QColor &line,
          qreal lineWidth = 1.0);

// The common push button look. primary buttons are accent filled.
struct ButtonLook {
    QColor fill;
    QColor line;
    QColor ink; // colour for printed words and glyphs
};
ButtonLook buttonLook(State s, bool primary);
void button(QPainter &p, const QRectF &r, State s, bool primary, qreal radius = 6.0);

// A field well behind a label or spin box.
void field(QPainter &p, const QRectF &r);

// A filled arrowhead at tip, pointing along angle (degrees, screen coordinates).
void arrowHead(QPainter &p, const QPointF &tip, qreal angleDeg, qreal size, const QColor &c);

} // namespace Skin
