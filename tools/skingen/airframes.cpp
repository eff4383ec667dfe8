#include "drawings.h"

#include <QRegularExpression>
#include <QtMath>

// Airframe diagrams. One convention holds for all ten pictures, seen from above, nose up:
//  - Arms are counted clockwise. On "X" layouts the first arm is the first one clockwise from
//    the nose (front right; on the Y6 the front-right arm of the two forward arms); on "C"
//    (cross, "+") layouts the first arm points straight at the nose.
//  - Flat frames: arm k carries motor k (1-based).
//  - Coaxial frames (Y6 "A3-R6", X8 "A4-R8"): arm k carries the upper motor 2k-1 and the
//    lower motor 2k.
//  - Odd motors turn counter-clockwise (CCW), even motors clockwise (CW). This alternates
//    around flat frames and puts the upper and lower propeller of each coaxial arm in
//    opposite directions, so every layout is torque balanced.
// Each propeller disc carries its motor number in the hub and an arrow in its turning
// direction; a lower coaxial propeller is the dashed disc peeking out behind the upper one.
namespace Skin {

namespace {

struct Layout {
    bool cross = false;
    int arms = 4;
    int rotors = 4;
};

Layout parse(const QString &name)
{
    static const QRegularExpression re(QStringLiteral("^([XC])-A(\\d)-R(\\d)$"));
    const auto m = re.match(name);
    Layout l;
    if (m.hasMatch()) {
        l.cross = m.captured(1) == QLatin1String("C");
        l.arms = m.captured(2).toInt();
        l.rotors = m.captured(3).toInt();
    }
    return l;
}

QPointF polar(const QPointF &c, qreal radius, qreal screenDeg)
{
    const qreal a = qDegreesToRadians(screenDeg);
    return c + QPointF(qCos(a), qSin(a)) * radius;
}

// An arc of a turning propeller with its arrowhead; angles are screen degrees (clockwise
// from +x). cw: the arrow runs clockwise on screen.
void rotationArrow(QPainter &p, const QPointF &c, qreal radius, qreal midDeg, qreal spanDeg,
                   bool cw, const QColor &ink, bool dashed)
{
    const qreal from = cw ? midDeg - spanDeg / 2 : midDeg + spanDeg / 2;
    const qreal to = cw ? midDeg + spanDeg / 2 : midDeg - spanDeg / 2;
    QPainterPath path;
    const int steps = 48;
    for (int i = 0; i <= steps; ++i) {
        // Stop short of the tip so the stroke does not poke through the arrowhead.
        const qreal t = from + (to - from) * (i / qreal(steps)) * 0.9;
        const QPointF pt = polar(c, radius, t);
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    p.save();
    QPen pen(ink, 1.6, dashed ? Qt::DashLine : Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    if (dashed)
        pen.setDashPattern({2.2, 1.6});
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.restore();
    const QPointF tip = polar(c, radius, to);
    arrowHead(p, tip, to + (cw ? 90 : -90), 7, ink);
}

void hub(QPainter &p, const QPointF &c, int number, bool upper, const QColor &ink)
{
    p.save();
    if (upper) {
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
    } else {
        p.setPen(QPen(ink, 1.2));
        p.setBrush(Qt::white);
    }
    p.drawEllipse(c, 6.3, 6.3);
    text(p, QRectF(c.x() - 8, c.y() - 8, 16, 16.5), Qt::AlignCenter, QString::number(number),
         font(Lang::En, 9), upper ? QColor(Qt::white) : ink);
    p.restore();
}

} // namespace

void drawAirframe(QPainter &p, const QSizeF &s, const QString &name, State st, bool checked)
{
    const QRectF r(QPointF(0, 0), s);
    if (st == State::Disabled)
        card(p, r, 10, Colour::page, Colour::border);
    else if (checked)
        card(p, r, 10, Colour::accentSoft, Colour::accent, 2);
    else if (st == State::Hover)
        card(p, r, 10, Colour::accentSofter, Colour::accentLight);
    else
        card(p, r, 10, Colour::panel, Colour::border);

    p.save();
    if (st == State::Disabled)
        p.setOpacity(0.42);

    const Layout l = parse(name);
    const bool coaxial = l.rotors == 2 * l.arms;
    const QPointF c(s.width() / 2, s.height() / 2 + 1);
    qreal armLen = 36, prop = 15;
    if (coaxial) {
        armLen = 31;
        prop = 12;
    } else if (l.arms == 6) {
        armLen = 38;
        prop = 13;
    } else if (l.arms == 8) {
        armLen = 40;
        prop = 11;
    }
    const qreal spacing = 360.0 / l.arms;
    const qreal first = l.cross ? 0.0 : spacing / 2; // clockwise from the nose
    const QColor armInk(150, 156, 163);
    const QColor hubInk = checked ? Colour::accentDark : Colour::text;
    const QColor arrowInk = Colour::accent;

    // Arms first, then the body, then every propeller on top.
    p.setPen(QPen(armInk, 3.2, Qt::SolidLine, Qt::RoundCap));
    for (int k = 0; k < l.arms; ++k)
        p.drawLine(c, polar(c, armLen, first + k * spacing - 90));

    p.setPen(QPen(armInk, 1.2));
    p.setBrush(Colour::panel);
    p.drawRoundedRect(QRectF(c.x() - 9, c.y() - 9, 18, 18), 5, 5);
    QPainterPath nose;
    nose.moveTo(c.x(), c.y() - 6);
    nose.lineTo(c.x() + 4.5, c.y() + 3.5);
    nose.lineTo(c.x(), c.y() + 1.5);
    nose.lineTo(c.x() - 4.5, c.y() + 3.5);
    nose.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Colour::accent);
    p.drawPath(nose);

    for (int k = 0; k < l.arms; ++k) {
        const qreal armDeg = first + k * spacing - 90; // screen angle of the arm
        const QPointF pos = polar(c, armLen, armDeg);
        if (coaxial) {
            const int upper = 2 * k + 1;
            const int lower = 2 * k + 2;
            const qreal ring = prop + 5.5;
            // Lower propeller: the dashed ring around the upper disc, its hub on the outer edge.
            QPen dash(Colour::borderStrong, 1.2, Qt::DashLine);
            dash.setDashPattern({2.5, 2});
            p.setPen(dash);
            p.setBrush(QColor(246, 248, 250));
            p.drawEllipse(pos, ring, ring);
            rotationArrow(p, pos, ring, armDeg + 180, 130, lower % 2 == 0, arrowInk, true);
            // Upper propeller.
            p.setPen(QPen(Colour::borderStrong, 1.2));
            p.setBrush(Colour::panel);
            p.drawEllipse(pos, prop, prop);
            rotationArrow(p, pos, prop - 2.8, armDeg, 190, upper % 2 == 0, arrowInk, false);
            hub(p, pos, upper, true, hubInk);
            hub(p, polar(pos, ring, armDeg), lower, false, hubInk);
        } else {
            const int motor = k + 1;
            p.setPen(QPen(Colour::borderStrong, 1.2));
            p.setBrush(Colour::panel);
            p.drawEllipse(pos, prop, prop);
            rotationArrow(p, pos, prop - 3.2, armDeg, 250, motor % 2 == 0, arrowInk, false);
            hub(p, pos, motor, true, hubInk);
        }
    }
    p.restore();
}

} // namespace Skin
