// A plug-in process for the crash test. On the machine ORVEX_MACHINE names it registers the
// plug-in's command in network "Demo" (command 50), then writes the unit's setpoint again and
// again (crash_steps.h). Its database writes pass through StoreFaults, which kills it at the write
// the argument counts (0: none). When it lives to the end it prints "writes N".
#include <iostream>
#include <string>

#include "crash_steps.h"
#include "forms/msgbox.h"
#include "host/plugin_api.h"
#include "host/startup.h"
#include "lns/lookup.h"
#include "support/store_faults.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  orvex::test::StoreFaults faults;
  faults.KillAt(std::stoll(argv[1]));
  host::SetUpPlugIn();
  forms::SetWhenUnanswered(forms::WhenUnanswered::TakeDefault);
  auto plugIn = std::make_shared<host::LNSPlugInAPI>();
  plugIn->put_networkName("Demo");
  forms::QueueMsgBoxAnswer(forms::vbYes);
  plugIn->SendCommand(50, 0, "");
  auto point = lns::FindOpenDevice(host::test::CrashDevice)->FindPoint(host::test::CrashPoint);
  for (int step = 1; step <= host::test::CrashValueWrites; ++step) point->UnitWriteBytes(host::test::CrashValue(step));
  std::cout << "writes " << faults.Writes() << std::endl;
  return 0;
}
