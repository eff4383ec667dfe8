#pragma once

#include <QByteArray>
#include <QStringList>
#include <QVector>

// Decoding of the controller's scope replies, kept apart from the plot so that any byte
// sequence can be fed to it. Both functions read only inside the bytes they are given.
namespace ScopeReply {

// The controller publishes at most this many channels.
constexpr int kMaxChannels = 32;

// The channel names of a SCOPE_NAME_RD reply payload (the bytes behind the echoed frame id):
// zero-terminated names up to the first empty one and at most kMaxChannels of them. A last
// name without terminator ends with the payload. Bytes are taken one character each
// (Latin-1), so a byte outside ASCII is shown as some character rather than refused.
QStringList decodeNames(const QByteArray& payload);

// The samples of a SCOPE_DATA_RD reply payload: one little-endian float32 per channel, in
// channel order. False, leaving `samples` empty, when the payload holds fewer than four bytes
// per channel; bytes beyond the last channel (frame padding) are ignored.
bool decodeSamples(const QByteArray& payload, int channels, QVector<float>* samples);

} // namespace ScopeReply
