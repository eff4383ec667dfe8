#include "protocol/dspara.h"

#include <QIODevice>

namespace FCProtocol {

namespace {

// Visits every field in wire order, so that encoding, decoding and comparing cannot disagree
// about the layout.
template <typename Record, typename Visit>
void eachField(Record& r, Visit&& visit)
{
    visit(r.avxy_max);
    visit(r.axy_max);
    visit(r.avz_max);
    visit(r.escMin);
    visit(r.escDeadMin);
    visit(r.escDeadMax);
    visit(r.escMax);
    visit(r.paraType);
    visit(r.linkXY);
    visit(r.simple_avx);
    visit(r.simple_avy);
    visit(r.simple_ax);
    visit(r.simple_ay);
    visit(r.simple_avz);
    visit(r.expert_avx_p);
    visit(r.expert_avx_i);
    visit(r.expert_avx_d);
    visit(r.expert_avy_p);
    visit(r.expert_avy_i);
    visit(r.expert_avy_d);
    visit(r.expert_ax_p);
    visit(r.expert_ax_i);
    visit(r.expert_ax_d);
    visit(r.expert_ay_p);
    visit(r.expert_ay_i);
    visit(r.expert_ay_d);
    visit(r.expert_avz_p);
    visit(r.expert_avz_i);
    visit(r.expert_avz_d);
    visit(r.reserved);
    visit(r.oneshot125);
    visit(r.escType);
}

void prepare(QDataStream& stream)
{
    stream.setByteOrder(QDataStream::LittleEndian);
    stream.setFloatingPointPrecision(QDataStream::SinglePrecision);
}

} // namespace

void DS_PARA::write(QDataStream& out) const
{
    eachField(*this, [&out](const auto& field) { out << field; });
}

QByteArray DS_PARA::encode() const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    prepare(out);
    write(out);
    return bytes;
}

bool DS_PARA::decode(const QByteArray& bytes, DS_PARA* record)
{
    if (!record || bytes.size() < kSize)
        return false;
    QDataStream in(bytes.left(kSize));
    prepare(in);
    DS_PARA read;
    eachField(read, [&in](auto& field) { in >> field; });
    if (in.status() != QDataStream::Ok)
        return false;
    *record = read;
    return true;
}

bool DS_PARA::operator==(const DS_PARA& other) const
{
    // Byte for byte, so that two NaN gains with the same bits count as equal.
    return encode() == other.encode();
}

} // namespace FCProtocol
