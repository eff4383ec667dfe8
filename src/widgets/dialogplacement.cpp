#include "widgets/dialogplacement.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QVariant>
#include <QWindow>

namespace {

// Set on a dialog this placed, until it is hidden.
const char* const kPlaced = "dialogPlacementPlaced";

bool shownWindow(const QWidget* window)
{
    return window && window->isVisible() && !window->isMinimized();
}

} // namespace

DialogPlacement::DialogPlacement(QObject* parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("DialogPlacement"));
}

void DialogPlacement::install()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || app->findChild<DialogPlacement*>(QStringLiteral("DialogPlacement"), Qt::FindDirectChildrenOnly))
        return;
    app->installEventFilter(new DialogPlacement(app));
}

QWidget* DialogPlacement::askerOf(const QWidget* dialog)
{
    if (QWidget* parent = dialog->parentWidget())
        return parent->window();
    QWidget* active = QApplication::activeWindow();
    if (active != dialog && shownWindow(active))
        return active;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window != dialog && qobject_cast<QMainWindow*>(window) && shownWindow(window))
            return window;
    }
    return nullptr;
}

QPoint DialogPlacement::placeOver(const QWidget* dialog, const QWidget* asker)
{
    // A framed dialog's frame is not known before its first show: it is taken to be as thick
    // as the asking window's. A frameless one has none.
    QMargins frame;
    if (!(dialog->windowFlags() & Qt::FramelessWindowHint)) {
        const QRect outer = asker->frameGeometry();
        const QRect inner = asker->geometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    }
    QRect box(QPoint(0, 0), dialog->size());
    box.moveCenter(asker->geometry().center());
    box = box.marginsAdded(frame);

    const QScreen* screen = asker->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect room = screen->availableGeometry();
        // The top-left corner wins where the dialog is larger than the room: its title and
        // first lines stay reachable.
        box.moveRight(qMin(box.right(), room.right()));
        box.moveBottom(qMin(box.bottom(), room.bottom()));
        box.moveLeft(qMax(box.left(), room.left()));
        box.moveTop(qMax(box.top(), room.top()));
    }
    return box.topLeft();
}

bool DialogPlacement::eventFilter(QObject* watched, QEvent* event)
{
    // Before the window reaches the screen, and before the dialog's own show event centres it
    // on the screen (it leaves a dialog that was moved alone). A window shown again after being
    // minimised stays where the pilot left it.
    const bool show = event->type() == QEvent::Show && !event->spontaneous();
    const bool hide = event->type() == QEvent::Hide && !event->spontaneous();
    if (!(show || hide) || !watched->isWidgetType())
        return false;
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (!dialog || !dialog->isWindow())
        return false;
    if (hide) {
        // Placed here, not by its caller: placed again when shown again.
        if (dialog->property(kPlaced).toBool()) {
            dialog->setProperty(kPlaced, false);
            dialog->setAttribute(Qt::WA_Moved, false);
        }
        return false;
    }
    if (dialog->testAttribute(Qt::WA_Moved))
        return false;
    const QWidget* asker = askerOf(dialog);
    if (!asker)
        return false;
    dialog->move(placeOver(dialog, asker));
    dialog->setProperty(kPlaced, true);
    return false;
}
