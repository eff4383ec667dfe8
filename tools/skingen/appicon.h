#pragma once

#include <QPainter>
#include <QSizeF>
#include <QString>

// The application icon for the desktop's menus and task bar, in the skin's style: the product
// mark of the title strip, white on an accent tile. Not compiled into the program; installed
// into the hicolor icon theme.
namespace Skin {

// The sizes a desktop asks for.
constexpr int kAppIconSizes[] = {48, 128, 256};

void drawAppIcon(QPainter &p, const QSizeF &s);

// Writes DIR/<n>x<n>/apps/NAME.png for every size; false if a file cannot be written.
bool writeAppIcons(const QString &dir, const QString &name);

} // namespace Skin
