#include "automation/object_verbs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "com/classes.h"
#include "machine_folder.h"
#include "test_object.h"

namespace automation {
namespace {

using testing::TestObject;

class ObjectVerbs : public ::testing::Test {
 protected:
  ObjectVerbs() {
    com::Classes() = {};
    testing::AddTestClass();
    com::RegisterServer("/opt/orvex/automation_test_server");
    AddObjectVerbs(channel);
  }
  ~ObjectVerbs() override { com::Classes() = {}; }

  Json Send(std::string_view line) { return Json::parse(*channel.Execute(line)); }
  Json Error(std::string_view line) {
    const Json reply = Send(line);
    EXPECT_EQ(reply["ok"], false) << line;
    return reply["error"];
  }

  testing::ScopedMachineFolder machine;
  Channel channel;
};

TEST_F(ObjectVerbs, CreateGetLetCallRelease) {
  const Json created = Send("create progid=orvex.testobject");
  EXPECT_EQ(created["object"], 1);
  EXPECT_EQ(created["class"], "TestObject");

  EXPECT_EQ(Send("let object=1 member=Count value=5")["ok"], true);
  EXPECT_EQ(Send("get object=1 member=count")["value"], Json::parse(R"({"type":"Integer","value":5})"));
  EXPECT_EQ(Send(R"(let object=1 member=Name value={"type":"String","value":42})")["ok"], true);
  EXPECT_EQ(Send("get object=1 member=Name")["value"]["value"], "42");
  EXPECT_EQ(Send("call object=1 member=Add args=[2, 3.5]")["value"], Json::parse(R"({"type":"Double","value":5.5})"));

  EXPECT_EQ(TestObject::Live(), 1);
  EXPECT_EQ(Send("release object=1")["ok"], true);
  EXPECT_EQ(TestObject::Live(), 0);
  EXPECT_EQ(Error("get object=1 member=Count")["description"], "Unknown object \"1\"");
}

TEST_F(ObjectVerbs, AnObjectsErrorComesBackWithNumberSourceAndDescription) {
  Send("create progid=Orvex.TestObject");
  EXPECT_EQ(Error(R"(call object=1 member=Fail args=[20003, "Command not supported"])"),
            Json::parse(R"({"number":20003,"source":"Orvex.TestObject","description":"Command not supported"})"));
  EXPECT_EQ(Error("get object=1 member=Colour")["number"], rt::err::ObjectNotSupportProperty);
  EXPECT_EQ(Error("call object=1 member=Add args=[1]")["number"], rt::err::WrongNumberOfArguments);
}

TEST_F(ObjectVerbs, WrongArgumentsAreRefusedAndTheObjectKeepsItsState) {
  Send("create progid=Orvex.TestObject");
  Send("let object=1 member=Count value=9");
  const struct {
    const char* line;
    int32_t number;
  } cases[] = {
      {"let object=1 member=Count value=abc", rt::err::TypeMismatch},
      {"let object=1 member=Count value=40000", rt::err::Overflow},
      {"let object=1 member=Count", rt::err::InvalidProcedureCall},
      {"call object=1 member=Add args=5", rt::err::TypeMismatch},
      {"call object=1 member=Add args=[[1],2]", rt::err::TypeMismatch},
      {"get object=one member=Count", rt::err::TypeMismatch},
      {"get object=7 member=Count", rt::err::SubscriptOutOfRange},
      {"set object=1 member=Partner value=3", rt::err::TypeMismatch},
  };
  for (const auto& c : cases) EXPECT_EQ(Error(c.line)["number"], c.number) << c.line;
  EXPECT_EQ(Send("get object=1 member=Count")["value"]["value"], 9);
}

TEST_F(ObjectVerbs, ObjectsTravelAsIdsBothWays) {
  Send("create progid=Orvex.TestObject");
  const Json twin = Send("call object=1 member=MakeTwin")["value"];
  EXPECT_EQ(twin, Json::parse(R"({"type":"Object","object":2,"class":"TestObject"})"));
  EXPECT_EQ(Send(R"(set object=1 member=Partner value={"type":"Object","object":2})")["ok"], true);
  EXPECT_EQ(Send("get object=1 member=Partner")["value"]["object"], 2);
  EXPECT_EQ(Send("objects")["objects"].size(), 2u);

  // The partner stays alive through object 1 after the director lets go of it.
  Send("release object=2");
  EXPECT_EQ(TestObject::Live(), 2);
  EXPECT_EQ(Send(R"(set object=1 member=Partner value={"type":"Nothing"})")["ok"], true);
  EXPECT_EQ(TestObject::Live(), 1);
}

TEST_F(ObjectVerbs, OnlyARegisteredClassCanBeCreated) {
  const auto notRegistered = Json::parse(R"({"number":-2147221164,"source":"","description":"Class not registered"})");
  EXPECT_EQ(Error("create progid=Orvex.Missing"), notRegistered);
  com::UnregisterServer();
  EXPECT_EQ(Error("create progid=Orvex.TestObject"), notRegistered);
  EXPECT_EQ(TestObject::Live(), 0);
}

}  // namespace
}  // namespace automation

namespace automation {
namespace {

// 200,000 objects: a table that looked each one up by scanning would take minutes.
TEST(ObjectTableHold, AnObjectHeldAlreadyKeepsItsIdHoweverManyAreHeld) {
  ObjectTable objects;
  std::vector<rt::ObjectRef> held;
  for (int i = 0; i < 200000; ++i) {
    held.push_back(std::make_shared<rt::Object>());
    EXPECT_EQ(objects.Hold(held.back()), i + 1);
  }
  EXPECT_EQ(objects.Hold(held[7]), 8);
  objects.Release(8);
  EXPECT_EQ(objects.Hold(held[7]), 200001);
}

}  // namespace
}  // namespace automation
