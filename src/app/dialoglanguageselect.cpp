#include "app/dialoglanguageselect.h"

#include "ui_dialoglanguageselect.h"

#include <QFont>
#include <QPushButton>
#include <QSettings>

DialogLanguageSelect::DialogLanguageSelect(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::DialogLanguageSelect)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    ui->pushButton_OK->setDefault(true);
    connect(ui->pushButton_OK, &QPushButton::clicked, this, &QDialog::accept);
}

DialogLanguageSelect::~DialogLanguageSelect()
{
    delete ui;
}

void DialogLanguageSelect::setLanguage(QLocale locale)
{
    QSettings settings;
    const QFont latin(settings.value(QStringLiteral("font/arial_family")).toString(), 13);
    const QFont cjk(settings.value(QStringLiteral("font/you_family")).toString(), 13, QFont::Bold);

    // Fixed texts, not translated: the notice must speak the newly chosen language.
    if (locale.language() == QLocale::Chinese) {
        ui->label_info->setText(QStringLiteral("请重新启动软件使语言设置生效"));
        ui->pushButton_OK->setText(QStringLiteral("确定"));
        ui->label_info->setFont(cjk);
        ui->pushButton_OK->setFont(cjk);
    } else {
        ui->label_info->setText(
            QStringLiteral("Please restart to make the language settings take effect"));
        ui->pushButton_OK->setText(QStringLiteral("OK"));
        ui->label_info->setFont(latin);
        ui->pushButton_OK->setFont(latin);
    }
}
