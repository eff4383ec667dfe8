#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class PageFC;
class QWidget;

// Builds the forms of pages made without them (PageFC::Build::Later) once the window has been
// painted, one page per turn of the event loop: the first picture comes without the skin of the
// pages not shown, and each page is ready before a pilot asks for it. A page shown sooner
// builds itself.
class PageBuilder : public QObject
{
    Q_OBJECT

public:
    PageBuilder(QWidget* window, const QList<PageFC*>& pages);

    // Every page built now.
    void buildAll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildNext();

    QWidget* window;
    QList<QPointer<PageFC>> waiting;
};
