#include "points/cp/byte_points.h"

#include <array>

#include "runtime/convert.h"

namespace points {

namespace {

constexpr PointClass ByteClass(std::string_view name, BindingFailure bindingFailure, ReadSteps readSteps,
                               WriteSteps writeSteps) {
  return {.name = name,
          .gated = true,
          .writeForcePrefix = "",
          .writeErrors = WriteErrorLine::Plain,
          .readErrors = ReadErrorLine::NameFirst,
          .bindingFailure = bindingFailure,
          .readSteps = readSteps,
          .writeSteps = writeSteps};
}

constexpr PointClass UcptByteClass =
    ByteClass("UCPT_Byte", BindingFailure::LogDashedNamed, {10, 20, 40, 40}, {10, 20, 40});
constexpr PointClass BooleanClass =
    ByteClass("UCPT_Boolean", BindingFailure::LogDashed, {10, 20, 40, 40}, {10, 24, 40});
constexpr PointClass HvacTypeClass = ByteClass("SCPThvacType", BindingFailure::MessageBox, {0, 0, 0, 0}, {10, 20, 40});

constexpr std::string_view ByteTypeFormat = "UCPT_Byte";
constexpr int ByteDecodeStep = 30;

// A boolean's texts, the step that sends each, and the text a value outside them sends.
struct BooleanText {
  uint8_t value;
  std::string_view text;
  int sendStep;
};
constexpr std::array<BooleanText, 3> BooleanTexts{{{0, "BOOL_FALSE", 20}, {1, "BOOL_TRUE", 22}, {255, "BOOL_NUL", 24}}};
constexpr BooleanText OtherBoolean{0, "BOOL_FALSE", 24};

struct HvacType {
  std::string_view text;
  uint8_t code;
};
constexpr std::array<HvacType, 10> HvacTypes{{{"HVT_GENERIC", 0},
                                              {"HVT_FAN_COIL", 1},
                                              {"HVT_VAV", 2},
                                              {"HVT_HEAT_PUMP", 3},
                                              {"HVT_ROOFTOP", 4},
                                              {"HVT_UNIT_VENT", 5},
                                              {"HVT_CHILL_CEIL", 6},
                                              {"HVT_RADIATOR", 7},
                                              {"HVT_AHU", 8},
                                              {"HVT_SELF_CONT", 9}}};
constexpr uint8_t UnknownHvacType = 255;
constexpr HvacType SentForUnknown = HvacTypes[3];

const HvacType* FindHvacType(std::string_view text) {
  for (const HvacType& type : HvacTypes) {
    if (type.text == text) return &type;
  }
  return nullptr;
}

rt::Variant DecimalText(uint8_t value) { return rt::Variant::String(rt::NumberText(value)); }

}  // namespace

// --- the skeleton -----------------------------------------------------------------------------

void BytePropertyPoint::Send(rt::Steps& steps) {
  const WriteSteps& lines = Class().writeSteps;
  std::string formatName = ReadFormat(steps, lines.format);
  if (WritesFormatted(formatName)) {
    SendFormatted(steps);
  } else if (IsRawFormat(formatName)) {
    PutValue(steps, lines.send, [&] { return RawValue(); });
  } else if (ForceQuietlyOnWrite(steps)) {
    PutValue(steps, lines.force, [&] { return RawValue(); });
  }
}

void BytePropertyPoint::Receive(rt::Steps& steps) {
  const ReadSteps& lines = Class().readSteps;
  std::string formatName = ReadFormat(steps, lines.format);
  ReadValue(steps, lines.value);
  if (formatName == m_CpName) {
    DecodeFormatted(steps);
  } else if (IsRawFormat(formatName) || ForceOnRead(steps)) {
    steps(lines.decode, [&] { DecodeRaw(); });
  }
}

// --- UCPT_Byte --------------------------------------------------------------------------------

UCPT_Byte::UCPT_Byte() : TypedValue(UcptByteClass, IndexField::Number) {}

void UCPT_Byte::AfterBinding() {
  if (!m_CP.IsNothing()) ReadCP();
}

bool UCPT_Byte::WritesFormatted(std::string_view formatName) const {
  return formatName == ByteTypeFormat || formatName == m_CpName;
}

void UCPT_Byte::SendFormatted(rt::Steps& steps) {
  PutValue(steps, Class().writeSteps.send, [&] { return rt::Variant::Byte(m_Value); });
}

void UCPT_Byte::DecodeFormatted(rt::Steps& steps) {
  steps(ByteDecodeStep, [&] { m_Value = vIN.ToByte(); });
}

rt::Variant UCPT_Byte::RawValue() const { return DecimalText(m_Value); }

void UCPT_Byte::DecodeRaw() { m_Value = vIN.ToByte(); }

rt::Variant UCPT_Byte::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  static const rt::Members<UCPT_Byte> members(SlotOrder<UCPT_Byte>({}, ValueMembers<UCPT_Byte>()));
  return members.Invoke(*this, member, kind, args);
}

// --- UCPT_Boolean -----------------------------------------------------------------------------

UCPT_Boolean::UCPT_Boolean() : TypedValue(BooleanClass) {}

void UCPT_Boolean::SendFormatted(rt::Steps& steps) {
  BooleanText sent = OtherBoolean;
  for (const BooleanText& text : BooleanTexts) {
    if (text.value == m_Value) sent = text;
  }
  PutValue(steps, sent.sendStep, [&] { return rt::Variant::String(std::string(sent.text)); });
}

// Texts compare exactly: any other text, "bool_true" too, is false.
void UCPT_Boolean::DecodeFormatted(rt::Steps&) {
  std::string text = InText();
  m_Value = OtherBoolean.value;
  for (const BooleanText& known : BooleanTexts) {
    if (known.text == text) m_Value = known.value;
  }
}

rt::Variant UCPT_Boolean::RawValue() const { return DecimalText(m_Value); }

void UCPT_Boolean::DecodeRaw() { m_Value = vIN.ToByte(); }

rt::Variant UCPT_Boolean::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  static const rt::Members<UCPT_Boolean> members(SlotOrder<UCPT_Boolean>({}, ValueMembers<UCPT_Boolean>()));
  return members.Invoke(*this, member, kind, args);
}

// --- SCPThvacType -----------------------------------------------------------------------------

SCPThvacType::SCPThvacType() : TypedValue(HvacTypeClass) {}

void SCPThvacType::SendFormatted(rt::Steps& steps) {
  const HvacType* type = FindHvacType(m_Value);
  if (type == nullptr) {
    type = &SentForUnknown;
    m_Value = type->text;
  }
  m_EnumValue = type->code;
  PutValue(steps, Class().writeSteps.send, [&] { return rt::Variant::String(m_Value); });
}

void SCPThvacType::DecodeFormatted(rt::Steps&) {
  m_Value = InText();
  const HvacType* type = FindHvacType(m_Value);
  m_EnumValue = type != nullptr ? type->code : UnknownHvacType;
}

rt::Variant SCPThvacType::RawValue() const { return rt::Variant::String(m_Value); }

void SCPThvacType::DecodeRaw() { m_Value = rt::NumberText(vIN.ToByte()); }

rt::Variant SCPThvacType::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  using P = SCPThvacType;
  static const rt::Members<P> members = [] {
    std::vector<rt::Member<P>> values = ValueMembers<P>();
    values.push_back(rt::Let("EnumValue", &P::put_EnumValue));
    values.push_back(rt::Get("EnumValue", &P::get_EnumValue));
    return rt::Members<P>(SlotOrder<P>({}, std::move(values)));
  }();
  return members.Invoke(*this, member, kind, args);
}

}  // namespace points
