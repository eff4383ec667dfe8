// The telemetry decode (INFO_RD) and the texts the status strip shows for it.

#include "fuzzcommon.h"

#include "protocol/helper.h"
#include "protocol/replydecode.h"

FUZZ_QUIET_INIT

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray payload = fuzzBytes(data, size);
    FCProtocol::DS_INFO_RD record;
    const bool ok = FCProtocol::ReplyDecode::decodeInfo(payload, &record);
    FUZZ_CHECK(ok == (payload.size() >= 18));
    if (!ok)
        return 0;
    FUZZ_CHECK(record.mode == qint8(payload[0]) && record.errorCode == quint8(payload[1]));
    const QString board = FCProtocol::Helper::boardName(record.boardWord);
    FUZZ_CHECK(!board.isEmpty());
    const int id = FCProtocol::Helper::boardId(record.boardWord);
    FUZZ_CHECK(id >= 0 && id <= 0xFF);
    if (FCProtocol::Helper::isEmuBoard(record.boardWord))
        FUZZ_CHECK(FCProtocol::Helper::isSupportedBoard(record.boardWord));
    return 0;
}
