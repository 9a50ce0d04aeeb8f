#include "points/cp/plain_points.h"

#include "points/late_bound.h"
#include "runtime/text.h"

namespace points {

namespace {

constexpr PointClass PlainClass(std::string_view name) {
  return {.name = name,
          .gated = true,
          .writeForcePrefix = "",
          .writeErrors = WriteErrorLine::Plain,
          .readErrors = ReadErrorLine::ErrorNamed,
          .bindingFailure = BindingFailure::LogLetParenthesised,
          .readSteps = {0, 0, 0, 0},
          .writeSteps = {0, 0, 0},
          .writeProcedure = "WriteNV",
          .readProcedure = "ReadCP"};
}

constexpr PointClass TimeSecClass = PlainClass("SCPT_time_sec");
constexpr PointClass TimeMinClass = PlainClass("SCPT_time_min");
constexpr PointClass TimeHourClass = PlainClass("SCPT_time_hour");
constexpr PointClass LevPercentClass = PlainClass("SCPT_lev_percent");
constexpr PointClass BypassTimeClass = PlainClass("SCPTbypassTime");

constexpr PointClass StrAscClass{.name = "SCPT_str_asc",
                                 .gated = true,
                                 .writeForcePrefix = "",
                                 .writeErrors = WriteErrorLine::Plain,
                                 .readErrors = ReadErrorLine::ErrNumber,
                                 .bindingFailure = BindingFailure::LogLetQuoted,
                                 .readSteps = {0, 0, 0, 0},
                                 .writeSteps = {0, 0, 0},
                                 .writeProcedure = "WriteNV",
                                 .readProcedure = "ReadCP"};

constexpr size_t MaxTextLength = 31;

}  // namespace

// --- the plain numbers ------------------------------------------------------------------------

void PlainNumberPoint::Send(rt::Steps& steps) {
  PutValue(steps, 0, [&] { return rt::Variant::Double(m_Value); });
}

// One statement: a value that does not convert leaves the number as it was.
void PlainNumberPoint::Receive(rt::Steps& steps) {
  steps(0, [&] { m_Value = GetProperty(m_CP, "Value").ToDouble(); });
}

rt::Variant PlainNumberPoint::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  static const rt::Members<PlainNumberPoint> members(SlotOrder<PlainNumberPoint>({}, ValueMembers<PlainNumberPoint>()));
  return members.Invoke(*this, member, kind, args);
}

SCPT_time_sec::SCPT_time_sec() : PlainNumberPoint(TimeSecClass) {}
SCPT_time_min::SCPT_time_min() : PlainNumberPoint(TimeMinClass) {}
SCPT_time_hour::SCPT_time_hour() : PlainNumberPoint(TimeHourClass) {}
SCPT_lev_percent::SCPT_lev_percent() : PlainNumberPoint(LevPercentClass) {}

// --- SCPTbypassTime ---------------------------------------------------------------------------

SCPTbypassTime::SCPTbypassTime() : PlainNumberPoint(BypassTimeClass) {}

void SCPTbypassTime::put_NvName(const std::string& name) {
  m_NvName = name;
  m_NV = nullptr;
  ClearBinding();
  rt::Steps steps = BindingSteps(BindingFailure::MessageBox, "NvName");
  steps(0, [&] { m_NV = NetworkVariableOf(m_Device, m_NvName); });
  BindLonMarkObject(steps);
  BindProperties(steps);
}

rt::Variant SCPTbypassTime::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  static const rt::Members<SCPTbypassTime> members(
      SlotOrder<SCPTbypassTime>({rt::Let("NvName", &SCPTbypassTime::put_NvName)}, ValueMembers<SCPTbypassTime>()));
  return members.Invoke(*this, member, kind, args);
}

// --- SCPT_str_asc -----------------------------------------------------------------------------

SCPT_str_asc::SCPT_str_asc() : TypedValue(StrAscClass) {}

void SCPT_str_asc::Send(rt::Steps& steps) {
  if (rt::Len(m_Value) > MaxTextLength) m_Value = rt::Left(m_Value, MaxTextLength);
  PutValue(steps, 0, [&] { return rt::Variant::String(m_Value); });
}

void SCPT_str_asc::Receive(rt::Steps& steps) {
  steps(0, [&] { m_Value = GetProperty(m_CP, "Value").ToString(); });
}

rt::Variant SCPT_str_asc::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  static const rt::Members<SCPT_str_asc> members(SlotOrder<SCPT_str_asc>({}, ValueMembers<SCPT_str_asc>()));
  return members.Invoke(*this, member, kind, args);
}

}  // namespace points
