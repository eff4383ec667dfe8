#pragma once

#include <QtGlobal>

namespace FCProtocol {

// CRC-16/MODBUS: reflected polynomial 0x8005 (constant 0xA001), initial value 0xFFFF,
// no final XOR, computed byte-wise from a 256-entry table. Check value over "123456789"
// is 0x4B37. A count of 0 returns the initial value 0xFFFF.
quint16 crc16(const char* buffer, int offset, int count);

// The 256 table entries; entry 1 is 0xC0C1.
const quint16* crc16Table();

} // namespace FCProtocol
