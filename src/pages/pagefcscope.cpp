#include "pages/pagefcscope.h"

PageFCScope::PageFCScope(QWidget* parent)
    : PageFC(parent)
{
    setObjectName(QStringLiteral("pageFCScope"));
    setFixedSize(780, 310);
}

void PageFCScope::TaskDone(FCProtocol::Task* task)
{
    Q_UNUSED(task);
}

void PageFCScope::mainLoop()
{
}

void PageFCScope::InfoRDDone(FCProtocol::DS_INFO_RD info)
{
    Q_UNUSED(info);
}

