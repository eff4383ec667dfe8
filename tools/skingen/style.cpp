#include "style.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>
#include <QtMath>

namespace Skin {

namespace {
QString latinFamily;
QString cjkFamily;
}

bool loadFonts(const QString &latinFile, const QString &cjkFile)
{
    const int latinId = QFontDatabase::addApplicationFont(latinFile);
    const int cjkId = QFontDatabase::addApplicationFont(cjkFile);
    if (latinId < 0 || cjkId < 0)
        return false;
    latinFamily = QFontDatabase::applicationFontFamilies(latinId).value(0);
    cjkFamily = QFontDatabase::applicationFontFamilies(cjkId).value(0);
    return !latinFamily.isEmpty() && !cjkFamily.isEmpty();
}

QFont font(Lang lang, qreal pixelSize, bool bold)
{
    QFont f;
    // Chinese images print Latin letters and digits (units, "2D") in the rounded face too,
    // so both languages list both families; only the order differs.
    if (lang == Lang::Zh)
        f.setFamilies({cjkFamily, latinFamily});
    else
        f.setFamilies({latinFamily, cjkFamily});
    f.setPixelSize(qMax(1, qRound(pixelSize)));
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

void text(QPainter &p, const QRectF &rect, int flags, const QString &s, const QFont &f,
          const QColor &c)
{
    p.save();
    p.setFont(f);
    p.setPen(c);
    p.drawText(rect, flags, s);
    p.restore();
}

void fittedText(QPainter &p, const QRectF &rect, int flags, const QString &s, QFont f,
                const QColor &c)
{
    int px = f.pixelSize();
    while (px > 6) {
        f.setPixelSize(px);
        if (QFontMetricsF(f).horizontalAdvance(s) <= rect.width())
            break;
        --px;
    }
    text(p, rect, flags, s, f, c);
}

QRectF crisp(const QRectF &r, qreal pen)
{
    const qreal h = pen / 2.0;
    return r.adjusted(h, h, -h, -h);
}

void card(QPainter &p, const QRectF &r, qreal radius, const QColor &fill, const QColor &line,
          qreal lineWidth)
{
    p.save();
    p.setBrush(fill);
    if (lineWidth > 0 && line.isValid())
        p.setPen(QPen(line, lineWidth));
    else
        p.setPen(Qt::NoPen);
    const QRectF rr = lineWidth > 0 ? crisp(r, lineWidth) : r;
    p.drawRoundedRect(rr, radius, radius);
    p.restore();
}

ButtonLook buttonLook(State s, bool primary)
{
    namespace C = Colour;
    if (primary) {
        switch (s) {
        case State::Normal: return {C::accent, C::accentDark, Qt::white};
        case State::Hover: return {C::accentLight, C::accent, Qt::white};
        case State::Pressed: return {C::accentDark, C::accentDark, Qt::white};
        case State::Disabled: return {C::track, C::border, C::textFaint};
        }
    }
    switch (s) {
    case State::Normal: return {C::panel, C::borderStrong, C::text};
    case State::Hover: return {C::accentSofter, C::accentLight, C::text};
    case State::Pressed: return {C::accentSoft, C::accent, C::accentDark};
    case State::Disabled: return {C::page, C::border, C::textFaint};
    }
    return {C::panel, C::border, C::text};
}

void button(QPainter &p, const QRectF &r, State s, bool primary, qreal radius)
{
    const ButtonLook look = buttonLook(s, primary);
    p.save();
    // A soft one-pixel shadow below raised buttons; pressed buttons sit flat.
    if (s == State::Normal || s == State::Hover) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 18));
        p.drawRoundedRect(r.adjusted(0.5, 1.5, -0.5, 0), radius, radius);
    }
    p.setPen(QPen(look.line, 1.0));
    p.setBrush(look.fill);
    const QRectF body = crisp(r.adjusted(0, 0, 0, s == State::Pressed ? 0 : -1));
    p.drawRoundedRect(body, radius, radius);
    if (primary && s != State::Disabled) {
        // A faint top sheen keeps filled buttons from looking flat.
        QLinearGradient g(body.topLeft(), body.bottomLeft());
        g.setColorAt(0, QColor(255, 255, 255, 40));
        g.setColorAt(0.5, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(body, radius, radius);
    }
    p.restore();
}

void field(QPainter &p, const QRectF &r)
{
    card(p, r, qMin<qreal>(6.0, r.height() / 2), Colour::panel, Colour::border);
}

void arrowHead(QPainter &p, const QPointF &tip, qreal angleDeg, qreal size, const QColor &c)
{
    const qreal a = qDegreesToRadians(angleDeg);
    const QPointF dir(qCos(a), qSin(a));
    const QPointF nrm(-dir.y(), dir.x());
    const QPointF base = tip - dir * size;
    QPainterPath path;
    path.moveTo(tip);
    path.lineTo(base + nrm * size * 0.55);
    path.lineTo(base - nrm * size * 0.55);
    path.closeSubpath();
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(path);
    p.restore();
}

} // namespace Skin
