#include "engine/tuningfile.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>

using FCProtocol::DS_PARA;
using SetupFields::Field;
using SetupFields::Section;

namespace TuningFile {

namespace {

constexpr Section kSections[] = {Section::Parameters, Section::Radio, Section::Airframe};

// The shortest decimal that reads back as the same float, so that the file says 0.12 rather
// than 0.11999999731779099 and still restores the exact bits.
double shortestDecimal(float value)
{
    if (!std::isfinite(value))
        return double(value);
    for (int digits = 1; digits <= 9; ++digits) {
        const double candidate = QString::number(double(value), 'g', digits).toDouble();
        if (float(candidate) == value)
            return candidate;
    }
    return double(value);
}

Result failure(Problem problem, const QString& field = QString(), const QString& detail = QString())
{
    Result r;
    r.problem = problem;
    r.field = field;
    r.detail = detail;
    return r;
}

QJsonObject sectionObject(const SetupRecord& setup, Section section)
{
    QJsonObject object;
    for (const Field& f : SetupFields::all()) {
        if (f.section != section)
            continue;
        const double v = SetupFields::value(setup, f);
        object.insert(QLatin1String(f.key), f.isFloat ? shortestDecimal(float(v)) : v);
    }
    return object;
}

// Checks one section's object and takes its values into `setup`; a failure names the field.
Result readSection(const QJsonObject& object, Section section, SetupRecord* setup)
{
    for (const Field& f : SetupFields::all()) {
        if (f.section != section)
            continue;
        const QString name = QLatin1String(f.key);
        const QJsonValue v = object.value(name);
        if (v.isUndefined())
            return failure(Problem::Missing, name);
        if (!v.isDouble())
            return failure(Problem::NotANumber, name);
        const double d = v.toDouble();
        if (!std::isfinite(d))
            return failure(Problem::NotANumber, name);
        if (!f.isFloat && d != std::floor(d))
            return failure(Problem::NotInteger, name);
        if (d < f.minimum || d > f.maximum)
            return failure(Problem::OutOfRange, name);
        SetupFields::setValue(*setup, f, d);
    }
    return Result();
}

} // namespace

QStringList fieldNames()
{
    QStringList names;
    for (const Field& f : SetupFields::all())
        names << QString::fromLatin1(f.key);
    return names;
}

FieldRange rangeOf(const QString& field)
{
    if (const Field* f = SetupFields::find(field))
        return {f->minimum, f->maximum};
    return {0, 0};
}

QByteArray toJson(const SetupRecord& setup, const Header& header)
{
    QJsonObject root;
    root.insert(QStringLiteral("format"), QLatin1String(kFormatName));
    root.insert(QStringLiteral("version"), kVersion);
    root.insert(QStringLiteral("board"), header.board);
    root.insert(QStringLiteral("date"), header.date.toUTC().toString(Qt::ISODate));
    if (!header.reason.isEmpty())
        root.insert(QStringLiteral("reason"), header.reason);
    for (Section s : kSections) {
        if (SetupFields::has(setup, s))
            root.insert(QLatin1String(SetupFields::sectionKey(s)), sectionObject(setup, s));
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QByteArray toJson(const DS_PARA& record, const QString& board, const QDateTime& when)
{
    SetupRecord setup;
    setup.parameters = record;
    QJsonObject root;
    root.insert(QStringLiteral("format"), QLatin1String(kFormatName));
    root.insert(QStringLiteral("version"), kFirstVersion);
    root.insert(QStringLiteral("board"), board);
    root.insert(QStringLiteral("date"), when.toUTC().toString(Qt::ISODate));
    root.insert(QStringLiteral("parameters"), sectionObject(setup, Section::Parameters));
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

Result parse(const QByteArray& bytes)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return failure(Problem::NotJson, QString(),
                       QStringLiteral("%1 (byte %2)").arg(error.errorString()).arg(error.offset));
    if (!doc.isObject())
        return failure(Problem::WrongFormat, QStringLiteral("format"));
    const QJsonObject root = doc.object();
    if (root.value(QStringLiteral("format")).toString() != QLatin1String(kFormatName))
        return failure(Problem::WrongFormat, QStringLiteral("format"));
    const QJsonValue versionValue = root.value(QStringLiteral("version"));
    const double version = versionValue.toDouble(-1);
    if (!versionValue.isDouble() || (version != kFirstVersion && version != kVersion))
        return failure(Problem::WrongVersion, QStringLiteral("version"),
                       versionValue.isDouble() ? QString::number(version) : QStringLiteral("?"));

    Result result;
    result.version = int(version);
    // A version-1 file knows nothing of the other sections, whatever else it holds.
    for (Section s : kSections) {
        if (result.version == kFirstVersion && s != Section::Parameters)
            break;
        const QString key = QLatin1String(SetupFields::sectionKey(s));
        const QJsonValue section = root.value(key);
        if (section.isUndefined()) {
            if (s == Section::Parameters)
                return failure(Problem::Missing, key);
            continue;
        }
        if (!section.isObject())
            return failure(Problem::NotASection, key);
        const Result checked = readSection(section.toObject(), s, &result.setup);
        if (!checked.ok())
            return checked;
    }
    result.record = *result.setup.parameters;
    result.header.board = root.value(QStringLiteral("board")).toString();
    result.header.date = QDateTime::fromString(root.value(QStringLiteral("date")).toString(), Qt::ISODate);
    result.header.reason = root.value(QStringLiteral("reason")).toString();
    return result;
}

int differingValues(const DS_PARA& a, const DS_PARA& b)
{
    SetupRecord left;
    left.parameters = a;
    SetupRecord right;
    right.parameters = b;
    int count = 0;
    for (const Field& f : SetupFields::all()) {
        if (f.section == Section::Parameters
            && !SetupFields::sameValue(f, SetupFields::value(left, f), SetupFields::value(right, f)))
            ++count;
    }
    return count;
}

} // namespace TuningFile
