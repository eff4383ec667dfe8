#include "engine/setuprecord.h"

#include <cstring>

using FCProtocol::DS_PARA;

namespace {

// RC_RD and RC_WR name the pilot's fields alike.
template <typename Record>
RadioSetup radioOf(const Record& record)
{
    RadioSetup radio;
    radio.channelWord = record.channelWord;
    for (int p = 0; p < 3; ++p)
        radio.positionModes[p] = record.positionModes[p];
    radio.modeButton = record.modeButton;
    return radio;
}

} // namespace

RadioSetup RadioSetup::fromRead(const FCProtocol::ReplyDecode::RcRecord& read)
{
    return radioOf(read);
}

RadioSetup RadioSetup::fromWrite(const FCProtocol::ReplyDecode::RcWriteRecord& write)
{
    return radioOf(write);
}

void RadioSetup::setReversed(int channel, bool on)
{
    const qint32 bit = qint32(1) << (8 + channel);
    channelWord = on ? (channelWord | bit) : (channelWord & ~bit);
}

FCProtocol::ReplyDecode::RcWriteRecord RadioSetup::writeOver(qint32 controllerWord) const
{
    FCProtocol::ReplyDecode::RcWriteRecord write;
    write.channelWord = (controllerWord & ~kPilotBits) | (channelWord & kPilotBits);
    for (int p = 0; p < 3; ++p)
        write.positionModes[p] = positionModes[p];
    write.modeButton = modeButton;
    return write;
}

bool RadioSetup::operator==(const RadioSetup& other) const
{
    return (channelWord & kPilotBits) == (other.channelWord & kPilotBits)
        && std::memcmp(positionModes, other.positionModes, sizeof positionModes) == 0
        && modeButton == other.modeButton;
}

bool SetupRecord::operator==(const SetupRecord& other) const
{
    return parameters == other.parameters && radio == other.radio && airframe == other.airframe;
}

