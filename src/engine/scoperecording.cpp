#include "engine/scoperecording.h"

#include <QIODevice>
#include <QSaveFile>

#include <charconv>
#include <cmath>
#include <limits>

namespace {

// The shortest text that reads back to the same number, '.' as decimal point.
template <typename T>
void appendNumber(QByteArray& out, T value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, int(result.ptr - buffer));
}

QByteArray csvField(const QString& text)
{
    QByteArray field = text.toUtf8();
    if (field.contains(',') || field.contains('"') || field.contains('\n') || field.contains('\r')) {
        field.replace("\"", "\"\"");
        field = '"' + field + '"';
    }
    return field;
}

} // namespace

void ScopeRecording::start(const QStringList& channelNames)
{
    names = channelNames;
    clear();
}

void ScopeRecording::clear()
{
    times.clear();
    values.clear();
}

void ScopeRecording::append(double time, const QVector<float>& samples)
{
    times.append(time);
    for (int i = 0; i < names.size(); ++i) {
        const float v = i < samples.size() ? samples.at(i) : std::numeric_limits<float>::quiet_NaN();
        values.append(std::isfinite(v) ? v : std::numeric_limits<float>::quiet_NaN());
    }
}

void ScopeRecording::rename(int channel, const QString& name)
{
    if (channel >= 0 && channel < names.size())
        names[channel] = name;
}

bool ScopeRecording::value(int channel, int index, float* out) const
{
    if (channel < 0 || channel >= names.size() || index < 0 || index >= times.size())
        return false;
    const float v = values.at(index * names.size() + channel);
    if (std::isnan(v))
        return false;
    *out = v;
    return true;
}

QByteArray ScopeRecording::csvHeader() const
{
    QByteArray out("time");
    for (const QString& name : names)
        out += ',' + csvField(name);
    return out + '\n';
}

QByteArray ScopeRecording::csvLine(int index) const
{
    QByteArray out;
    appendNumber(out, times.at(index));
    for (int i = 0; i < names.size(); ++i) {
        out += ',';
        float v;
        if (value(i, index, &v))
            appendNumber(out, v);
    }
    return out + '\n';
}

bool ScopeRecording::writeCsv(QIODevice* device) const
{
    QByteArray out = csvHeader();
    for (int k = 0; k < times.size(); ++k) {
        out += csvLine(k);
        if (out.size() > (1 << 16)) {
            if (device->write(out) != out.size())
                return false;
            out.clear();
        }
    }
    return device->write(out) == out.size();
}

bool ScopeRecording::saveCsv(const QString& fileName) const
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || !writeCsv(&file))
        return false;
    return file.commit();
}
