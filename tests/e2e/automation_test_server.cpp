// A stand-in for the plug-in executable: serves the channel's test class and test window, so
// the director can be tried end to end before the plug-in's own class exists.
#include <string>
#include <vector>

#include "com/classes.h"
#include "automation/query_verbs.h"
#include "automation/server.h"
#include "test_form.h"
#include "test_object.h"

int main(int argc, char** argv) {
  using namespace automation;
  testing::AddTestClass();
  testing::AddTestForm();
  const ServerCommandLine commandLine = ReadServerCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (const auto exitCode = HandleServerSwitches(commandLine)) return *exitCode;
  if (!commandLine.embedding) return 0;
  Channel channel;
  AddStandardVerbs(channel);
  AddLogVerb(channel, [] { return testing::TestLog(); });
  return ServeStdio(channel);
}
