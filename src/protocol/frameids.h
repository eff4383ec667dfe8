#pragma once

#include <QtGlobal>

namespace FCProtocol {

// The 20 task types; the value is the index into the frame-id table.
enum TaskType {
    STATUS_RD = 0,
    PARA_RD = 1,
    PARA_WR = 2,
    RC_RD = 3,
    RC_WR = 4,
    RC_CALI = 5,
    TYPE_02_03 = 6,
    HORIZON_CALI = 7,
    FRAME_RW = 8,
    MOTOR_TEST = 9,
    STORE = 10,
    DEFAULT_RESTORE = 11,
    TYPE_03_05 = 12,
    BOOT_JUMP = 13,
    BLOCK_PROG = 14,
    VERIFY = 15,
    FW_INFO_RD = 16,
    INFO_RD = 17,
    SCOPE_NAME_RD = 18,
    SCOPE_DATA_RD = 19,
};

constexpr int kTaskTypeCount = 20;

// Command marker bytes: 0xAB starts or performs a command, 0xBA finishes or leaves it.
constexpr quint8 kCommandStart = 0xAB;
constexpr quint8 kCommandFinish = 0xBA;

struct FrameId {
    quint8 classByte;
    quint8 idByte;
};

// The two id bytes of a task type; false for a type outside 0..19.
bool frameIdOf(int type, FrameId* id);

// The task type of a frame id (bit 7 of the class byte ignored, as in replies); -1 if none.
int taskTypeOf(quint8 classByte, quint8 idByte);

} // namespace FCProtocol
