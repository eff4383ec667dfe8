#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

// Opens every dialog centred over the window that asks (its parent's window, else the active
// window, else the shown main window), kept on that window's screen. A dialog its caller put
// somewhere before showing it (a popup under its button) stays there. One for the
// application, watching every window that is shown, so that no caller has to place a dialog.
class DialogPlacement : public QObject
{
    Q_OBJECT

public:
    // Watches the application's windows from now on; once is enough, later calls do nothing.
    static void install();

    // Where `dialog`'s frame goes when it opens over `asker`: centred on it, and moved as
    // little as needed to lie within the space its screen leaves for windows.
    static QPoint placeOver(const QWidget* dialog, const QWidget* asker);
    // The window a dialog about to open belongs over; null when none is shown.
    static QWidget* askerOf(const QWidget* dialog);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit DialogPlacement(QObject* parent);
};
