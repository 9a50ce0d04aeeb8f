#pragma once

#include <memory>

#include "lns/server.h"

namespace host::test {

// Network "Demo"'s system on the machine ORVEX_MACHINE names, opened in a server of this process.
inline std::shared_ptr<lns::System> OpenDemoSystem() {
  auto server = std::make_shared<lns::ObjectServer>();
  server->Open();
  auto network = server->get_Networks()->Item(rt::Variant::String("Demo"));
  network->Open();
  auto system = network->get_Systems()->Item(rt::Variant::Integer(1));
  system->Open();
  return system;
}

}  // namespace host::test
