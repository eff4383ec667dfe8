#include "widgets/fittext.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QVariant>

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

QString widgetText(const QWidget* widget)
{
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    return QString();
}

// The width the widget's text was last fitted to.
const char* const kFittedWidth = "fitTextWidth";

} // namespace

void setCondensed(QWidget* widget, const QString& text)
{
    // Pages set their texts on every reply: the same text on the same width needs neither
    // measuring nor a new font (which would polish and repaint the widget again).
    const QVariant fitted = widget->property(kFittedWidth);
    if (fitted.isValid() && fitted.toInt() == widget->width() && widgetText(widget) == text)
        return;
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
    widget->setProperty(kFittedWidth, widget->width());
}

} // namespace FitText
