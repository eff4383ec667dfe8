#include "engine/scopereply.h"

#include <QtEndian>

#include <cstring>

namespace ScopeReply {

QStringList decodeNames(const QByteArray& payload)
{
    QStringList names;
    int pos = 0;
    while (names.size() < kMaxChannels && pos < payload.size()) {
        int end = payload.indexOf('\0', pos);
        if (end < 0)
            end = payload.size();
        if (end == pos)
            break;
        names.append(QString::fromLatin1(payload.constData() + pos, end - pos));
        pos = end + 1;
    }
    return names;
}

bool decodeSamples(const QByteArray& payload, int channels, QVector<float>* samples)
{
    samples->clear();
    if (channels < 0 || qint64(payload.size()) < qint64(channels) * 4)
        return false;
    samples->reserve(channels);
    const auto* bytes = reinterpret_cast<const uchar*>(payload.constData());
    for (int i = 0; i < channels; ++i) {
        const quint32 bits = qFromLittleEndian<quint32>(bytes + 4 * i);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        samples->append(value);
    }
    return true;
}

} // namespace ScopeReply
