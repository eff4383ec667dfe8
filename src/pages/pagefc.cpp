#include "pages/pagefc.h"

PageFC::PageFC(QWidget* parent)
    : QWidget(parent, Qt::WindowFlags())
{
    qRegisterMetaType<FCProtocol::Task*>("FCProtocol::Task*");
    qRegisterMetaType<FCProtocol::DS_INFO_RD>("FCProtocol::DS_INFO_RD");
}
