#include "engine/setupdiff.h"

#include "protocol/requests.h"
#include "protocol/task.h"

using SetupFields::Field;
using SetupFields::Section;

namespace SetupDiff {

QVector<Row> rows(const SetupRecord& controller, const SetupRecord& wanted)
{
    QVector<Row> found;
    for (const Field& f : SetupFields::all()) {
        if (!SetupFields::has(wanted, f.section) || !SetupFields::has(controller, f.section))
            continue;
        const double now = SetupFields::value(controller, f);
        const double then = SetupFields::value(wanted, f);
        if (!SetupFields::sameValue(f, now, then))
            found.push_back({&f, now, then});
    }
    return found;
}

QList<FCProtocol::Task*> writes(const SetupRecord& controller, const SetupRecord& wanted)
{
    namespace Request = FCProtocol::Request;
    QList<FCProtocol::Task*> tasks;
    if (wanted.parameters && controller.parameters && *wanted.parameters != *controller.parameters)
        tasks << Request::paraWrite(*wanted.parameters);
    if (wanted.radio && controller.radio && *wanted.radio != *controller.radio)
        tasks << Request::rcWrite(wanted.radio->writeOver(controller.radio->channelWord));
    if (wanted.airframe && controller.airframe && *wanted.airframe != *controller.airframe)
        tasks << Request::frameWrite(wanted.airframe->airframe, wanted.airframe->mounting);
    return tasks;
}

QString valueText(const Field& field, double value)
{
    if (!field.isFloat)
        return QString::number(qint64(value));
    for (int digits = 1; digits <= 9; ++digits) {
        const QString text = QString::number(value, 'g', digits);
        if (float(text.toDouble()) == float(value))
            return text;
    }
    return QString::number(value, 'g', 9);
}

} // namespace SetupDiff
