#include "app/pagebuilder.h"

#include "pages/pagefc.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

PageBuilder::PageBuilder(QWidget* window, const QList<PageFC*>& pages)
    : QObject(window)
    , window(window)
{
    for (PageFC* page : pages)
        waiting << page;
    window->installEventFilter(this);
}

void PageBuilder::buildAll()
{
    while (!waiting.isEmpty()) {
        if (PageFC* page = waiting.takeFirst())
            page->ensureBuilt();
    }
}

bool PageBuilder::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window && event->type() == QEvent::Paint) {
        window->removeEventFilter(this);
        // Queued: after this paint has reached the screen.
        QTimer::singleShot(0, this, &PageBuilder::buildNext);
    }
    return false;
}

void PageBuilder::buildNext()
{
    while (!waiting.isEmpty()) {
        PageFC* page = waiting.takeFirst();
        if (page && !page->isBuilt()) {
            page->ensureBuilt();
            break;
        }
    }
    if (!waiting.isEmpty())
        QTimer::singleShot(0, this, &PageBuilder::buildNext);
}