namespace SetupFields {

namespace {

using Section = SetupFields::Section;

// The parameter fields in wire order, each with its record member; the ranges are those of
// the page's spin boxes. The reserved byte has no box: any byte the controller sent must
// load back.
struct ParaMember {
    qint16 DS_PARA::*i16;
    qint8 DS_PARA::*i8;
    float DS_PARA::*f32;
};

constexpr ParaMember i16(qint16 DS_PARA::*m) { return {m, nullptr, nullptr}; }
constexpr ParaMember i8(qint8 DS_PARA::*m) { return {nullptr, m, nullptr}; }
constexpr ParaMember f32(float DS_PARA::*m) { return {nullptr, nullptr, m}; }

const ParaMember kParaMembers[] = {
    i16(&DS_PARA::avxy_max), i16(&DS_PARA::axy_max), i16(&DS_PARA::avz_max),
    i16(&DS_PARA::escMin), i16(&DS_PARA::escDeadMin), i16(&DS_PARA::escDeadMax),
    i16(&DS_PARA::escMax), i8(&DS_PARA::paraType), i8(&DS_PARA::linkXY),
    i16(&DS_PARA::simple_avx), i16(&DS_PARA::simple_avy), i16(&DS_PARA::simple_ax),
    i16(&DS_PARA::simple_ay), i16(&DS_PARA::simple_avz),
    f32(&DS_PARA::expert_avx_p), f32(&DS_PARA::expert_avx_i), f32(&DS_PARA::expert_avx_d),
    f32(&DS_PARA::expert_avy_p), f32(&DS_PARA::expert_avy_i), f32(&DS_PARA::expert_avy_d),
    f32(&DS_PARA::expert_ax_p), f32(&DS_PARA::expert_ax_i), f32(&DS_PARA::expert_ax_d),
    f32(&DS_PARA::expert_ay_p), f32(&DS_PARA::expert_ay_i), f32(&DS_PARA::expert_ay_d),
    f32(&DS_PARA::expert_avz_p), f32(&DS_PARA::expert_avz_i), f32(&DS_PARA::expert_avz_d),
    i8(&DS_PARA::reserved), i8(&DS_PARA::oneshot125), i8(&DS_PARA::escType),
};

QVector<Field> makeFields()
{
    const auto para = [](const char* key, double lo, double hi) {
        return Field{Section::Parameters, key, false, lo, hi};
    };
    const auto gain = [](const char* key) { return Field{Section::Parameters, key, true, 0, 10}; };
    QVector<Field> f{
        para("avxy_max", 50, 1200), para("axy_max", 0, 60), para("avz_max", 0, 600),
        para("escMin", 500, 2100), para("escDeadMin", 500, 2100), para("escDeadMax", 500, 2100),
        para("escMax", 500, 2100), para("paraType", 0, 1), para("linkXY", 0, 1),
        para("simple_avx", 50, 200), para("simple_avy", 50, 200), para("simple_ax", 50, 200),
        para("simple_ay", 50, 200), para("simple_avz", 50, 200),
        gain("expert_avx_p"), gain("expert_avx_i"), gain("expert_avx_d"),
        gain("expert_avy_p"), gain("expert_avy_i"), gain("expert_avy_d"),
        gain("expert_ax_p"), gain("expert_ax_i"), gain("expert_ax_d"),
        gain("expert_ay_p"), gain("expert_ay_i"), gain("expert_ay_d"),
        gain("expert_avz_p"), gain("expert_avz_i"), gain("expert_avz_d"),
        para("reserved", -128, 127), para("oneshot125", 0, 1), para("escType", 0, 1),
    };
    // The radio page's choices: reversal of channels 0 to 5, the flight modes that have a
    // name (FAIL-SAFE included), and the 2D, 3D and easy mode buttons.
    for (const char* key : {"reverse0", "reverse1", "reverse2", "reverse3", "reverse4", "reverse5"})
        f.push_back({Section::Radio, key, false, 0, 1});
    for (const char* key : {"positionMode1", "positionMode2", "positionMode3"})
        f.push_back({Section::Radio, key, false, 0, 6});
    f.push_back({Section::Radio, "modeButton", false, 0, 2});
    // The ten airframe pictures; normal or inverted mounting.
    f.push_back({Section::Airframe, "airframe", false, 0, 9});
    f.push_back({Section::Airframe, "mounting", false, 0, 1});
    return f;
}

// The index of a field within its section.
int indexIn(const Field& field)
{
    int index = 0;
    for (const Field& f : all()) {
        if (&f == &field)
            return index;
        if (f.section == field.section)
            ++index;
    }
    return -1;
}

} // namespace

const QVector<Field>& all()
{
    static const QVector<Field> fields = makeFields();
    return fields;
}

const Field* find(const QString& key)
{
    for (const Field& f : all()) {
        if (key == QLatin1String(f.key))
            return &f;
    }
    return nullptr;
}

const char* sectionKey(Section section)
{
    switch (section) {
    case Section::Parameters: return "parameters";
    case Section::Radio: return "radio";
    case Section::Airframe: return "airframe";
    }
    return "";
}

bool has(const SetupRecord& record, Section section)
{
    switch (section) {
    case Section::Parameters: return record.parameters.has_value();
    case Section::Radio: return record.radio.has_value();
    case Section::Airframe: return record.airframe.has_value();
    }
    return false;
}

double value(const SetupRecord& record, const Field& field)
{
    const int i = indexIn(field);
    switch (field.section) {
    case Section::Parameters: {
        const ParaMember& m = kParaMembers[i];
        if (m.i16)
            return double(quint16((*record.parameters).*m.i16)); // shown unsigned
        if (m.i8)
            return double((*record.parameters).*m.i8);
        return double((*record.parameters).*m.f32);
    }
    case Section::Radio: {
        const RadioSetup& r = *record.radio;
        if (i < RadioSetup::kReversible)
            return r.reversed(i) ? 1 : 0;
        if (i < RadioSetup::kReversible + 3)
            return double(r.positionModes[i - RadioSetup::kReversible]);
        return double(r.modeButton);
    }
    case Section::Airframe:
        return double(i == 0 ? record.airframe->airframe : record.airframe->mounting);
    }
    return 0;
}

void setValue(SetupRecord& record, const Field& field, double value)
{
    const int i = indexIn(field);
    switch (field.section) {
    case Section::Parameters: {
        if (!record.parameters)
            record.parameters = DS_PARA();
        const ParaMember& m = kParaMembers[i];
        if (m.i16)
            (*record.parameters).*m.i16 = qint16(quint16(value));
        else if (m.i8)
            (*record.parameters).*m.i8 = qint8(value);
        else
            (*record.parameters).*m.f32 = float(value);
        break;
    }
    case Section::Radio: {
        if (!record.radio)
            record.radio = RadioSetup();
        RadioSetup& r = *record.radio;
        if (i < RadioSetup::kReversible)
            r.setReversed(i, value != 0);
        else if (i < RadioSetup::kReversible + 3)
            r.positionModes[i - RadioSetup::kReversible] = qint8(value);
        else
            r.modeButton = qint8(value);
        break;
    }
    case Section::Airframe:
        if (!record.airframe)
            record.airframe = AirframeSetup();
        (i == 0 ? record.airframe->airframe : record.airframe->mounting) = qint8(value);
        break;
    }
}

bool sameValue(const Field& field, double a, double b)
{
    if (!field.isFloat)
        return a == b;
    // Bit for bit, so that two identical NaN gains count as equal.
    const float fa = float(a);
    const float fb = float(b);
    return std::memcmp(&fa, &fb, sizeof fa) == 0;
}

} // namespace SetupFields
