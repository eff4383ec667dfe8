#include "protocol/helper.h"

#include <QCoreApplication>

namespace FCProtocol {

namespace {

QString translate(const char* source)
{
    return QCoreApplication::translate("FCProtocol::Helper", source);
}

} // namespace

QString Helper::flyModeName(int mode)
{
    switch (mode & 0xFF) {
    case 0: return translate("2D-RATE");
    case 1: return translate("2D-RATTI");
    case 2: return translate("2D-ATTI");
    case 3: return translate("3D-RATE");
    case 4: return translate("3D-RATTI");
    case 5: return translate("2D-HFATTI");
    case 6: return translate("FAIL-SAFE");
    default: return translate("Unknown");
    }
}

QString Helper::flyModeTip(int mode)
{
    switch (mode & 0xFF) {
    case 0: return translate("2D Rate Mode");
    case 1: return translate("2D Rattitude Mode");
    case 2: return translate("2D Attitude Mode");
    case 3: return translate("3D Rate Mode");
    case 4: return translate("3D Rattitude Mode");
    case 5: return translate("2D Headfree Attitude Mode");
    case 6: return translate("FAIL-SAFE");
    default: return translate("Unknown tip");
    }
}

QString Helper::lockStateName(int state)
{
    switch (state & 0xFF) {
    case 0: return translate("DISARM");
    case 1: return translate("ARM");
    case 2: return translate("RUN");
    case 3: return translate("MotorCheck");
    default: return translate("Unknown");
    }
}

QString Helper::rcTypeName(int type)
{
    switch (type & 0xFF) {
    case 0: return translate("PWM");
    case 1: return translate("SBUS");
    case 2: return translate("PPM");
    case 3: return translate("DSM");
    default: return translate("Unknown");
    }
}

namespace {

// The model names of the board table; nullptr for an id outside it.
const char* modelSource(int boardId)
{
    switch (boardId) {
    case 0x00: return "BOOTLOADER";
    case 0x10: return "Zelkor";
    case 0x11: return "Vintar";
    case 0x20: return "Pasquel";
    case 0x21: return "Ombrin";
    case 0x22: return "Dusket";
    case 0x28: return "Brisel";
    case 0x30: return "Trelvo";
    case 0x31: return "Marquen";
    case 0x32: return "Solvane";
    default: return nullptr;
    }
}

} // namespace

QString Helper::boardName(qint32 boardWord)
{
    const char* model = modelSource(boardId(boardWord));
    if (!model)
        return translate("Unknown board");
    const quint32 version = quint32(boardWord) & 0xFFFF;
    return translate(model) + QLatin1Char('_') + QStringLiteral("%1").arg(version, 4, 16, QLatin1Char('0'));
}

QString Helper::modelName(qint32 boardWord)
{
    return QString::fromLatin1(modelSource(boardId(boardWord)));
}

int Helper::boardId(qint32 boardWord)
{
    return int((quint32(boardWord) >> 16) & 0xFF);
}

bool Helper::isSupportedBoard(qint32 boardWord)
{
    const int id = boardId(boardWord);
    return id == 0x28 || id == 0x30 || id == 0x40;
}

bool Helper::isEmuBoard(qint32 boardWord)
{
    return boardId(boardWord) == 0x40;
}

bool Helper::isRcBoard(qint32 boardWord)
{
    return (boardId(boardWord) & ~0x20) == 0x10;
}

} // namespace FCProtocol
