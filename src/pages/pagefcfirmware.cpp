#include "pages/pagefcfirmware.h"

PageFCFirmware::PageFCFirmware(QWidget* parent)
    : PageFC(parent)
{
    setObjectName(QStringLiteral("pageFCFirmware"));
    setFixedSize(780, 310);
}

void PageFCFirmware::TaskDone(FCProtocol::Task* task)
{
    Q_UNUSED(task);
}

void PageFCFirmware::mainLoop()
{
}

void PageFCFirmware::InfoRDDone(FCProtocol::DS_INFO_RD info)
{
    Q_UNUSED(info);
}

