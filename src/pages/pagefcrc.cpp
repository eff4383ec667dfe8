#include "pages/pagefcrc.h"

PageFCRc::PageFCRc(QWidget* parent)
    : PageFC(parent)
{
    setObjectName(QStringLiteral("pageFCRc"));
    setFixedSize(780, 310);
}

void PageFCRc::TaskDone(FCProtocol::Task* task)
{
    Q_UNUSED(task);
}

void PageFCRc::mainLoop()
{
}

void PageFCRc::InfoRDDone(FCProtocol::DS_INFO_RD info)
{
    Q_UNUSED(info);
}

void PageFCRc::HideEmuNoNeedUi()
{
}

void PageFCRc::HideMiniNoNeedUi()
{
}

