#include "drawings.h"

#include <QLinearGradient>
#include <QtMath>

// Page backgrounds. Every caption sits beside or above the widget it names; the widget
// rectangles below are the pages' form geometry (x, y, width, height in page pixels).
namespace Skin {

namespace {

void pageBase(QPainter &p, const QSizeF &s)
{
    card(p, QRectF(QPointF(0, 0), s), 10, Colour::page, Colour::border);
}

void caption(QPainter &p, const QRectF &r, Lang lang, const char *en, const char *zh,
             int flags = Qt::AlignLeft | Qt::AlignVCenter, qreal px = 12,
             const QColor &c = Colour::text)
{
    fittedText(p, r, flags, tr2(lang, en, zh), font(lang, lang == Lang::Zh ? px + 1 : px), c);
}

void note(QPainter &p, const QRectF &r, Lang lang, const char *en, const char *zh)
{
    text(p, r, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, tr2(lang, en, zh),
         font(lang, lang == Lang::Zh ? 12 : 11, lang == Lang::Zh), Colour::textMuted);
}

void unit(QPainter &p, const QRectF &r, const QString &u)
{
    text(p, r, Qt::AlignLeft | Qt::AlignVCenter, u, font(Lang::En, 12), Colour::textMuted);
}

void panel(QPainter &p, const QRectF &r)
{
    card(p, r, 10, Colour::panel, Colour::border);
}

void tick(QPainter &p, const QPointF &c, qreal screenDeg, qreal r0, qreal r1, const QPen &pen)
{
    const qreal a = qDegreesToRadians(screenDeg);
    const QPointF d(qCos(a), qSin(a));
    p.setPen(pen);
    p.drawLine(c + d * r0, c + d * r1);
}

} // namespace

void drawStatusBackground(QPainter &p, const QSizeF &s, Lang lang)
{
    pageBase(p, s);

    // Compass rose behind frame_compass (22, 25, 260, 260): north up, the needle turns on it.
    const QPointF cc(152, 155);
    p.setPen(QPen(Colour::border, 1));
    p.setBrush(Colour::panel);
    p.drawEllipse(cc, 127.5, 127.5);
    p.setBrush(QColor(246, 248, 250));
    p.drawEllipse(cc, 104.5, 104.5);
    p.setBrush(Colour::panel);
    p.drawEllipse(cc, 84, 84);
    for (int d = 0; d < 360; d += 5) {
        const qreal sd = d - 90;
        if (d % 30 == 0)
            tick(p, cc, sd, 108, 123, QPen(Colour::text, 2, Qt::SolidLine, Qt::RoundCap));
        else if (d % 10 == 0)
            tick(p, cc, sd, 112, 123, QPen(Colour::textMuted, 1.3, Qt::SolidLine, Qt::RoundCap));
        else
            tick(p, cc, sd, 117, 123, QPen(Colour::textFaint, 1, Qt::SolidLine, Qt::RoundCap));
    }
    const char *cardEn[4] = {"N", "E", "S", "W"};
    const char *cardZh[4] = {"北", "东", "南", "西"};
    for (int i = 0; i < 4; ++i) {
        const qreal a = qDegreesToRadians(i * 90.0 - 90);
        const QPointF at = cc + QPointF(qCos(a), qSin(a)) * 94;
        text(p, QRectF(at.x() - 14, at.y() - 11, 28, 22), Qt::AlignCenter,
             tr2(lang, cardEn[i], cardZh[i]), font(lang, 16),
             i == 0 ? Colour::accent : Colour::text);
    }
    for (int d = 30; d < 360; d += 30) {
        if (d % 90 == 0)
            continue;
        const qreal a = qDegreesToRadians(d - 90.0);
        const QPointF at = cc + QPointF(qCos(a), qSin(a)) * 94;
        text(p, QRectF(at.x() - 14, at.y() - 8, 28, 16), Qt::AlignCenter, QString::number(d),
             font(Lang::En, 9), Colour::textMuted);
    }
    p.setPen(QPen(Colour::border, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawLine(cc + QPointF(-60, 0), cc + QPointF(60, 0));
    p.drawLine(cc + QPointF(0, -60), cc + QPointF(0, 60));

    // Attitude dial behind frame_attitude (298, 25, 260, 260): roll scale on the ring, pitch
    // ladder inside (25/12 px per degree), fixed wing marks; the bar moves over it.
    const QPointF ac(428, 155);
    p.setPen(QPen(Colour::border, 1));
    p.setBrush(QColor(244, 246, 248));
    p.drawEllipse(ac, 127.5, 127.5);
    QLinearGradient disc(ac + QPointF(0, -119), ac + QPointF(0, 119));
    disc.setColorAt(0, QColor(236, 245, 252));
    disc.setColorAt(0.5, Colour::panel);
    disc.setColorAt(1, QColor(246, 244, 240));
    p.setBrush(disc);
    p.drawEllipse(ac, 119, 119);
    for (int d : {-60, -45, -30, -20, -10, 0, 10, 20, 30, 45, 60}) {
        const bool major = d % 30 == 0;
        tick(p, ac, d - 90, 119, major ? 127 : 124,
             QPen(major ? Colour::text : Colour::textMuted, major ? 2 : 1.3, Qt::SolidLine,
                  Qt::FlatCap));
        tick(p, ac, d + 90, 119, major ? 127 : 124,
             QPen(Colour::textFaint, major ? 2 : 1.3, Qt::SolidLine, Qt::FlatCap));
    }
    for (int d = -40; d <= 40; d += 5) {
        if (d == 0)
            continue;
        const qreal y = ac.y() - d * 25.0 / 12.0;
        const bool ten = d % 10 == 0;
        const qreal half = ten ? 22 : 10;
        p.setPen(QPen(ten ? Colour::textMuted : Colour::textFaint, 1.2, Qt::SolidLine,
                      Qt::RoundCap));
        p.drawLine(QPointF(ac.x() - half, y), QPointF(ac.x() + half, y));
        if (ten) {
            const QString n = QString::number(qAbs(d));
            text(p, QRectF(ac.x() - half - 24, y - 7, 20, 14), Qt::AlignRight | Qt::AlignVCenter,
                 n, font(Lang::En, 9), Colour::textMuted);
            text(p, QRectF(ac.x() + half + 4, y - 7, 20, 14), Qt::AlignLeft | Qt::AlignVCenter,
                 n, font(Lang::En, 9), Colour::textMuted);
        }
    }
    p.setPen(QPen(Colour::text, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(ac + QPointF(-106, 0), ac + QPointF(-86, 0));
    p.drawLine(ac + QPointF(86, 0), ac + QPointF(106, 0));
    QPainterPath zero;
    zero.moveTo(ac + QPointF(0, -118));
    zero.lineTo(ac + QPointF(-6, -108));
    zero.lineTo(ac + QPointF(6, -108));
    zero.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Colour::accent);
    p.drawPath(zero);

    caption(p, QRectF(52, 287, 200, 20), lang, "Heading", "航向", Qt::AlignCenter, 12,
            Colour::textMuted);
    caption(p, QRectF(328, 287, 200, 20), lang, "Attitude", "姿态", Qt::AlignCenter, 12,
            Colour::textMuted);

    // Right column: captions left of label_pitch (640, 30), label_roll (640, 80), the level
    // calibration button (646, 130), label_flymode (660, 203); above label_lock (570, 250).
    panel(p, QRectF(564, 14, 208, 282));
    caption(p, QRectF(576, 30, 62, 25), lang, "Pitch", "俯仰");
    field(p, QRectF(640, 30, 100, 25));
    unit(p, QRectF(744, 30, 24, 25), QStringLiteral("°"));
    caption(p, QRectF(576, 80, 62, 25), lang, "Roll", "横滚");
    field(p, QRectF(640, 80, 100, 25));
    unit(p, QRectF(744, 80, 24, 25), QStringLiteral("°"));
    caption(p, QRectF(576, 130, 68, 25), lang, "Level", "水平校准");
    p.setPen(QPen(Colour::border, 1));
    p.drawLine(QPointF(578, 178.5), QPointF(758, 178.5));
    caption(p, QRectF(576, 203, 82, 25), lang, "Flight mode", "飞行模式", Qt::AlignLeft | Qt::AlignVCenter, 11);
    field(p, QRectF(660, 203, 100, 25));
    caption(p, QRectF(570, 232, 100, 17), lang, "Arming", "解锁状态", Qt::AlignCenter, 11,
            Colour::textMuted);
    field(p, QRectF(570, 250, 100, 25));
}

void drawRcBackground(QPainter &p, const QSizeF &s, Lang lang)
{
    pageBase(p, s);

    // Stick view (frame_rcDot 0, 0, 371, 241): dots rest at (88, 143) and (273, 143) and
    // travel 56 px; the gimbal boxes hold that travel plus the 26 px dot.
    panel(p, QRectF(8, 8, 372, 294));
    const QPointF sticks[2] = {QPointF(101, 156), QPointF(286, 156)};
    const char *stickEn[2] = {"Throttle / Yaw", "Pitch / Roll"};
    const char *stickZh[2] = {"油门 / 航向", "俯仰 / 横滚"};
    for (int i = 0; i < 2; ++i) {
        const QPointF c = sticks[i];
        const QRectF box(c.x() - 70, c.y() - 70, 140, 140);
        card(p, box, 12, QColor(246, 248, 250), Colour::border);
        p.setPen(QPen(Colour::border, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 56, 56);
        p.drawEllipse(c, 28, 28);
        p.setPen(QPen(Colour::borderStrong, 1));
        p.drawLine(QPointF(c.x() - 62, c.y() + 0.5), QPointF(c.x() + 62, c.y() + 0.5));
        p.drawLine(QPointF(c.x() + 0.5, c.y() - 62), QPointF(c.x() + 0.5, c.y() + 62));
        caption(p, QRectF(box.left(), 60, box.width(), 20), lang, stickEn[i], stickZh[i],
                Qt::AlignCenter, 11, Colour::textMuted);
    }
    // Receiver type: label_rcType (40, 255, 120, 25) prints white on the accent pill.
    caption(p, QRectF(40, 235, 120, 18), lang, "Receiver", "接收机", Qt::AlignCenter, 10,
            Colour::textMuted);
    card(p, QRectF(40, 255, 120, 25), 12.5, Colour::accent, Colour::accentDark);

    // Channel table: bars (474, 61 + 40 i, 210, 26), minimum labels over their left end,
    // maximum labels over the right end, reverse switches at 705.
    panel(p, QRectF(390, 8, 382, 294));
    const qreal head = 38;
    caption(p, QRectF(398, head, 70, 18), lang, "Channel", "通道", Qt::AlignRight | Qt::AlignVCenter,
            10, Colour::textMuted);
    caption(p, QRectF(470, head, 61, 18), lang, "Min", "最小", Qt::AlignCenter, 10,
            Colour::textMuted);
    caption(p, QRectF(531, head, 87, 18), lang, "Value", "当前值", Qt::AlignCenter, 10,
            Colour::textMuted);
    caption(p, QRectF(618, head, 81, 18), lang, "Max", "最大", Qt::AlignCenter, 10,
            Colour::textMuted);
    caption(p, QRectF(703, head, 65, 18), lang, "Reverse", "反向", Qt::AlignCenter, 10,
            Colour::textMuted);
    const char *chEn[6] = {"Roll", "Pitch", "Throttle", "Yaw", "Mode SW", "Arm SW"};
    const char *chZh[6] = {"横滚", "俯仰", "油门", "航向", "模式开关", "解锁开关"};
    for (int i = 0; i < 6; ++i) {
        const qreal y = 61 + 40 * i;
        caption(p, QRectF(398, y, 70, 26), lang, chEn[i], chZh[i],
                Qt::AlignRight | Qt::AlignVCenter, 11);
        card(p, QRectF(474, y, 210, 26), 6, Colour::track, Colour::border);
    }
}

void drawParaBackground(QPainter &p, const QSizeF &s, int sub, Lang lang)
{
    pageBase(p, s);
    // The tab strip (frame_tab at 16, 24: three 128 x 36 tabs, 10 px apart) sits on the rail.
    card(p, QRectF(8, 8, 144, 294), 10, QColor(243, 245, 247), Colour::border);
    panel(p, QRectF(160, 8, 612, 294));
    drawParaFileRail(p, lang);

    const auto row = [&](qreal y, qreal capRight, const char *en, const char *zh,
                         const QRectF &box, const QString &u) {
        caption(p, QRectF(176, y, capRight - 176, box.height()), lang, en, zh,
                Qt::AlignRight | Qt::AlignVCenter);
        field(p, box);
        if (!u.isEmpty())
            unit(p, QRectF(box.right() + 6, y, 40, box.height()), u);
    };

    if (sub == 0) {
        // ESC: spin boxes at (340, 40/90/140/190, 100, 30); mode buttons at (620, 43) and
        // (680, 43), 50 x 23; OneShot125 switch at (620, 142), 52 x 26.
        const QString us = QStringLiteral("µs");
        row(40, 330, "Output min", "最小输出", QRectF(340, 40, 100, 30), us);
        row(90, 330, "Output max", "最大输出", QRectF(340, 90, 100, 30), us);
        row(140, 330, "3D dead band low", "3D死区下限", QRectF(340, 140, 100, 30), us);
        row(190, 330, "3D dead band high", "3D死区上限", QRectF(340, 190, 100, 30), us);
        p.setPen(QPen(Colour::border, 1));
        p.drawLine(QPointF(490.5, 36), QPointF(490.5, 222));
        caption(p, QRectF(500, 40, 110, 30), lang, "ESC mode", "电调模式",
                Qt::AlignRight | Qt::AlignVCenter);
        caption(p, QRectF(500, 140, 110, 30), lang, "OneShot125", "OneShot125",
                Qt::AlignRight | Qt::AlignVCenter);
        note(p, QRectF(180, 244, 570, 48), lang,
             "Pulse widths in microseconds. The dead band around the centre applies in 3D mode only.",
             "数值为电调脉宽（微秒）。中点死区仅在3D模式下生效。");
    } else if (sub == 1) {
        // Limits: spin boxes at (460, 50/110/170, 100, 30).
        row(50, 450, "Max roll / pitch rate", "最大横滚/俯仰角速度", QRectF(460, 50, 100, 30),
            QStringLiteral("°/s"));
        row(110, 450, "Max roll / pitch angle", "最大横滚/俯仰角度", QRectF(460, 110, 100, 30),
            QStringLiteral("°"));
        row(170, 450, "Max yaw rate", "最大航向角速度", QRectF(460, 170, 100, 30),
            QStringLiteral("°/s"));
        note(p, QRectF(180, 244, 570, 48), lang,
             "The largest rates and angle that full stick deflection commands.",
             "摇杆打满时指令的最大角速度与最大角度。");
    } else {
        // Gains: radio buttons at (272, 20) and (402, 20), 20 x 20; rows at y 64 + 40 i, 28 high:
        // simple (270, y, 72), expert P/I/D (400/492/584, y, 84); links 24 x 24 at
        // (348, 86), (348, 166), (672, 86), (672, 166).
        caption(p, QRectF(296, 20, 84, 20), lang, "Simple", "简易模式");
        caption(p, QRectF(426, 20, 120, 20), lang, "Expert", "专家模式");
        caption(p, QRectF(270, 44, 72, 16), lang, "Gain", "感度", Qt::AlignCenter, 10,
                Colour::textMuted);
        const char *pid[3] = {"P", "I", "D"};
        for (int i = 0; i < 3; ++i)
            text(p, QRectF(400 + 92 * i, 44, 84, 16), Qt::AlignCenter, QString::fromLatin1(pid[i]),
                 font(Lang::En, 11), Colour::textMuted);
        const char *en[5] = {"Roll rate", "Pitch rate", "Roll angle", "Pitch angle", "Yaw rate"};
        const char *zh[5] = {"横滚角速度", "俯仰角速度", "横滚角度", "俯仰角度", "航向角速度"};
        for (int i = 0; i < 5; ++i) {
            const qreal y = 64 + 40 * i;
            caption(p, QRectF(168, y, 94, 28), lang, en[i], zh[i],
                    Qt::AlignRight | Qt::AlignVCenter, 11);
            field(p, QRectF(270, y, 72, 28));
            for (int k = 0; k < 3; ++k)
                field(p, QRectF(400 + 92 * k, y, 84, 28));
        }
        p.setPen(QPen(Colour::border, 1));
        p.drawLine(QPointF(386.5, 20), QPointF(386.5, 256));
        // Brackets joining each X row to its Y row, with the link box on the bracket.
        p.setPen(QPen(Colour::borderStrong, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (qreal x0 : {342.0, 668.0}) {
            for (qreal yTop : {78.0, 158.0}) {
                QPainterPath b;
                b.moveTo(x0 + 2, yTop);
                b.lineTo(x0 + 18, yTop);
                b.lineTo(x0 + 18, yTop + 40);
                b.lineTo(x0 + 2, yTop + 40);
                p.drawPath(b);
            }
        }
        note(p, QRectF(180, 264, 570, 30), lang, "Only the selected gain set can be edited.",
             "仅可编辑所选的感度组。");
    }
}

void drawFirmwareBackground(QPainter &p, const QSizeF &s, Lang lang)
{
    pageBase(p, s);
    panel(p, QRectF(8, 8, 764, 294));
    caption(p, QRectF(28, 20, 400, 26), lang, "Firmware update", "固件升级",
            Qt::AlignLeft | Qt::AlignVCenter, 16, Colour::accent);
    p.setPen(QPen(Colour::border, 1));
    p.drawLine(QPointF(28, 50.5), QPointF(752, 50.5));

    // label_firmwareVersion (260, 62, 320, 30); pushButton_loadFile (260, 107, 160, 36) and
    // pushButton_update (440, 107, 160, 36); label_progress_value (260, 162, 70, 30) and
    // label_progress_info (340, 162, 412, 30); label_web (260, 252, 220, 25) and
    // label_email (552, 252, 200, 25).
    const int right = Qt::AlignRight | Qt::AlignVCenter;
    caption(p, QRectF(28, 62, 220, 30), lang, "Controller firmware", "飞控固件版本", right);
    field(p, QRectF(260, 62, 320, 30));
    caption(p, QRectF(28, 110, 220, 30), lang, "Firmware file", "固件文件", right);
    caption(p, QRectF(28, 162, 220, 30), lang, "Progress", "升级进度", right);
    field(p, QRectF(260, 162, 70, 30));
    field(p, QRectF(340, 162, 412, 30));
    note(p, QRectF(262, 204, 490, 40), lang,
         "Load a .bin firmware file, then press Update. Keep the USB cable plugged in until the "
         "controller has restarted.",
         "载入 .bin 固件文件后点击升级。飞控重启完成前请勿拔出USB线。");
    // The captions "Website" and "E-mail" beside the links are labels of the page: a program
    // built without an address shows neither.
}

} // namespace Skin
