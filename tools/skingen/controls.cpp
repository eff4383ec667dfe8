#include "drawings.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>

namespace Skin {

QString tr2(Lang lang, const char *en, const char *zh)
{
    return lang == Lang::Zh ? QString::fromUtf8(zh) : QString::fromUtf8(en);
}

void drawMainBackground(QPainter &p, const QSizeF &s)
{
    const QRectF r(QPointF(0, 0), s);
    // The window mask rounds the corners by 10 px; the picture follows it.
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, QColor(246, 248, 250));
    g.setColorAt(1.0, Colour::window);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(r, 10, 10);

    // Title strip: a faint accent wash that fades out, with the product mark.
    QLinearGradient t(QPointF(0, 0), QPointF(s.width(), 0));
    t.setColorAt(0.0, QColor(22, 136, 216, 34));
    t.setColorAt(0.55, QColor(22, 136, 216, 6));
    t.setColorAt(1.0, QColor(22, 136, 216, 0));
    QPainterPath title;
    title.addRoundedRect(QRectF(0, 0, s.width(), 40), 10, 10);
    title.addRect(QRectF(0, 20, s.width(), 20));
    p.setBrush(t);
    p.drawPath(title.simplified());
    p.setPen(QPen(QColor(0, 0, 0, 14), 1));
    p.drawLine(QPointF(12, 39.5), QPointF(s.width() - 12, 39.5));

    // Product mark: a small four-rotor glyph and the name.
    p.save();
    p.translate(22, 20);
    p.setPen(QPen(Colour::accent, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-6, -6), QPointF(6, 6));
    p.drawLine(QPointF(-6, 6), QPointF(6, -6));
    p.setBrush(Qt::NoBrush);
    for (const QPointF c : {QPointF(-6, -6), QPointF(6, 6), QPointF(-6, 6), QPointF(6, -6)})
        p.drawEllipse(c, 3.6, 3.6);
    p.restore();
    text(p, QRectF(36, 8, 200, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ORVANTE"),
         font(Lang::En, 15), Colour::text);

    // Hairline frame around the whole window.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 30), 1));
    p.drawRoundedRect(crisp(r), 10, 10);
}

namespace {

// Icons of the four navigation buttons, drawn in a 36 x 36 box centred on the origin.
void navIcon(QPainter &p, int page, const QColor &ink, const QColor &fillInk)
{
    QPen pen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (page) {
    case 1: { // live status: an attitude dial
        p.drawEllipse(QPointF(0, 0), 15, 15);
        p.save();
        p.rotate(-12);
        p.drawLine(QPointF(-14.2, 5), QPointF(14.2, 5));
        p.restore();
        p.setPen(QPen(fillInk, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(-9, -3), QPointF(-4, -3));
        p.drawLine(QPointF(4, -3), QPointF(9, -3));
        p.drawLine(QPointF(-4, -3), QPointF(0, 0.5));
        p.drawLine(QPointF(4, -3), QPointF(0, 0.5));
        p.setPen(pen);
        p.drawLine(QPointF(0, -15), QPointF(0, -11));
        break;
    }
    case 2: { // radio: a transmitter with two sticks
        p.drawRoundedRect(QRectF(-16, -8, 32, 22), 5, 5);
        p.drawLine(QPointF(11, -8), QPointF(15, -17));
        p.drawEllipse(QPointF(-7, 3), 4.2, 4.2);
        p.drawEllipse(QPointF(7, 3), 4.2, 4.2);
        p.setPen(Qt::NoPen);
        p.setBrush(fillInk);
        p.drawEllipse(QPointF(-7, 3), 1.8, 1.8);
        p.drawEllipse(QPointF(7, 3), 1.8, 1.8);
        break;
    }
    case 3: { // parameters: three sliders
        const qreal xs[3] = {-10, 0, 10};
        const qreal knobs[3] = {4, -7, 7};
        for (int i = 0; i < 3; ++i)
            p.drawLine(QPointF(xs[i], -15), QPointF(xs[i], 15));
        p.setBrush(fillInk);
        p.setPen(QPen(ink, 2.0));
        for (int i = 0; i < 3; ++i)
            p.drawRoundedRect(QRectF(xs[i] - 4.5, knobs[i] - 3, 9, 6), 2.5, 2.5);
        break;
    }
    case 4: { // firmware: a chip with an upward arrow
        p.drawRoundedRect(QRectF(-11, -11, 22, 22), 4, 4);
        for (int i = -1; i <= 1; ++i) {
            const qreal o = i * 6.0;
            p.drawLine(QPointF(o, -11), QPointF(o, -15.5));
            p.drawLine(QPointF(o, 11), QPointF(o, 15.5));
            p.drawLine(QPointF(-11, o), QPointF(-15.5, o));
            p.drawLine(QPointF(11, o), QPointF(15.5, o));
        }
        p.setPen(QPen(fillInk, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(0, 5.5), QPointF(0, -5));
        p.drawLine(QPointF(-4.5, -0.5), QPointF(0, -5.5));
        p.drawLine(QPointF(4.5, -0.5), QPointF(0, -5.5));
        break;
    }
    }
}

} // namespace

void drawNavButton(QPainter &p, const QSizeF &s, int page, State st)
{
    const QRectF r(QPointF(0, 0), s);
    QColor ink = QColor(112, 118, 125);
    QColor accentInk = Colour::accent;
    if (st == State::Hover) {
        card(p, r.adjusted(3, 3, -3, -3), 10, Colour::panel, Colour::border);
        ink = Colour::text;
    } else if (st == State::Pressed) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 22));
        p.drawRoundedRect(r.adjusted(3, 4.5, -3, -1.5), 10, 10);
        card(p, r.adjusted(3, 3, -3, -3), 10, Colour::accent, Colour::accentDark);
        ink = Qt::white;
        accentInk = Qt::white;
    } else if (st == State::Disabled) {
        // While an update runs: the same sign, faded into the strip.
        ink = Colour::textFaint;
        accentInk = Colour::border;
    }
    p.save();
    p.translate(s.width() / 2, s.height() / 2);
    navIcon(p, page, ink, accentInk);
    p.restore();
}

