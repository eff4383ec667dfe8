#include "pages/pagefc.h"

#include "widgets/dialogwarning.h"

PageFC::PageFC(QWidget* parent)
    : QWidget(parent, Qt::WindowFlags())
{
    qRegisterMetaType<FCProtocol::Task*>("FCProtocol::Task*");
    qRegisterMetaType<FCProtocol::DS_INFO_RD>("FCProtocol::DS_INFO_RD");
}

bool PageFC::confirmed(const QString& text)
{
    return DialogWarning::ask(text);
}
