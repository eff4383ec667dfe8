#pragma once

#include "style.h"

#include <QSizeF>

// Drawing functions of the skin, one per family of images. Each paints in logical pixels
// on a transparent canvas of the image's logical size; the caller scales for "@2x".
namespace Skin {

QString tr2(Lang lang, const char *en, const char *zh);

// Window and shared controls.
void drawMainBackground(QPainter &p, const QSizeF &s);
void drawNavButton(QPainter &p, const QSizeF &s, int page, State st);
void drawTitleButton(QPainter &p, const QSizeF &s, bool close, State st);
void drawDropDownTriangle(QPainter &p, const QSizeF &s);
void drawLed(QPainter &p, const QSizeF &s, const QColor &lit);
void drawLink(QPainter &p, const QSizeF &s, int variant);
void drawTextButton(QPainter &p, const QSizeF &s, const QString &label, Lang lang, State st,
                    bool primary, qreal px = 12);
void drawDialogBackground(QPainter &p, const QSizeF &s);
// The dialogs with a table (the values a load changes, the history): 640 x 400.
void drawLargeDialogBackground(QPainter &p, const QSizeF &s);

// Status page.
void drawCompassNeedle(QPainter &p, const QSizeF &s);
void drawHorizonBar(QPainter &p, const QSizeF &s);
void drawAttitudeMask(QPainter &p, const QSizeF &s);
void drawStatusBackground(QPainter &p, const QSizeF &s, Lang lang);

// Airframe page.
void drawAirframe(QPainter &p, const QSizeF &s, const QString &name, State st, bool checked);
void drawMounting(QPainter &p, const QSizeF &s, bool inverted, State st);

// Radio page and its function dialogs.
void drawRcDot(QPainter &p, const QSizeF &s);
void drawSwitch(QPainter &p, const QSizeF &s, bool on, bool hover);
void drawSwitchMask(QPainter &p, const QSizeF &s, int variant);
void drawRcBackground(QPainter &p, const QSizeF &s, Lang lang);
void drawRcFuncDialog(QPainter &p, const QSizeF &s, int position);
void drawRcFuncButton(QPainter &p, const QSizeF &s, State st);

// Parameter page.
void drawParaTab(QPainter &p, const QSizeF &s, const QString &label, Lang lang, State st);
void drawParaBackground(QPainter &p, const QSizeF &s, int sub, Lang lang);

// Keeping settings: the Save button while changes are not stored, the tuning-file buttons.
void drawNotStoredSave(QPainter &p, const QSizeF &s, Lang lang);
// which: 0 save, 1 load, 2 history.
void drawParaFileButton(QPainter &p, const QSizeF &s, int which, Lang lang, State st);
void drawParaFileRail(QPainter &p, Lang lang);

// Firmware page.
void drawFirmwareButton(QPainter &p, const QSizeF &s, int which, State st);
void drawFirmwareBackground(QPainter &p, const QSizeF &s, Lang lang);

} // namespace Skin
