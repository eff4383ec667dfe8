#include "app/languagechoice.h"

#include <QComboBox>
#include <QSettings>
#include <QStandardItemModel>

namespace LanguageChoice {

void fill(QComboBox* box)
{
    QFont font(QSettings().value(QStringLiteral("font/you_family")).toString(), 11);
    font.setWeight(QFont::Bold);
    box->setFont(font);
    box->addItem(QStringLiteral("选择语言(Select Language)"));
    box->addItem(QStringLiteral("English"));
    box->addItem(QStringLiteral("简体中文"));
    if (auto* model = qobject_cast<QStandardItemModel*>(box->model())) {
        QStandardItem* caption = model->item(0);
        caption->setFlags(caption->flags() & ~Qt::ItemIsSelectable);
    }
    box->setCurrentIndex(0);
}

bool store(int index, QLocale* chosen)
{
    if (index != 1 && index != 2)
        return false;
    const bool english = index == 1;
    QSettings().setValue(QStringLiteral("main/language"), english ? QStringLiteral("en") : QStringLiteral("zh"));
    *chosen = QLocale(english ? QLocale::English : QLocale::Chinese, QLocale::AnyCountry);
    return true;
}

} // namespace LanguageChoice
