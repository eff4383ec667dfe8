#include "widgets/fittext.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>

namespace FitText {

namespace {

// Room kept clear of the widget's edges: the skin draws a border of a few pixels round a
// checked button.
constexpr int kSpare = 12;

void setWidgetText(QWidget* widget, const QString& text)
{
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
}

} // namespace

void setCondensed(QWidget* widget, const QString& text)
{
    // The style sheet decides family and size; only the stretch is ours.
    widget->ensurePolished();
    QFont font = widget->font();
    int stretch = 100;
    font.setStretch(stretch);
    while (stretch > kMinStretch
           && QFontMetrics(font).horizontalAdvance(text) > widget->width() - kSpare) {
        stretch -= 2;
        font.setStretch(stretch);
    }
    widget->setFont(font);
    setWidgetText(widget, text);
}

} // namespace FitText
