#include "pages/fcrcuimanager.h"

#include <QCheckBox>

FCRcUIManager::FCRcUIManager(QObject* parent)
    : QObject(parent)
{
}

void FCRcUIManager::addRow(QLabel* minLabel, QProgressBar* bar, QLabel* maxLabel,
                           QCheckBox* reverseBox)
{
    rows.append(Row{minLabel, bar, maxLabel, reverseBox});
    // clicked, not toggled: only a user's click may lead to a write.
    connect(reverseBox, &QCheckBox::clicked, this, &FCRcUIManager::checkBoxStateChanged);
}

const FCRcUIManager::Row& FCRcUIManager::row(int index) const
{
    return rows.at(index);
}

int FCRcUIManager::count() const
{
    return rows.size();
}
