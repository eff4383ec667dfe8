#include "widgets/dialogwarning.h"

#include "ui_dialogwarning.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

DialogWarning::DialogWarning(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::DialogWarning)
{
    ui->setupUi(this);
    // Frameless and transparent: only the background image is visible.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);

    // Cancel is the default so that Enter alone never confirms a question.
    ui->pushButton_OK->setAutoDefault(false);
    ui->pushButton_OK->setDefault(false);
    ui->pushButton_Cancel->setDefault(true);
    // And the keyboard starts on Cancel: Space on the first button would confirm a question.
    ui->pushButton_Cancel->setFocus();

    connect(ui->pushButton_OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->pushButton_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

DialogWarning::~DialogWarning()
{
    delete ui;
}

void DialogWarning::setText(const QString& text)
{
    QLabel* label = ui->label_info;
    label->setText(text);

    // The label reaches under the buttons and to the right edge of the background: the
    // wrapped text must stay clear of both. A long text gets a smaller font instead of a
    // bigger dialog.
    label->setContentsMargins(kSideMargin, 0, kSideMargin, 0);
    const QRect buttons = ui->pushButton_OK->geometry().united(ui->pushButton_Cancel->geometry());
    const int centre = label->geometry().center().y();
    const int roomHeight = 2 * (buttons.top() - kButtonGap - centre);
    const QRect room(0, 0, label->contentsRect().width(), roomHeight);
    int points = kTextPoints;
    QFont font = label->font();
    for (; points > kMinTextPoints; --points) {
        font.setPointSize(points);
        const QRect need = QFontMetrics(font).boundingRect(
            room, Qt::AlignCenter | Qt::TextWordWrap, text);
        if (need.height() <= room.height() && need.width() <= room.width())
            break;
    }
    label->setStyleSheet(QStringLiteral("font: %1pt;").arg(points));
}

bool DialogWarning::ask(const QString& text)
{
    DialogWarning dialog;
    dialog.setText(text);
    return dialog.exec() == QDialog::Accepted;
}

void DialogWarning::tell(const QString& text)
{
    ask(text);
}

DialogWarning* DialogWarning::openOver(QWidget* parent, const QString& text)
{
    auto* dialog = new DialogWarning(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setText(text);
    dialog->QDialog::open();
    return dialog;
}

int DialogWarning::textPoints() const
{
    return ui->label_info->font().pointSize();
}
