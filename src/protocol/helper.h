#pragma once

#include <QObject>
#include <QString>

namespace FCProtocol {

// The protocol's text vocabularies and board-id tests. Never instantiated; its class name
// is the translation context "FCProtocol::Helper" of the texts.
class Helper : public QObject
{
    Q_OBJECT

public:
    Helper() = delete;

    // Texts for a flight mode, lock state and receiver type; only the low 8 bits count.
    static QString flyModeName(int mode);
    static QString flyModeTip(int mode);
    static QString lockStateName(int state);
    static QString rcTypeName(int type);

    // "Trelvo_0105" for board id 0x30 with version 0x0105; "Unknown board" for an id
    // outside the table.
    static QString boardName(qint32 boardWord);
    // The model name of the board table untranslated and without version ("Trelvo"); empty
    // for an id outside the table.
    static QString modelName(qint32 boardWord);

    // Bits 16..23 of a board identity word.
    static int boardId(qint32 boardWord);
    // A controller that counts as connected: board id 0x28, 0x30 or 0x40.
    static bool isSupportedBoard(qint32 boardWord);
    // Board id 0x40, whose pages are trimmed once on the first reply.
    static bool isEmuBoard(qint32 boardWord);
    // Board id 0x10 or 0x30: the headfree attitude mode can be chosen.
    static bool isRcBoard(qint32 boardWord);
};

} // namespace FCProtocol
