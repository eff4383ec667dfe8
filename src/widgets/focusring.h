#pragma once

#include <QObject>
#include <QPointer>

class QFrame;
class QWidget;

// Shows where the keyboard focus is while the pilot moves it with the keyboard (Tab, Backtab, a
// shortcut): a ring in the skin's accent colour around the control, drawn over its window. A
// click puts the ring away until the keyboard moves the focus again. The skinned controls draw
// no focus of their own. One for the application, watching every window.
class FocusRing : public QObject
{
    Q_OBJECT

public:
    // Watches the application's focus from now on; once is enough, later calls do nothing.
    static void install();
    // The control the ring is drawn around; null while the ring is put away (or not installed).
    static QWidget* target();

    bool eventFilter(QObject* watched, QEvent* event) override;

    // The ring's gap to the control and its width, in pixels.
    static constexpr int kGap = 3;
    static constexpr int kWidth = 2;

private:
    explicit FocusRing(QObject* parent);
    static FocusRing* instance();
    void showAround(QWidget* widget);
    void putAway();
    void place();

    QPointer<QWidget> around;
    QPointer<QFrame> ring;
    bool keyboard = false;
};
