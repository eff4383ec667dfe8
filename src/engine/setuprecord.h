#pragma once

#include "protocol/dspara.h"
#include "protocol/replydecode.h"

#include <QVector>

#include <optional>

// The radio settings a pilot chooses: which of channels 0 to 5 are reversed, the flight mode
// behind each position of the flight-mode switch and the mode buttons. The channel word also
// carries the receiver's own bits (availability, type, bits nobody names); those belong to the
// controller: only kPilotBits count here, and only they are ever written back.
struct RadioSetup {
    // Bits 8 to 13: channels 0 to 5 reversed, the bits the radio page writes.
    static constexpr qint32 kPilotBits = 0x3F00;
    static constexpr int kReversible = 6;

    qint32 channelWord = 0;
    qint8 positionModes[3] = {0, 0, 0};
    qint8 modeButton = 0;

    static RadioSetup fromRead(const FCProtocol::ReplyDecode::RcRecord& read);
    // From an RC_WR record (a write's echo).
    static RadioSetup fromWrite(const FCProtocol::ReplyDecode::RcWriteRecord& write);
    bool reversed(int channel) const { return channelWord & (qint32(1) << (8 + channel)); }
    void setReversed(int channel, bool on);
    // The RC_WR record that puts this setup on a controller whose channel word is
    // `controllerWord`: the controller's bits stay as they are.
    FCProtocol::ReplyDecode::RcWriteRecord writeOver(qint32 controllerWord) const;

    // Compares what the pilot chose: the pilot's bits, the modes, the mode buttons.
    bool operator==(const RadioSetup& other) const;
    bool operator!=(const RadioSetup& other) const { return !(*this == other); }
};

// The airframe (motor layout code) and the mounting of FRAME_RW.
struct AirframeSetup {
    qint8 airframe = 0;
    qint8 mounting = 0;

    bool operator==(const AirframeSetup& other) const
    {
        return airframe == other.airframe && mounting == other.mounting;
    }
    bool operator!=(const AirframeSetup& other) const { return !(*this == other); }
};

// A pilot's whole setup of one controller: tuning parameters, radio and airframe. Each section
// may be missing (a file of an older version carries parameters only); what a record lacks is
// never written to a controller.
struct SetupRecord {
    std::optional<FCProtocol::DS_PARA> parameters;
    std::optional<RadioSetup> radio;
    std::optional<AirframeSetup> airframe;

    bool isComplete() const { return parameters && radio && airframe; }
    bool operator==(const SetupRecord& other) const;
    bool operator!=(const SetupRecord& other) const { return !(*this == other); }
};

// Every value of a setup by name, as the tuning file writes it: the sections and their fields
// in file order, the range a file value must lie in, and the value of a field in a record.
namespace SetupFields {

enum class Section { Parameters, Radio, Airframe };

struct Field {
    Section section;
    const char* key;  // the name in the file
    bool isFloat;     // a gain; the others are whole numbers
    double minimum;
    double maximum;
};

// All fields, section by section, in file order.
const QVector<Field>& all();
const Field* find(const QString& key);
// "parameters", "radio", "airframe".
const char* sectionKey(Section section);
bool has(const SetupRecord& record, Section section);

// The field's value as the file writes it (16-bit values unsigned, flags 0 or 1). The record
// must have the field's section.
double value(const SetupRecord& record, const Field& field);
// Sets a value that lies in the field's range; the section comes into being with the values
// of a fresh record.
void setValue(SetupRecord& record, const Field& field, double value);
// Equal as the controller would see them (gains bit for bit).
bool sameValue(const Field& field, double a, double b);

} // namespace SetupFields
