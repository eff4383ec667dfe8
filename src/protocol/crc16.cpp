#include "protocol/crc16.h"

#include <array>

namespace FCProtocol {

namespace {

constexpr std::array<quint16, 256> makeTable()
{
    std::array<quint16, 256> table{};
    for (int n = 0; n < 256; ++n) {
        quint16 value = quint16(n);
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? quint16((value >> 1) ^ 0xA001) : quint16(value >> 1);
        table[std::size_t(n)] = value;
    }
    return table;
}

constexpr std::array<quint16, 256> kTable = makeTable();
static_assert(kTable[1] == 0xC0C1, "CRC-16/MODBUS table entry 1");

} // namespace

quint16 crc16(const char* buffer, int offset, int count)
{
    quint16 crc = 0xFFFF;
    const auto* bytes = reinterpret_cast<const quint8*>(buffer) + offset;
    for (int i = 0; i < count; ++i)
        crc = quint16((crc >> 8) ^ kTable[(crc ^ bytes[i]) & 0xFF]);
    return crc;
}

const quint16* crc16Table()
{
    return kTable.data();
}

} // namespace FCProtocol
