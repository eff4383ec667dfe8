#pragma once

#include "style.h"

#include <QSize>
#include <QString>
#include <QVector>
#include <functional>

// The list of every skin image: resource name, logical size, whether it has a Chinese
// variant, and how to draw it.
namespace Skin {

struct Entry {
    QString name; // file name under :/GUI/
    QSize size;   // logical pixels; the "@2x" file is twice this
    bool localised = false;
    std::function<void(QPainter &, const QSizeF &, Lang)> draw;
};

QVector<Entry> catalogue();

// The Save button's not-stored state and the parameter page's tuning-file buttons.
void addStorageImages(QVector<Entry> &list);

} // namespace Skin
