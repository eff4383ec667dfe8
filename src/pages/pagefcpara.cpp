#include "pages/pagefcpara.h"

PageFCPara::PageFCPara(QWidget* parent)
    : PageFC(parent)
{
    setObjectName(QStringLiteral("pageFCPara"));
    setFixedSize(780, 310);
}

void PageFCPara::TaskDone(FCProtocol::Task* task)
{
    Q_UNUSED(task);
}

void PageFCPara::mainLoop()
{
}

void PageFCPara::InfoRDDone(FCProtocol::DS_INFO_RD info)
{
    Q_UNUSED(info);
}

