#pragma once

#include <QByteArray>
#include <QDataStream>
#include <QtGlobal>

namespace FCProtocol {

// The tuning-parameter record of PARA_RD and PARA_WR: 89 bytes, little-endian, no padding.
// The 16-bit fields travel as signed integers and are shown as unsigned; the gains are
// single-precision floats; the byte fields are signed.
struct DS_PARA {
    static constexpr int kSize = 89;

    qint16 avxy_max = 250;
    qint16 axy_max = 40;
    qint16 avz_max = 200;
    qint16 escMin = 1100;
    qint16 escDeadMin = 1480;
    qint16 escDeadMax = 1520;
    qint16 escMax = 1900;
    qint8 paraType = 0;
    qint8 linkXY = 0;
    qint16 simple_avx = 100;
    qint16 simple_avy = 100;
    qint16 simple_ax = 100;
    qint16 simple_ay = 100;
    qint16 simple_avz = 100;
    float expert_avx_p = 0;
    float expert_avx_i = 0;
    float expert_avx_d = 0;
    float expert_avy_p = 0;
    float expert_avy_i = 0;
    float expert_avy_d = 0;
    float expert_ax_p = 0;
    float expert_ax_i = 0;
    float expert_ax_d = 0;
    float expert_ay_p = 0;
    float expert_ay_i = 0;
    float expert_ay_d = 0;
    float expert_avz_p = 0;
    float expert_avz_i = 0;
    float expert_avz_d = 0;
    qint8 reserved = 0;
    qint8 oneshot125 = 0;
    qint8 escType = 0;

    // Appends the record in wire order. The stream must be little-endian with
    // single-precision floats (every task stream is).
    void write(QDataStream& out) const;

    // The 89 wire bytes.
    QByteArray encode() const;

    // Decodes the first 89 bytes of `bytes`; false (and *record untouched) if there are fewer.
    // Bytes beyond the record (frame padding) are ignored.
    static bool decode(const QByteArray& bytes, DS_PARA* record);

    bool operator==(const DS_PARA& other) const;
    bool operator!=(const DS_PARA& other) const { return !(*this == other); }
};

} // namespace FCProtocol
