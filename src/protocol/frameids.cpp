#include "protocol/frameids.h"

namespace FCProtocol {

namespace {

constexpr FrameId kFrameIds[kTaskTypeCount] = {
    {0x00, 0x00}, // STATUS_RD
    {0x01, 0x00}, // PARA_RD
    {0x01, 0x01}, // PARA_WR
    {0x02, 0x00}, // RC_RD
    {0x02, 0x01}, // RC_WR
    {0x02, 0x02}, // RC_CALI
    {0x02, 0x03}, // TYPE_02_03
    {0x03, 0x00}, // HORIZON_CALI
    {0x03, 0x01}, // FRAME_RW
    {0x03, 0x02}, // MOTOR_TEST
    {0x03, 0x03}, // STORE
    {0x03, 0x04}, // DEFAULT_RESTORE
    {0x03, 0x05}, // TYPE_03_05
    {0x04, 0x00}, // BOOT_JUMP
    {0x04, 0x01}, // BLOCK_PROG
    {0x04, 0x02}, // VERIFY
    {0x04, 0x03}, // FW_INFO_RD
    {0x05, 0x00}, // INFO_RD
    {0x40, 0x00}, // SCOPE_NAME_RD
    {0x40, 0x01}, // SCOPE_DATA_RD
};

} // namespace

bool frameIdOf(int type, FrameId* id)
{
    if (type < 0 || type >= kTaskTypeCount)
        return false;
    *id = kFrameIds[type];
    return true;
}

int taskTypeOf(quint8 classByte, quint8 idByte)
{
    const quint8 cls = classByte & 0x7F;
    for (int type = 0; type < kTaskTypeCount; ++type) {
        if (kFrameIds[type].classByte == cls && kFrameIds[type].idByte == idByte)
            return type;
    }
    return -1;
}

} // namespace FCProtocol