void drawTitleButton(QPainter &p, const QSizeF &s, bool close, State st)
{
    const QPointF c(s.width() / 2, s.height() / 2);
    QColor ink(120, 126, 133);
    if (st != State::Normal) {
        p.setPen(Qt::NoPen);
        p.setBrush(close ? Colour::accent : QColor(0, 0, 0, 22));
        p.drawEllipse(c, s.width() / 2 - 1, s.height() / 2 - 1);
        ink = close ? QColor(Qt::white) : Colour::text;
    }
    p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap));
    if (close) {
        p.drawLine(c + QPointF(-4.5, -4.5), c + QPointF(4.5, 4.5));
        p.drawLine(c + QPointF(-4.5, 4.5), c + QPointF(4.5, -4.5));
    } else {
        p.drawLine(c + QPointF(-5, 0.5), c + QPointF(5, 0.5));
    }
}

void drawDropDownTriangle(QPainter &p, const QSizeF &s)
{
    QPainterPath path;
    path.moveTo(1.5, 1.5);
    path.lineTo(s.width() / 2, s.height() - 1.5);
    path.lineTo(s.width() - 1.5, 1.5);
    p.setPen(QPen(QColor(100, 100, 100), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void drawLed(QPainter &p, const QSizeF &s, const QColor &lit)
{
    const QPointF c(s.width() / 2, s.height() / 2);
    const bool on = lit.isValid();
    const QColor base = on ? lit : QColor(196, 201, 207);
    if (on) {
        QRadialGradient glow(c, 19);
        QColor g0 = lit;
        g0.setAlpha(90);
        QColor g1 = lit;
        g1.setAlpha(0);
        glow.setColorAt(0.45, g0);
        glow.setColorAt(1.0, g1);
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(c, 19, 19);
    }
    p.setPen(QPen(base.darker(on ? 125 : 112), 1.0));
    QRadialGradient body(c + QPointF(-3, -3.5), 13);
    body.setColorAt(0.0, base.lighter(on ? 150 : 112));
    body.setColorAt(1.0, base);
    p.setBrush(body);
    p.drawEllipse(c, 10.5, 10.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, on ? 150 : 120));
    p.drawEllipse(c + QPointF(-3.2, -3.8), 3.6, 2.6);
}

void drawLink(QPainter &p, const QSizeF &s, int variant)
{
    // variant 1 unlinked, 2 unlinked under the mouse, 3 linked, 4 disabled.
    const QPointF c(s.width() / 2, s.height() / 2);
    const bool linked = variant == 3;
    QColor ink = variant == 1 ? QColor(150, 156, 163)
               : variant == 2 ? Colour::accent
               : variant == 3 ? Colour::accent : Colour::textFaint;
    if (variant == 3 || variant == 2)
        card(p, QRectF(QPointF(0, 0), s), 6, variant == 3 ? Colour::accentSoft : Colour::accentSofter,
             variant == 3 ? Colour::accentLight : Colour::border);
    p.save();
    p.translate(c);
    p.rotate(-45);
    p.setPen(QPen(ink, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const qreal gap = linked ? 0 : 2.2;
    p.drawRoundedRect(QRectF(-10 - gap, -3.6, 10.5, 7.2), 3.6, 3.6);
    p.drawRoundedRect(QRectF(-0.5 + gap, -3.6, 10.5, 7.2), 3.6, 3.6);
    if (linked)
        p.drawLine(QPointF(-4, 0), QPointF(4, 0));
    p.restore();
    if (!linked && variant != 4) {
        p.setPen(QPen(ink, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c + QPointF(-1, -8.5), c + QPointF(-0.5, -6.2));
        p.drawLine(c + QPointF(1, 8.5), c + QPointF(0.5, 6.2));
    }
}

void drawTextButton(QPainter &p, const QSizeF &s, const QString &label, Lang lang, State st,
                    bool primary, qreal px)
{
    const QRectF r(QPointF(0, 0), s);
    button(p, r, st, primary, qMin<qreal>(6.0, s.height() / 2));
    if (label.isEmpty())
        return;
    const ButtonLook look = buttonLook(st, primary);
    fittedText(p, r.adjusted(4, st == State::Pressed ? 0.5 : -0.5, -4, 0), Qt::AlignCenter, label,
               font(lang, px), look.ink);
}

namespace {

// The notice sign, a white exclamation mark in an accent disc with a soft ring, scaled by the
// radius of its disc.
struct NoticeSign {
    QPointF centre;
    qreal ring, disc, stroke, top, bottom, dot;
};

// The dialogs' panel: a rounded gradient with an accent edge on the left, and the notice sign.
void drawDialogPanel(QPainter &p, const QSizeF &s, const NoticeSign &sign)
{
    const QRectF r(QPointF(0, 0), s);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, Colour::panel);
    g.setColorAt(1, QColor(246, 248, 250));
    p.setPen(QPen(Colour::borderStrong, 1));
    p.setBrush(g);
    p.drawRoundedRect(crisp(r), 10, 10);
    QPainterPath edge;
    edge.addRoundedRect(crisp(r), 10, 10);
    p.save();
    p.setClipPath(edge);
    p.fillRect(QRectF(0, 0, 5, s.height()), Colour::accent);
    p.restore();
    const QPointF c = sign.centre;
    p.setPen(Qt::NoPen);
    p.setBrush(Colour::accentSoft);
    p.drawEllipse(c, sign.ring, sign.ring);
    p.setBrush(Colour::accent);
    p.drawEllipse(c, sign.disc, sign.disc);
    p.setPen(QPen(Qt::white, sign.stroke, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(0, sign.top), c + QPointF(0, sign.bottom));
    p.drawPoint(c + QPointF(0, sign.dot));
}

} // namespace

void drawDialogBackground(QPainter &p, const QSizeF &s)
{
    // The notice sign in the free column before the text.
    drawDialogPanel(p, s, {QPointF(48, 64), 25, 17, 3.4, -8.5, 2.5, 8.5});
}

void drawLargeDialogBackground(QPainter &p, const QSizeF &s)
{
    // The small dialog's look at table size: the notice sign sits in the top-left corner,
    // beside the question; a hairline sets the buttons off the table.
    drawDialogPanel(p, s, {QPointF(40, 38), 20, 13.5, 2.8, -6.5, 2, 6.5});
    p.setPen(QPen(Colour::border, 1));
    p.drawLine(QPointF(20, s.height() - 44.5), QPointF(s.width() - 20, s.height() - 44.5));
}

void drawCompassNeedle(QPainter &p, const QSizeF &s)
{
    // The needle points along the nose: accent head at the top, grey tail below.
    const qreal cx = s.width() / 2;
    const qreal cy = s.height() / 2;
    QPainterPath head;
    head.moveTo(cx, 2);
    head.lineTo(cx + 8.5, cy);
    head.lineTo(cx - 8.5, cy);
    head.closeSubpath();
    QPainterPath tail;
    tail.moveTo(cx - 8.5, cy);
    tail.lineTo(cx + 8.5, cy);
    tail.lineTo(cx, s.height() - 2);
    tail.closeSubpath();
    p.setPen(QPen(Colour::accentDark, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QLinearGradient hg(QPointF(cx - 8, 0), QPointF(cx + 8, 0));
    hg.setColorAt(0, Colour::accentLight);
    hg.setColorAt(0.5, Colour::accentLight);
    hg.setColorAt(0.5001, Colour::accent);
    hg.setColorAt(1, Colour::accent);
    p.setBrush(hg);
    p.drawPath(head);
    QLinearGradient tg(QPointF(cx - 8, 0), QPointF(cx + 8, 0));
    tg.setColorAt(0, QColor(206, 211, 217));
    tg.setColorAt(0.5, QColor(206, 211, 217));
    tg.setColorAt(0.5001, QColor(178, 184, 191));
    tg.setColorAt(1, QColor(178, 184, 191));
    p.setPen(QPen(QColor(150, 156, 163), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(tg);
    p.drawPath(tail);
    p.setPen(QPen(Colour::borderStrong, 1.2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(cx, cy), 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(Colour::text);
    p.drawEllipse(QPointF(cx, cy), 2, 2);
}

void drawHorizonBar(QPainter &p, const QSizeF &s)
{
    // The rotation centre is (77, 12): the bar's line lies on y = 12 with a centre chevron above.
    const qreal y = 12;
    const qreal cx = s.width() / 2;
    p.setPen(QPen(Colour::accent, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(2, y), QPointF(cx - 20, y));
    p.drawLine(QPointF(cx + 20, y), QPointF(s.width() - 2, y));
    QPainterPath chev;
    chev.moveTo(cx - 20, y);
    chev.lineTo(cx - 8, y);
    chev.lineTo(cx, 3);
    chev.lineTo(cx + 8, y);
    chev.lineTo(cx + 20, y);
    p.setBrush(Qt::NoBrush);
    p.drawPath(chev);
    p.setPen(Qt::NoPen);
    p.setBrush(Colour::accent);
    p.drawEllipse(QPointF(cx, y), 2.2, 2.2);
}

void drawAttitudeMask(QPainter &p, const QSizeF &s)
{
    // A one-bit clip mask: black (set) inside the dial, white outside, no antialiasing.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRectF(QPointF(0, 0), s), Qt::white);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const qreal m = s.width() * 11.0 / 260.0;
    p.drawEllipse(QRectF(QPointF(0, 0), s).adjusted(m, m, -m, -m));
}

void drawRcDot(QPainter &p, const QSizeF &s)
{
    const QPointF c(s.width() / 2, s.height() / 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 30));
    p.drawEllipse(c + QPointF(0, 1), 11.5, 11.5);
    p.setBrush(Qt::white);
    p.drawEllipse(c, 11, 11);
    QRadialGradient g(c + QPointF(-2, -2.5), 9);
    g.setColorAt(0, Colour::accentLight);
    g.setColorAt(1, Colour::accent);
    p.setBrush(g);
    p.drawEllipse(c, 8, 8);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(c, 2.2, 2.2);
}

void drawSwitch(QPainter &p, const QSizeF &s, bool on, bool hover)
{
    const QRectF track(3, 4, s.width() - 6, s.height() - 8);
    const qreal rad = track.height() / 2;
    p.setPen(QPen(on ? Colour::accentDark : (hover ? Colour::borderStrong.darker(110)
                                                   : Colour::borderStrong), 1));
    p.setBrush(on ? (hover ? Colour::accentLight : Colour::accent)
                  : (hover ? QColor(222, 226, 231) : Colour::track));
    p.drawRoundedRect(crisp(track), rad, rad);
    const qreal kr = rad - 2;
    const QPointF kc(on ? track.right() - rad : track.left() + rad, track.center().y());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawEllipse(kc + QPointF(0, 1), kr, kr);
    p.setBrush(Qt::white);
    p.drawEllipse(kc, kr, kr);
}

void drawSwitchMask(QPainter &p, const QSizeF &s, int variant)
{
    // 1 position shown (checked), 2 other position, 3 the clickable overlay (hover/pressed).
    const QRectF r(QPointF(0, 0), s);
    switch (variant) {
    case 1:
        card(p, r, 6, Colour::accentSoft, Colour::accent, 1.5);
        p.setPen(Qt::NoPen);
        p.setBrush(Colour::accent);
        p.drawRoundedRect(QRectF(4, s.height() - 5, s.width() - 8, 2.5), 1.25, 1.25);
        break;
    case 2:
        card(p, r, 6, Colour::panel, Colour::border);
        break;
    case 3:
        card(p, r, 6, QColor(22, 136, 216, 40), Colour::accentDark, 1.5);
        break;
    }
}

void drawRcFuncDialog(QPainter &p, const QSizeF &s, int position)
{
    // A popup under the switch bar; its notch points up at the switch position it edits.
    const qreal cx = 2 + 34 + position * 69;
    const qreal top = 9;
    QPainterPath body;
    body.addRoundedRect(QRectF(0.5, top + 0.5, s.width() - 1, s.height() - top - 1), 8, 8);
    QPainterPath notch;
    notch.moveTo(cx - 9, top + 1.5);
    notch.lineTo(cx, 0.8);
    notch.lineTo(cx + 9, top + 1.5);
    notch.closeSubpath();
    const QPainterPath shape = body.united(notch);
    p.setPen(QPen(Colour::borderStrong, 1));
    p.setBrush(Colour::panel);
    p.drawPath(shape);
}

void drawRcFuncButton(QPainter &p, const QSizeF &s, State st)
{
    const QRectF r(QPointF(0, 0), s);
    switch (st) {
    case State::Normal:
        card(p, r, 5, Colour::page, Colour::border);
        break;
    case State::Hover:
        card(p, r, 5, Colour::accentSofter, Colour::accentLight);
        break;
    case State::Disabled:
        card(p, r, 5, Colour::track, Colour::border);
        break;
    default:
        card(p, r, 5, Colour::accentSoft, Colour::accent, 1.5);
        break;
    }
}

void drawParaTab(QPainter &p, const QSizeF &s, const QString &label, Lang lang, State st)
{
    const QRectF r(QPointF(0, 0), s);
    QColor ink = Colour::textMuted;
    if (st == State::Hover) {
        card(p, r, 8, Colour::panel, Colour::border);
        ink = Colour::text;
    } else if (st == State::Pressed) {
        card(p, r, 8, Colour::accent, Colour::accentDark);
        ink = Qt::white;
    }
    if (st != State::Pressed) {
        p.setPen(Qt::NoPen);
        p.setBrush(st == State::Hover ? Colour::accentLight : Colour::border);
        p.drawRoundedRect(QRectF(8, s.height() / 2 - 8, 3, 16), 1.5, 1.5);
    }
    fittedText(p, r.adjusted(18, 0, -8, 0), Qt::AlignLeft | Qt::AlignVCenter, label,
               font(lang, lang == Lang::Zh ? 14 : 13), ink);
}

void drawFirmwareButton(QPainter &p, const QSizeF &s, int which, State st)
{
    // 1 loads a file (folder glyph), 2 starts the update (upload glyph); the words come from
    // the button's own text, centred, so the glyph sits at the left end.
    const QRectF r(QPointF(0, 0), s);
    button(p, r, st, false, 8);
    const ButtonLook look = buttonLook(st, false);
    const QColor ink = st == State::Normal ? Colour::accent : look.ink;
    p.save();
    p.translate(18, s.height() / 2 - 0.5);
    p.setPen(QPen(ink, 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    if (which == 1) {
        QPainterPath f;
        f.moveTo(-7, -5);
        f.lineTo(-2.5, -5);
        f.lineTo(-0.5, -3);
        f.lineTo(7, -3);
        f.lineTo(7, 6);
        f.lineTo(-7, 6);
        f.closeSubpath();
        p.drawPath(f);
        p.drawLine(QPointF(-7, -0.5), QPointF(7, -0.5));
    } else {
        p.drawLine(QPointF(0, 3), QPointF(0, -6));
        p.drawLine(QPointF(-4, -2), QPointF(0, -6));
        p.drawLine(QPointF(4, -2), QPointF(0, -6));
        p.drawLine(QPointF(-7, 3), QPointF(-7, 6.5));
        p.drawLine(QPointF(-7, 6.5), QPointF(7, 6.5));
        p.drawLine(QPointF(7, 6.5), QPointF(7, 3));
    }
    p.restore();
}

void drawMounting(QPainter &p, const QSizeF &s, bool inverted, State st)
{
    const QRectF r(QPointF(0, 0), s);
    if (st == State::Pressed)
        card(p, r, 10, Colour::accentSofter, Colour::accent, 2);
    else
        card(p, r, 10, st == State::Hover ? Colour::accentSofter : Colour::panel,
             st == State::Hover ? Colour::accentLight : Colour::border);
    const QColor ink = st == State::Pressed ? Colour::accentDark : Colour::text;
    const QColor frameInk(150, 156, 163);

    // Side view of a multicopter, nose to the right; the controller sits on top of the body
    // (normal) or below it, upside down (inverted).
    const qreal cy = 140;
    p.setPen(QPen(frameInk, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(50, cy), QPointF(270, cy));
    for (qreal x : {58.0, 262.0}) {
        p.setPen(Qt::NoPen);
        p.setBrush(frameInk);
        p.drawRoundedRect(QRectF(x - 9, cy - 20, 18, 18), 3, 3);
        p.setPen(QPen(frameInk, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x - 40, cy - 24), QPointF(x + 40, cy - 24));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(205, 210, 216));
    p.drawRoundedRect(QRectF(120, cy - 6, 80, 12), 4, 4);
    // Landing legs.
    p.setPen(QPen(frameInk, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(130, cy + 6), QPointF(116, cy + 62));
    p.drawLine(QPointF(190, cy + 6), QPointF(204, cy + 62));
    p.drawLine(QPointF(104, cy + 62), QPointF(128, cy + 62));
    p.drawLine(QPointF(192, cy + 62), QPointF(216, cy + 62));

    // The controller: a box whose top face carries the forward arrow.
    const QRectF box = inverted ? QRectF(132, cy + 7, 56, 18) : QRectF(132, cy - 25, 56, 18);
    card(p, box, 4, st == State::Pressed ? Colour::accent : Colour::accentLight, Colour::accentDark,
         1);
    const qreal faceY = inverted ? box.bottom() - 4 : box.top() + 4;
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(box.left() + 12, faceY + (inverted ? -5 : 5)),
               QPointF(box.right() - 12, faceY + (inverted ? -5 : 5)));
    arrowHead(p, QPointF(box.right() - 8, faceY + (inverted ? -5 : 5)), 0, 7, Qt::white);

    // "Up" marker of the controller: an arrow out of its top face.
    const qreal ax = 160;
    const qreal a0 = inverted ? box.bottom() + 6 : box.top() - 6;
    const qreal a1 = inverted ? box.bottom() + 38 : box.top() - 38;
    p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(ax, a0), QPointF(ax, a1 + (inverted ? -7 : 7)));
    arrowHead(p, QPointF(ax, a1), inverted ? 90 : -90, 10, ink);

    // Flight direction under the picture.
    p.setPen(QPen(Colour::textMuted, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(210, 228), QPointF(262, 228));
    arrowHead(p, QPointF(272, 228), 0, 10, Colour::textMuted);
    p.setPen(QPen(Colour::textFaint, 1.5, Qt::DashLine));
    p.drawLine(QPointF(30, 228), QPointF(196, 228));
}

} // namespace Skin
