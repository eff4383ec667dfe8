#pragma once

class QString;
class QWidget;

namespace FitText {

// Sets `text` on a fixed-width button or label and, if it is wider than the widget, draws it
// in a condensed stretch of the same font (as little as needed, not below kMinStretch percent)
// so that it fits without changing the widget's size. A text that fits keeps the plain font.
void setCondensed(QWidget* widget, const QString& text);

constexpr int kMinStretch = 70;

} // namespace FitText
