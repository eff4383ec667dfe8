#include "pages/pagefc.h"

#include "widgets/dialogwarning.h"

#include <QEventLoop>

#include <memory>

PageFC::PageFC(QWidget* parent)
    : QWidget(parent, Qt::WindowFlags())
{
    qRegisterMetaType<FCProtocol::Task*>("FCProtocol::Task*");
    qRegisterMetaType<FCProtocol::DS_INFO_RD>("FCProtocol::DS_INFO_RD");
}

void PageFC::ensureBuilt()
{
    if (built)
        return;
    built = true;
    build();
}

void PageFC::setVisible(bool visible)
{
    // Before the page is polished and shown: its new children are shown with it.
    if (visible)
        ensureBuilt();
    QWidget::setVisible(visible);
}

bool PageFC::confirmed(const QString& text)
{
    return DialogWarning::ask(text);
}

void PageFC::waitFor(const std::function<void(std::function<void()> done)>& work)
{
    // Shared, so that a late call after the wait has ended touches nothing gone.
    struct State {
        QEventLoop loop;
        bool finished = false;
    };
    auto state = std::make_shared<State>();
    work([state] {
        state->finished = true;
        state->loop.quit();
    });
    if (!state->finished)
        state->loop.exec(QEventLoop::ExcludeUserInputEvents);
}
