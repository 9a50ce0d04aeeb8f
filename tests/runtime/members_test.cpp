#include "runtime/members.h"

#include <gtest/gtest.h>

#include "support/error_number.h"

namespace {

using rt::Variant;
using Kind = rt::Object::CallKind;
using orvex::test::ErrorNumberOf;

class Valve : public rt::Object {
 public:
  const std::string& get_Name() const { return name_; }
  bool get_Open() const { return open_; }
  int16_t get_Mode() const { return mode_; }
  void put_Mode(int16_t mode) { mode_ = mode; }
  double get_Position() const { return position_; }
  void put_Position(double position) { position_ = position; }
  std::shared_ptr<Valve> get_Next() const { return next_; }
  void putref_Next(std::shared_ptr<Valve> next) { next_ = std::move(next); }
  void Close() { open_ = false; }

  Variant Invoke(std::string_view member, CallKind kind, rt::Args& args) override {
    static const rt::Members<Valve> members{
        rt::Get("Name", &Valve::get_Name),
        rt::Get("Open", &Valve::get_Open),
        rt::Get("Mode", &Valve::get_Mode),
        rt::Let("Mode", &Valve::put_Mode),
        rt::Get("Position", &Valve::get_Position),
        rt::Let("Position", &Valve::put_Position),
        rt::Get("Next", &Valve::get_Next),
        rt::Set("Next", &Valve::putref_Next),
        rt::Method("Close", &Valve::Close),
        rt::Method("Sum", [](Valve&, rt::Args& a) { return rt::Arg(a, 0).ToLong() + rt::Arg(a, 1).ToLong(); }),
    };
    return members.Invoke(*this, member, kind, args);
  }

 private:
  std::string name_ = "V1";
  bool open_ = true;
  int16_t mode_ = 2;
  double position_ = 12.5;
  std::shared_ptr<Valve> next_;
};

// A class whose own table comes before its base's.
class MixingValve : public Valve {
 public:
  Variant Invoke(std::string_view member, CallKind kind, rt::Args& args) override {
    static const rt::Members<MixingValve> members{
        rt::Get("Name", [](MixingValve&) { return std::string("Mixer"); }),
        rt::Get("Ports", [](MixingValve&) { return int32_t{3}; }),
    };
    return members.Invoke<Valve>(*this, member, kind, args);
  }
};

struct CallCase {
  const char* member;
  Kind kind;
  std::vector<Variant> args;
  Variant result;  // compared when `error` is 0
  int error;
  friend void PrintTo(const CallCase& c, std::ostream* os) {
    *os << c.member << "_" << static_cast<int>(c.kind);
    for (const Variant& arg : c.args) *os << "_" << arg.TypeName();
    *os << "_" << c.error;
  }
};

class MembersTest : public testing::TestWithParam<CallCase> {};

TEST_P(MembersTest, CallsFollowTheNameAndKindRules) {
  const CallCase& c = GetParam();
  Valve valve;
  std::vector<Variant> args = c.args;
  Variant result;
  EXPECT_EQ(ErrorNumberOf([&] { result = valve.Invoke(c.member, c.kind, args); }), c.error) << c.member;
  if (c.error == 0) {
    EXPECT_EQ(result, c.result) << c.member;
  }
}

const Variant None;
INSTANTIATE_TEST_SUITE_P(
    Cases, MembersTest,
    testing::Values(
        // names without regard to case; each value type as its Variant
        CallCase{"NAME", Kind::Get, {}, Variant::String("V1"), 0},
        CallCase{"open", Kind::Get, {}, Variant::Boolean(true), 0},
        CallCase{"Mode", Kind::Get, {}, Variant::Integer(2), 0},
        CallCase{"Position", Kind::Get, {}, Variant::Double(12.5), 0},
        CallCase{"Next", Kind::Get, {}, Variant::Nothing(), 0},
        // a Get answers a method-style call and a method a Get
        CallCase{"Position", Kind::Method, {}, Variant::Double(12.5), 0},
        CallCase{"close", Kind::Get, {}, None, 0},
        CallCase{"Sum", Kind::Method, {Variant::Long(2), Variant::Long(3)}, Variant::Long(5), 0},
        CallCase{"Mode", Kind::Let, {Variant::Long(4)}, None, 0},
        // error 449 for a missing argument
        CallCase{"Mode", Kind::Let, {}, None, rt::err::ArgumentNotOptional},
        CallCase{"Sum", Kind::Method, {Variant::Long(2)}, None, rt::err::ArgumentNotOptional},
        // error 438 for an unknown member and for a known one called as another kind
        CallCase{"Colour", Kind::Get, {}, None, rt::err::ObjectNotSupportProperty},
        CallCase{"Name", Kind::Let, {Variant::String("x")}, None, rt::err::ObjectNotSupportProperty},
        CallCase{"Mode", Kind::Set, {Variant::Long(1)}, None, rt::err::ObjectNotSupportProperty},
        // the assigned value converts to the setter's type
        CallCase{"Mode", Kind::Let, {Variant::String("x")}, None, rt::err::TypeMismatch},
        CallCase{"Next", Kind::Set, {Variant::String("x")}, None, rt::err::TypeMismatch},
        CallCase{"Next", Kind::Set, {Variant::Object(std::make_shared<rt::Object>())}, None,
                 rt::err::TypeMismatch}));

TEST(MembersAssignTest, ALetOrSetAssignsTheLastArgument) {
  Valve valve;
  std::vector<Variant> args{Variant::Long(1), Variant::Double(40.25)};
  valve.Invoke("position", Kind::Let, args);
  EXPECT_EQ(valve.get_Position(), 40.25);
  auto next = std::make_shared<Valve>();
  std::vector<Variant> object{Variant::Object(next)};
  valve.Invoke("Next", Kind::Set, object);
  EXPECT_EQ(valve.get_Next(), next);
  std::vector<Variant> nothing{Variant::Nothing()};
  valve.Invoke("Next", Kind::Set, nothing);
  EXPECT_EQ(valve.get_Next(), nullptr);
}

TEST(MembersAssignTest, AClassTableComesFirstAndPassesTheRestToItsBase) {
  MixingValve valve;
  std::vector<Variant> none;
  EXPECT_EQ(valve.Invoke("Name", Kind::Get, none), Variant::String("Mixer"));
  EXPECT_EQ(valve.Invoke("Ports", Kind::Get, none), Variant::Long(3));
  EXPECT_EQ(valve.Invoke("Mode", Kind::Get, none), Variant::Integer(2));
  EXPECT_EQ(ErrorNumberOf([&] { valve.Invoke("Ports", Kind::Let, none); }), rt::err::ObjectNotSupportProperty);
}

}  // namespace
