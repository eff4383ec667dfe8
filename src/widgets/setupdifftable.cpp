#include "widgets/setupdifftable.h"

#include "protocol/helper.h"

#include <QHeaderView>

namespace {

// Axis words of the gain rows, as the gains page names them.
const char* const kAxes[][2] = {
    {"avx", QT_TRANSLATE_NOOP("SetupDiffTable", "roll rate")},
    {"avy", QT_TRANSLATE_NOOP("SetupDiffTable", "pitch rate")},
    {"ax", QT_TRANSLATE_NOOP("SetupDiffTable", "roll angle")},
    {"ay", QT_TRANSLATE_NOOP("SetupDiffTable", "pitch angle")},
    {"avz", QT_TRANSLATE_NOOP("SetupDiffTable", "yaw rate")},
};

const char* const kNames[][2] = {
    {"avxy_max", QT_TRANSLATE_NOOP("SetupDiffTable", "Max roll / pitch rate")},
    {"axy_max", QT_TRANSLATE_NOOP("SetupDiffTable", "Max roll / pitch angle")},
    {"avz_max", QT_TRANSLATE_NOOP("SetupDiffTable", "Max yaw rate")},
    {"escMin", QT_TRANSLATE_NOOP("SetupDiffTable", "ESC output min")},
    {"escDeadMin", QT_TRANSLATE_NOOP("SetupDiffTable", "3D dead band low")},
    {"escDeadMax", QT_TRANSLATE_NOOP("SetupDiffTable", "3D dead band high")},
    {"escMax", QT_TRANSLATE_NOOP("SetupDiffTable", "ESC output max")},
    {"paraType", QT_TRANSLATE_NOOP("SetupDiffTable", "Gain mode")},
    {"linkXY", QT_TRANSLATE_NOOP("SetupDiffTable", "Roll and pitch gains linked")},
    {"reserved", QT_TRANSLATE_NOOP("SetupDiffTable", "Reserved byte")},
    {"oneshot125", QT_TRANSLATE_NOOP("SetupDiffTable", "OneShot125")},
    {"escType", QT_TRANSLATE_NOOP("SetupDiffTable", "ESC mode")},
    {"modeButton", QT_TRANSLATE_NOOP("SetupDiffTable", "Mode buttons")},
    {"airframe", QT_TRANSLATE_NOOP("SetupDiffTable", "Airframe")},
    {"mounting", QT_TRANSLATE_NOOP("SetupDiffTable", "Mounting")},
};

// The ten airframe pictures, by code.
const char* const kAirframes[] = {
    QT_TRANSLATE_NOOP("SetupDiffTable", "Quad X"), QT_TRANSLATE_NOOP("SetupDiffTable", "Quad +"),
    QT_TRANSLATE_NOOP("SetupDiffTable", "Hexa X"), QT_TRANSLATE_NOOP("SetupDiffTable", "Hexa +"),
    QT_TRANSLATE_NOOP("SetupDiffTable", "Octo X"), QT_TRANSLATE_NOOP("SetupDiffTable", "Octo +"),
    QT_TRANSLATE_NOOP("SetupDiffTable", "Y6 X"), QT_TRANSLATE_NOOP("SetupDiffTable", "Y6 +"),
    QT_TRANSLATE_NOOP("SetupDiffTable", "X8 X"), QT_TRANSLATE_NOOP("SetupDiffTable", "X8 +"),
};

QString tr(const char* source)
{
    return SetupDiffTable::tr(source);
}

QString nameOf(const QString& key)
{
    for (const auto& n : kNames) {
        if (key == QLatin1String(n[0]))
            return tr(n[1]);
    }
    return key;
}

// "simple_avx" / "expert_avx_p": the gain's axis and, for the expert set, its term.
QString gainName(const QString& key)
{
    const QStringList parts = key.split(QLatin1Char('_'));
    QString axis = parts.value(1);
    for (const auto& a : kAxes) {
        if (axis == QLatin1String(a[0]))
            axis = tr(a[1]);
    }
    if (parts.value(0) == QLatin1String("simple"))
        return SetupDiffTable::tr("Simple gain: %1").arg(axis);
    return SetupDiffTable::tr("Expert gain: %1 %2").arg(axis, parts.value(2).toUpper());
}

} // namespace

