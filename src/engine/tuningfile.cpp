#include "engine/tuningfile.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>
#include <cstring>
#include <limits>

using FCProtocol::DS_PARA;

namespace TuningFile {

namespace {

enum class Kind { Int16, Int8, Float };

struct Field {
    const char* name;
    Kind kind;
    double minimum;
    double maximum;
    qint16 DS_PARA::*i16;
    qint8 DS_PARA::*i8;
    float DS_PARA::*f32;
};

constexpr Field int16Field(const char* name, double lo, double hi, qint16 DS_PARA::*m)
{
    return {name, Kind::Int16, lo, hi, m, nullptr, nullptr};
}
constexpr Field int8Field(const char* name, double lo, double hi, qint8 DS_PARA::*m)
{
    return {name, Kind::Int8, lo, hi, nullptr, m, nullptr};
}
constexpr Field floatField(const char* name, float DS_PARA::*m)
{
    return {name, Kind::Float, 0, 10, nullptr, nullptr, m};
}

// Wire order, with the ranges of the page's spin boxes. The reserved byte has no box: any
// byte the controller sent must load back.
const Field kFields[] = {
    int16Field("avxy_max", 50, 1200, &DS_PARA::avxy_max),
    int16Field("axy_max", 0, 60, &DS_PARA::axy_max),
    int16Field("avz_max", 0, 600, &DS_PARA::avz_max),
    int16Field("escMin", 500, 2100, &DS_PARA::escMin),
    int16Field("escDeadMin", 500, 2100, &DS_PARA::escDeadMin),
    int16Field("escDeadMax", 500, 2100, &DS_PARA::escDeadMax),
    int16Field("escMax", 500, 2100, &DS_PARA::escMax),
    int8Field("paraType", 0, 1, &DS_PARA::paraType),
    int8Field("linkXY", 0, 1, &DS_PARA::linkXY),
    int16Field("simple_avx", 50, 200, &DS_PARA::simple_avx),
    int16Field("simple_avy", 50, 200, &DS_PARA::simple_avy),
    int16Field("simple_ax", 50, 200, &DS_PARA::simple_ax),
    int16Field("simple_ay", 50, 200, &DS_PARA::simple_ay),
    int16Field("simple_avz", 50, 200, &DS_PARA::simple_avz),
    floatField("expert_avx_p", &DS_PARA::expert_avx_p),
    floatField("expert_avx_i", &DS_PARA::expert_avx_i),
    floatField("expert_avx_d", &DS_PARA::expert_avx_d),
    floatField("expert_avy_p", &DS_PARA::expert_avy_p),
    floatField("expert_avy_i", &DS_PARA::expert_avy_i),
    floatField("expert_avy_d", &DS_PARA::expert_avy_d),
    floatField("expert_ax_p", &DS_PARA::expert_ax_p),
    floatField("expert_ax_i", &DS_PARA::expert_ax_i),
    floatField("expert_ax_d", &DS_PARA::expert_ax_d),
    floatField("expert_ay_p", &DS_PARA::expert_ay_p),
    floatField("expert_ay_i", &DS_PARA::expert_ay_i),
    floatField("expert_ay_d", &DS_PARA::expert_ay_d),
    floatField("expert_avz_p", &DS_PARA::expert_avz_p),
    floatField("expert_avz_i", &DS_PARA::expert_avz_i),
    floatField("expert_avz_d", &DS_PARA::expert_avz_d),
    int8Field("reserved", -128, 127, &DS_PARA::reserved),
    int8Field("oneshot125", 0, 1, &DS_PARA::oneshot125),
    int8Field("escType", 0, 1, &DS_PARA::escType),
};

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

bool sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

QStringList fieldNames()
{
    QStringList names;
    for (const Field& f : kFields)
        names << QString::fromLatin1(f.name);
    return names;
}

FieldRange rangeOf(const QString& field)
{
    for (const Field& f : kFields) {
        if (field == QLatin1String(f.name))
            return {f.minimum, f.maximum};
    }
    return {0, 0};
}

QByteArray toJson(const DS_PARA& record, const QString& board, const QDateTime& when)
{
    QJsonObject parameters;
    for (const Field& f : kFields) {
        switch (f.kind) {
        case Kind::Int16:
            // Shown unsigned on the page, and so in the file.
            parameters.insert(QLatin1String(f.name), int(quint16(record.*f.i16)));
            break;
        case Kind::Int8:
            parameters.insert(QLatin1String(f.name), int(record.*f.i8));
            break;
        case Kind::Float:
            parameters.insert(QLatin1String(f.name), shortestDecimal(record.*f.f32));
            break;
        }
    }
    QJsonObject root;
    root.insert(QStringLiteral("format"), QLatin1String(kFormatName));
    root.insert(QStringLiteral("version"), kVersion);
    root.insert(QStringLiteral("board"), board);
    root.insert(QStringLiteral("date"), when.toUTC().toString(Qt::ISODate));
    root.insert(QStringLiteral("parameters"), parameters);
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
    const QJsonValue version = root.value(QStringLiteral("version"));
    if (!version.isDouble() || version.toDouble() != kVersion)
        return failure(Problem::WrongVersion, QStringLiteral("version"),
                       version.isDouble() ? QString::number(version.toDouble()) : QStringLiteral("?"));
    const QJsonValue parametersValue = root.value(QStringLiteral("parameters"));
    if (parametersValue.isUndefined())
        return failure(Problem::Missing, QStringLiteral("parameters"));
    if (!parametersValue.isObject())
        return failure(Problem::NotANumber, QStringLiteral("parameters"));
    const QJsonObject parameters = parametersValue.toObject();

    DS_PARA record;
    for (const Field& f : kFields) {
        const QString name = QLatin1String(f.name);
        const QJsonValue v = parameters.value(name);
        if (v.isUndefined())
            return failure(Problem::Missing, name);
        if (!v.isDouble())
            return failure(Problem::NotANumber, name);
        const double d = v.toDouble();
        if (!std::isfinite(d))
            return failure(Problem::NotANumber, name);
        if (f.kind != Kind::Float && d != std::floor(d))
            return failure(Problem::NotInteger, name);
        if (d < f.minimum || d > f.maximum)
            return failure(Problem::OutOfRange, name);
        switch (f.kind) {
        case Kind::Int16:
            record.*f.i16 = qint16(quint16(d));
            break;
        case Kind::Int8:
            record.*f.i8 = qint8(d);
            break;
        case Kind::Float:
            record.*f.f32 = float(d);
            break;
        }
    }
    Result ok;
    ok.record = record;
    return ok;
}

int differingValues(const DS_PARA& a, const DS_PARA& b)
{
    int count = 0;
    for (const Field& f : kFields) {
        switch (f.kind) {
        case Kind::Int16:
            count += a.*f.i16 != b.*f.i16 ? 1 : 0;
            break;
        case Kind::Int8:
            count += a.*f.i8 != b.*f.i8 ? 1 : 0;
            break;
        case Kind::Float:
            count += sameBits(a.*f.f32, b.*f.f32) ? 0 : 1;
            break;
        }
    }
    return count;
}

} // namespace TuningFile
