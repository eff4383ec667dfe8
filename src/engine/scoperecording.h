#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

class QIODevice;

// One recording of the controller's scope channels: the channel names, the time of every
// sample (seconds since the first) and each channel's value there. A sample that is not a
// finite number is kept as missing. Written as CSV by the scope window's export and by the
// command-line recorder alike.
class ScopeRecording
{
public:
    // Starts over with these channels; every sample is dropped.
    void start(const QStringList& names);
    void clear();

    // One sample of every channel at `time` (seconds). Values beyond the channel count are
    // ignored; a channel without a value in `values` is missing there.
    void append(double time, const QVector<float>& values);

    // The name a channel is exported under (the pilot may rename a graph).
    void rename(int channel, const QString& name);

    int channelCount() const { return names.size(); }
    const QStringList& channelNames() const { return names; }
    int sampleCount() const { return times.size(); }
    const QVector<double>& timeVector() const { return times; }
    // The value of `channel` at sample `index`; false when it is missing.
    bool value(int channel, int index, float* out) const;

    // The CSV text: a "time" column in seconds and one column per channel under its name; '.'
    // decimal point, the shortest digits that read back to the same number, an empty field for
    // a missing value, one line per sample. Headers with a comma, a quote or a line break are
    // quoted.
    QByteArray csvHeader() const;
    QByteArray csvLine(int index) const;
    // All of it, in pieces: false if the device refused a write.
    bool writeCsv(QIODevice* device) const;
    // Written atomically (a failed write leaves any older file as it was); false on failure.
    bool saveCsv(const QString& fileName) const;

private:
    QStringList names;
    QVector<double> times;
    // Sample-major: values[index * channelCount + channel]; NaN where missing.
    QVector<float> values;
};