SetupDiffTable::SetupDiffTable(QWidget* parent)
    : QTableWidget(parent)
{
    setColumnCount(3);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setShowGrid(false);
    setWordWrap(false);
    setAlternatingRowColors(true);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    applySkin(this);
    setHorizontalHeaderLabels({tr("Setting"), tr("Controller"), QString()});
}

void SetupDiffTable::setRows(const QVector<SetupDiff::Row>& rows, const QString& otherTitle)
{
    setHorizontalHeaderLabels({tr("Setting"), tr("Controller"), otherTitle});
    setRowCount(rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        const SetupFields::Field& f = *rows[i].field;
        setItem(i, 0, new QTableWidgetItem(fieldName(f)));
        setItem(i, 1, new QTableWidgetItem(valueText(f, rows[i].controller)));
        setItem(i, 2, new QTableWidgetItem(valueText(f, rows[i].wanted)));
        item(i, 0)->setToolTip(QString::fromLatin1(f.key));
    }
}

QString SetupDiffTable::fieldName(const SetupFields::Field& field)
{
    const QString key = QString::fromLatin1(field.key);
    if (key.startsWith(QLatin1String("simple_")) || key.startsWith(QLatin1String("expert_")))
        return gainName(key);
    if (key.startsWith(QLatin1String("reverse")))
        return tr("Channel %1 reversed").arg(key.mid(7).toInt() + 1);
    if (key.startsWith(QLatin1String("positionMode")))
        return tr("Flight mode, switch position %1").arg(key.mid(12));
    return nameOf(key);
}

QString SetupDiffTable::valueText(const SetupFields::Field& field, double value)
{
    const QString key = QString::fromLatin1(field.key);
    const int v = int(value);
    if (key == QLatin1String("paraType") && (v == 0 || v == 1))
        return v ? tr("Expert") : tr("Simple");
    if ((key == QLatin1String("linkXY") || key == QLatin1String("oneshot125")) && (v == 0 || v == 1))
        return v ? tr("On") : tr("Off");
    if (key.startsWith(QLatin1String("reverse")))
        return v ? tr("Reversed") : tr("Normal");
    if ((key == QLatin1String("escType") || key == QLatin1String("modeButton")) && v >= 0 && v <= 1)
        return v ? QStringLiteral("3D") : QStringLiteral("2D");
    if (key == QLatin1String("modeButton") && v == 2)
        return tr("Easy");
    if (key.startsWith(QLatin1String("positionMode")))
        return FCProtocol::Helper::flyModeName(v);
    if (key == QLatin1String("airframe") && v >= 0 && v < int(sizeof kAirframes / sizeof kAirframes[0]))
        return tr(kAirframes[v]);
    if (key == QLatin1String("mounting") && (v == 0 || v == 1))
        return v ? tr("Inverted") : tr("Upright");
    return SetupDiff::valueText(field, value);
}

void SetupDiffTable::applySkin(QTableWidget* table)
{
    table->setStyleSheet(QStringLiteral(
        "QTableView { background: white; alternate-background-color: rgb(245, 247, 249);"
        " border: 1px solid rgb(214, 219, 225); border-radius: 6px; color: rgb(80, 80, 80);"
        " font: 11pt; outline: 0; selection-background-color: rgb(226, 240, 251);"
        " selection-color: rgb(80, 80, 80); }"
        "QTableView::item { padding: 0px 8px; border: none; }"
        "QScrollBar:vertical { width: 8px; background: transparent; margin: 2px; }"
        "QScrollBar::handle:vertical { background: rgb(190, 197, 205); border-radius: 2px; min-height: 20px; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0px; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }"));
    // On the header itself: under a dialog's own style sheet the table's rules for the
    // sections are not applied.
    table->horizontalHeader()->setStyleSheet(QStringLiteral(
        "QHeaderView { background: transparent; border: none; }"
        "QHeaderView::section { background: rgb(240, 242, 245); color: rgb(132, 138, 145); border: none;"
        " border-bottom: 1px solid rgb(214, 219, 225); padding: 2px 8px;"
        " font: 10pt; }"));
    table->horizontalHeader()->setFixedHeight(26);
    table->verticalHeader()->setDefaultSectionSize(24);
}
