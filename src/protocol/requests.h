#pragma once

#include "protocol/dspara.h"
#include "protocol/replydecode.h"

#include <QByteArray>
#include <QtGlobal>

namespace FCProtocol {

class Task;

// One builder per request that the pages, the shell and the engine send: a new task with the
// frame id, the payload in wire order (little-endian) and the queue priority of its kind
// (writes and commands urgent, periodic reads not). The caller owns the task until it hands it
// on. The bytes are exactly those on the wire; the transport adds padding and CRC.
namespace Request {

// Periodic reads, without payload.
Task* statusRead();      // STATUS_RD
Task* paraRead();        // PARA_RD
Task* rcRead();          // RC_RD
Task* infoRead();        // INFO_RD
Task* firmwareInfoRead(); // FW_INFO_RD
Task* scopeNamesRead();  // SCOPE_NAME_RD
Task* scopeDataRead();   // SCOPE_DATA_RD

// FRAME_RW: read (00), write (01, airframe, mounting).
Task* frameRead();
Task* frameWrite(qint8 airframe, qint8 mounting);

// Writes: the whole record.
Task* paraWrite(const DS_PARA& record);               // PARA_WR, 89 bytes
Task* rcWrite(const ReplyDecode::RcWriteRecord& rc);  // RC_WR: int32 word, 3 modes, button

// One-byte commands: 0xAB starts or performs, 0xBA finishes.
Task* rcCalibration(quint8 marker); // RC_CALI
Task* horizonCalibration();         // HORIZON_CALI 0xAB
Task* motorTest();                  // MOTOR_TEST 0xAB
Task* store();                      // STORE 0xAB
Task* defaultRestore();             // DEFAULT_RESTORE 0xAB

// The bootloader: BOOT_JUMP with an int32 marker (0xAB into the bootloader, 0xBA back into the
// flight firmware), BLOCK_PROG with the int32 byte offset and the block, VERIFY.
Task* bootJump(quint8 marker);
Task* blockProgram(qint32 offset, const QByteArray& block);
Task* verify();

// What a sent request carried, read back from its frame.
// The byte offset of a BLOCK_PROG request; -1 if the request is too short to hold one.
qint32 blockOffsetOf(const Task* task);
// A FRAME_RW request that writes (first payload byte 1) rather than reads.
bool isFrameWrite(const Task* task);

} // namespace Request
} // namespace FCProtocol
