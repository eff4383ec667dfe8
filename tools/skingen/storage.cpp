#include "catalogue.h"
#include "drawings.h"

// Images for keeping settings: the Save button's fourth state while changes are not stored in
// the controller yet, and the parameter page's tuning-backup buttons (save, load, history)
// with their rail caption.
namespace Skin {

namespace {

const QColor kPending(236, 142, 28);
const QColor kPendingDark(204, 112, 10);

void entry(QVector<Entry> &list, const QString &name, QSize size, bool localised,
           std::function<void(QPainter &, const QSizeF &, Lang)> draw)
{
    list.push_back({name, size, localised, std::move(draw)});
}

// A small arrow into (load) or out of (save) a tray, centred at c.
void fileGlyph(QPainter &p, const QPointF &c, bool save, const QColor &ink)
{
    p.save();
    p.translate(c);
    p.setPen(QPen(ink, 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath tray;
    tray.moveTo(-7, 2);
    tray.lineTo(-7, 7);
    tray.lineTo(7, 7);
    tray.lineTo(7, 2);
    p.drawPath(tray);
    p.drawLine(QPointF(0, -7), QPointF(0, 3));
    const qreal tipY = save ? 3 : -7;
    const qreal dir = save ? -1 : 1;
    p.drawLine(QPointF(0, tipY), QPointF(-3.5, tipY + dir * 3.5));
    p.drawLine(QPointF(0, tipY), QPointF(3.5, tipY + dir * 3.5));
    p.restore();
}

// A clock face with its hands turned back: the history.
void historyGlyph(QPainter &p, const QPointF &c, const QColor &ink)
{
    p.save();
    p.translate(c);
    p.setPen(QPen(ink, 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-7, -7, 14, 14), 120 * 16, 290 * 16);
    p.drawLine(QPointF(-6.2, -4.6), QPointF(-6.6, -0.6));
    p.drawLine(QPointF(-6.2, -4.6), QPointF(-2.4, -3.4));
    p.drawLine(QPointF(0, -4), QPointF(0, 0));
    p.drawLine(QPointF(0, 0), QPointF(3, 2));
    p.restore();
}

} // namespace

void drawNotStoredSave(QPainter &p, const QSizeF &s, Lang lang)
{
    // The Save button asking to be pressed: amber instead of the accent, with a dot.
    const QRectF r(QPointF(0, 0), s);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 22));
    p.drawRoundedRect(r.adjusted(0.5, 1.5, -0.5, 0), 6, 6);
    p.setPen(QPen(kPendingDark, 1));
    p.setBrush(kPending);
    p.drawRoundedRect(crisp(r.adjusted(0, 0, 0, -1)), 6, 6);
    fittedText(p, r.adjusted(4, -0.5, -9, 0), Qt::AlignCenter, tr2(lang, "Save", "保存"),
               font(lang, 12), Qt::white);
    p.setPen(QPen(kPending, 1.2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(s.width() - 7, 7), 3, 3);
}

void drawParaFileButton(QPainter &p, const QSizeF &s, int which, Lang lang, State st)
{
    const QRectF r(QPointF(0, 0), s);
    QColor ink = Colour::text;
    if (st == State::Pressed) {
        card(p, r, 8, Colour::accent, Colour::accentDark);
        ink = Qt::white;
    } else {
        card(p, r, 8, st == State::Hover ? Colour::accentSofter : Colour::panel,
             st == State::Hover ? Colour::accentLight : Colour::border);
    }
    const QPointF glyph(20, s.height() / 2 - 1);
    const QColor glyphInk = st == State::Pressed ? ink : Colour::accent;
    if (which == 2)
        historyGlyph(p, glyph + QPointF(0, 1), glyphInk);
    else
        fileGlyph(p, glyph, which == 0, glyphInk);
    const QString label = which == 0   ? tr2(lang, "Save to file", "保存到文件")
                          : which == 1 ? tr2(lang, "Load from file", "从文件载入")
                                       : tr2(lang, "History…", "历史记录…");
    fittedText(p, r.adjusted(34, 0, -6, 0), Qt::AlignLeft | Qt::AlignVCenter, label,
               font(lang, lang == Lang::Zh ? 13 : 12), ink);
}

void drawParaFileRail(QPainter &p, Lang lang)
{
    // Above pushButton_paraSave (16, 186), pushButton_paraLoad (16, 222) and
    // pushButton_paraHistory (16, 258), 128 x 30.
    p.setPen(QPen(Colour::border, 1));
    p.drawLine(QPointF(22, 160.5), QPointF(138, 160.5));
    fittedText(p, QRectF(18, 163, 124, 20), Qt::AlignLeft | Qt::AlignVCenter,
               tr2(lang, "Tuning backup", "参数备份"), font(lang, lang == Lang::Zh ? 12 : 11),
               Colour::textMuted);
}

void addStorageImages(QVector<Entry> &list)
{
    entry(list, "save4.png", {50, 25}, true,
          [](QPainter &p, const QSizeF &s, Lang l) { drawNotStoredSave(p, s, l); });
    const State states[3] = {State::Normal, State::Hover, State::Pressed};
    const char *names[3] = {"save", "load", "history"};
    for (int which = 0; which < 3; ++which) {
        for (int i = 0; i < 3; ++i) {
            const State st = states[i];
            entry(list, QStringLiteral("page4-file-%1-%2.png").arg(QLatin1String(names[which])).arg(i + 1),
                  {128, 30}, true, [which, st](QPainter &p, const QSizeF &s, Lang l) {
                      drawParaFileButton(p, s, which, l, st);
                  });
        }
    }
}

} // namespace Skin
