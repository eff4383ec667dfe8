#include "catalogue.h"

#include "drawings.h"

namespace Skin {

namespace {

// State suffixes "-1" normal, "-2" hover, "-3" pressed or checked, "-4" disabled.
const State kStates[4] = {State::Normal, State::Hover, State::Pressed, State::Disabled};

void add(QVector<Entry> &list, const QString &name, QSize size, bool localised,
         std::function<void(QPainter &, const QSizeF &, Lang)> draw)
{
    list.push_back({name, size, localised, std::move(draw)});
}

// A three-state series base-1 .. base-3 of one drawing.
void series(QVector<Entry> &list, const QString &base, QSize size, bool localised,
            const std::function<void(QPainter &, const QSizeF &, Lang, State)> &draw,
            int count = 3)
{
    for (int i = 0; i < count; ++i) {
        const State st = kStates[i];
        add(list, QStringLiteral("%1%2.png").arg(base).arg(i + 1), size, localised,
            [draw, st](QPainter &p, const QSizeF &s, Lang l) { draw(p, s, l, st); });
    }
}

} // namespace

QVector<Entry> catalogue()
{
    QVector<Entry> c;

    // Main window.
    add(c, "main-background.png", {800, 494}, false,
        [](QPainter &p, const QSizeF &s, Lang) { drawMainBackground(p, s); });
    for (int page = 1; page <= 4; ++page)
        series(c, QStringLiteral("PAGE%1-").arg(page), {66, 66}, false,
               [page](QPainter &p, const QSizeF &s, Lang, State st) {
                   drawNavButton(p, s, page, st);
               }, 4);
    series(c, "minimize-", {30, 30}, false,
           [](QPainter &p, const QSizeF &s, Lang, State st) { drawTitleButton(p, s, false, st); },
           2);
    series(c, "close-", {30, 30}, false,
           [](QPainter &p, const QSizeF &s, Lang, State st) { drawTitleButton(p, s, true, st); },
           2);
    series(c, "save", {50, 25}, true, [](QPainter &p, const QSizeF &s, Lang l, State st) {
        drawTextButton(p, s, tr2(l, "Save", "保存"), l, st, true);
    });
    // The fourth Save is the not-stored mark (storage.cpp); disabled, while an update runs, is
    // the fifth.
    add(c, "save5.png", {50, 25}, true, [](QPainter &p, const QSizeF &s, Lang l) {
        drawTextButton(p, s, tr2(l, "Save", "保存"), l, State::Disabled, true);
    });
    series(c, "default", {100, 25}, true, [](QPainter &p, const QSizeF &s, Lang l, State st) {
        drawTextButton(p, s, tr2(l, "Default", "恢复默认"), l, st, false);
    }, 4);
    add(c, "drop-down-triangle.png", {12, 8}, false,
        [](QPainter &p, const QSizeF &s, Lang) { drawDropDownTriangle(p, s); });
    add(c, "led-grey.png", {40, 40}, false,
        [](QPainter &p, const QSizeF &s, Lang) { drawLed(p, s, QColor()); });
    add(c, "led-green.png", {40, 40}, false,
        [](QPainter &p, const QSizeF &s, Lang) { drawLed(p, s, Colour::ledGreen); });
    add(c, "led-red.png", {40, 40}, false,
        [](QPainter &p, const QSizeF &s, Lang) { drawLed(p, s, Colour::ledRed); });
    for (int v = 1; v <= 4; ++v)
        add(c, QStringLiteral("link-%1.png").arg(v), {24, 24}, false,
            [v](QPainter &p, const QSizeF &s, Lang) { drawLink(p, s, v); });

    // Dialogs.
    add(c, "dialog-background.png", {500, 150}, false,
        [](QPainter &p, const QSizeF &s, Lang) { drawDialogBackground(p, s); });
    series(c, "dialog-button1-", {60, 25}, true, [](QPainter &p, const QSizeF &s, Lang l, State st) {
        drawTextButton(p, s, tr2(l, "OK", "确定"), l, st, true);
    });
    series(c, "dialog-button2-", {60, 25}, true, [](QPainter &p, const QSizeF &s, Lang l, State st) {
        drawTextButton(p, s, tr2(l, "Cancel", "取消"), l, st, false);
    });
    add(c, "dialog-large-background.png", {640, 400}, false,
        [](QPainter &p, const QSizeF &s, Lang) { drawLargeDialogBackground(p, s); });
    // The history's Restore, with a disabled state while the snapshot holds nothing new.
    series(c, "dialog-button3-", {60, 25}, true, [](QPainter &p, const QSizeF &s, Lang l, State st) {
        drawTextButton(p, s, tr2(l, "Restore", "恢复"), l, st, true);
    }, 4);
    series(c, "button-empty-", {60, 25}, false, [](QPainter &p, const QSizeF &s, Lang l, State st) {
        drawTextButton(p, s, QString(), l, st, false);
    });

    // Status page.
    add(c, "page1-background.png", {780, 310}, true,
        [](QPainter &p, const QSizeF &s, Lang l) { drawStatusBackground(p, s, l); });
    add(c, "compass1.png", {40, 162}, false,
        [](QPainter &p, const QSizeF &s, Lang) { drawCompassNeedle(p, s); });
    add(c, "attview.png", {154, 14}, false,
        [](QPainter &p, const QSizeF &s, Lang) { drawHorizonBar(p, s); });
    add(c, "attview-mask.png", {260, 260}, false,
        [](QPainter &p, const QSizeF &s, Lang) { drawAttitudeMask(p, s); });
    series(c, "calibration-", {120, 25}, false, [](QPainter &p, const QSizeF &s, Lang l, State st) {
        drawTextButton(p, s, QString(), l, st, false);
    });
    series(c, "motortest-", {88, 27}, true, [](QPainter &p, const QSizeF &s, Lang l, State st) {
        drawTextButton(p, s, tr2(l, "Motor Test", "电机测试"), l, st, false, 11.5);
    });

    // Airframe page: ten layouts, the last six with a disabled picture.
    const char *frames[10] = {"X-A4-R4", "C-A4-R4", "X-A6-R6", "C-A6-R6", "X-A8-R8",
                              "C-A8-R8", "X-A3-R6", "C-A3-R6", "X-A4-R8", "C-A4-R8"};
    for (int i = 0; i < 10; ++i) {
        const QString name = QString::fromLatin1(frames[i]);
        const int count = i >= 4 ? 4 : 3;
        for (int k = 0; k < count; ++k) {
            const State st = kStates[k];
            add(c, QStringLiteral("%1-%2.png").arg(name).arg(k + 1), {125, 125}, false,
                [name, st](QPainter &p, const QSizeF &s, Lang) {
                    drawAirframe(p, s, name, st == State::Pressed ? State::Normal : st,
                                 st == State::Pressed);
                });
        }
    }
    series(c, "page2-mounting-normal-", {320, 250}, false,
           [](QPainter &p, const QSizeF &s, Lang, State st) { drawMounting(p, s, false, st); });
    series(c, "page2-mounting-invert-", {320, 250}, false,
           [](QPainter &p, const QSizeF &s, Lang, State st) { drawMounting(p, s, true, st); });

    // Radio page and its function dialogs.
    add(c, "page3-background.png", {780, 310}, true,
        [](QPainter &p, const QSizeF &s, Lang l) { drawRcBackground(p, s, l); });
    add(c, "rcDot.png", {26, 26}, false,
        [](QPainter &p, const QSizeF &s, Lang) { drawRcDot(p, s); });
    const char *modes[3][2] = {{"button-2D-", "2D"}, {"button-3D-", "3D"}, {"button-easy-", "Easy"}};
    for (const auto &m : modes) {
        const QString label = QString::fromLatin1(m[1]);
        series(c, QString::fromLatin1(m[0]), {50, 23}, false,
               [label](QPainter &p, const QSizeF &s, Lang, State st) {
                   drawTextButton(p, s, label, Lang::En, st, st == State::Pressed, 11);
               }, label == QLatin1String("Easy") ? 4 : 3); // Easy is disabled in the radio page's form
    }
    add(c, "switch-1-1.png", {52, 26}, false,
        [](QPainter &p, const QSizeF &s, Lang) { drawSwitch(p, s, false, false); });
    add(c, "switch-1-2.png", {52, 26}, false,
        [](QPainter &p, const QSizeF &s, Lang) { drawSwitch(p, s, false, true); });
    add(c, "switch-2-1.png", {52, 26}, false,
        [](QPainter &p, const QSizeF &s, Lang) { drawSwitch(p, s, true, false); });
    add(c, "switch-2-2.png", {52, 26}, false,
        [](QPainter &p, const QSizeF &s, Lang) { drawSwitch(p, s, true, true); });
    for (int v = 1; v <= 3; ++v)
        add(c, QStringLiteral("page3-progressbar-short-mask-%1.png").arg(v), {68, 24}, false,
            [v](QPainter &p, const QSizeF &s, Lang) { drawSwitchMask(p, s, v); });
    for (int v = 1; v <= 2; ++v)
        add(c, QStringLiteral("page3-progressbar-long-mask-%1.png").arg(v), {104, 24}, false,
            [v](QPainter &p, const QSizeF &s, Lang) { drawSwitchMask(p, s, v); });
    for (int v = 1; v <= 3; ++v)
        add(c, QStringLiteral("page3-rcfunc-dialog-%1.png").arg(v), {210, 64}, false,
            [v](QPainter &p, const QSizeF &s, Lang) { drawRcFuncDialog(p, s, v - 1); });
    series(c, "page3-rcfunc-dialog-short-button-", {68, 24}, false,
           [](QPainter &p, const QSizeF &s, Lang, State st) { drawRcFuncButton(p, s, st); }, 4);
    series(c, "page3-rcfunc-dialog-longlong-button-", {206, 24}, false,
           [](QPainter &p, const QSizeF &s, Lang, State st) { drawRcFuncButton(p, s, st); });

    // Parameter page.
    const char *subs[3] = {"esc", "para", "gain"};
    for (int i = 0; i < 3; ++i)
        add(c, QStringLiteral("page4-background-%1.png").arg(QLatin1String(subs[i])), {780, 310},
            true, [i](QPainter &p, const QSizeF &s, Lang l) { drawParaBackground(p, s, i, l); });
    const char *tabs[3][2] = {{"ESC", "电调设置"}, {"Limits", "飞行限制"}, {"Gains", "感度设置"}};
    for (int i = 0; i < 3; ++i) {
        const char *en = tabs[i][0];
        const char *zh = tabs[i][1];
        series(c, QStringLiteral("page4-stack-%1-").arg(QLatin1String(subs[i])), {128, 36}, true,
               [en, zh](QPainter &p, const QSizeF &s, Lang l, State st) {
                   drawParaTab(p, s, tr2(l, en, zh), l, st);
               });
    }

    addStorageImages(c);

    // Firmware page.
    add(c, "page5-background.png", {780, 310}, true,
        [](QPainter &p, const QSizeF &s, Lang l) { drawFirmwareBackground(p, s, l); });
    series(c, "page5-button1-", {160, 36}, false,
           [](QPainter &p, const QSizeF &s, Lang, State st) { drawFirmwareButton(p, s, 1, st); });
    series(c, "page5-button2-", {160, 36}, false,
           [](QPainter &p, const QSizeF &s, Lang, State st) { drawFirmwareButton(p, s, 2, st); });

    return c;
}

} // namespace Skin
