#include "test_object.h"

#include <algorithm>
#include <array>
#include <functional>

#include "com/classes.h"
#include "forms/app.h"
#include "forms/event_loop.h"
#include "forms/msgbox.h"
#include "test_form.h"
#include "runtime/text.h"

namespace automation::testing {
namespace {

int live = 0;
int pumping = 0;  // Pump calls running now

using Kind = rt::Object::CallKind;
using Body = std::function<rt::Variant(TestObject&, std::vector<rt::Variant>&)>;

struct Member {
  std::string_view name;
  Kind kind;
  size_t argumentCount;
  Body body;
};

const std::array<Member, 13>& Members() {
  static const std::array<Member, 13> members = {{
      {"Count", Kind::Get, 0, [](TestObject& o, auto&) { return rt::Variant::Integer(o.count); }},
      {"Count", Kind::Let, 1, [](TestObject& o, auto& a) { o.count = a[0].ToInteger(); return rt::Variant(); }},
      {"Name", Kind::Get, 0, [](TestObject& o, auto&) { return rt::Variant::String(o.name); }},
      {"Name", Kind::Let, 1, [](TestObject& o, auto& a) { o.name = a[0].ToString(); return rt::Variant(); }},
      {"Partner", Kind::Get, 0, [](TestObject& o, auto&) { return rt::Variant::Object(o.partner); }},
      {"Partner", Kind::Set, 1, [](TestObject& o, auto& a) { o.partner = a[0].ToObject(); return rt::Variant(); }},
      {"Add", Kind::Method, 2,
       [](TestObject&, auto& a) { return rt::Variant::Double(a[0].ToDouble() + a[1].ToDouble()); }},
      {"Fail", Kind::Method, 2,
       [](TestObject&, auto& a) -> rt::Variant { rt::Raise(a[0].ToLong(), TestProgId, a[1].ToString()); }},
      {"MakeTwin", Kind::Method, 0, [](TestObject&, auto&) { return rt::Variant::Object(std::make_shared<TestObject>()); }},
      {"ShowForm", Kind::Method, 0, [](TestObject&, auto&) {
         forms::Default<fChannelTest>().Show();
         return rt::Variant();
       }},
      {"Ask", Kind::Method, 1,
       [](TestObject&, auto& a) {
         return rt::Variant::Integer(static_cast<int16_t>(forms::MsgBox(a[0].ToString(), forms::vbYesNo + forms::vbQuestion)));
       }},
      // Lets pending window messages run, as SendCommand does; gives the most Pump calls that ever ran at once.
      {"Pump", Kind::Method, 0, [](TestObject&, auto&) {
         static int16_t deepest = 0;
         deepest = static_cast<int16_t>(std::max(deepest, static_cast<int16_t>(++pumping)));
         forms::DoEvents();
         --pumping;
         return rt::Variant::Integer(deepest);
       }},
      {"Quit", Kind::Method, 0, [](TestObject&, auto&) {
         forms::App().End();
         return rt::Variant();
       }},
  }};
  return members;
}

}  // namespace

TestObject::TestObject() { ++live; }
TestObject::~TestObject() { --live; }
int TestObject::Live() { return live; }

rt::Variant TestObject::Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  for (const auto& m : Members()) {
    if (!rt::EqualsNoCase(m.name, member) || m.kind != kind) continue;
    if (args.size() != m.argumentCount) rt::Raise(rt::err::WrongNumberOfArguments);
    return m.body(*this, args);
  }
  return rt::Object::Invoke(member, kind, args);
}

void AddTestClass() {
  com::Classes().Add({TestProgId, TestClassId, "Channel test object", [] { return std::make_shared<TestObject>(); }});
}

}  // namespace automation::testing
