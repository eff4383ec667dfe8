#include "pages/pagefcframe.h"

PageFCFrame::PageFCFrame(QWidget* parent)
    : PageFC(parent)
{
    setObjectName(QStringLiteral("pageFCFrame"));
    setFixedSize(780, 310);
}

void PageFCFrame::TaskDone(FCProtocol::Task* task)
{
    Q_UNUSED(task);
}

void PageFCFrame::mainLoop()
{
}

void PageFCFrame::InfoRDDone(FCProtocol::DS_INFO_RD info)
{
    Q_UNUSED(info);
}

