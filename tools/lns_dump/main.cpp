// Prints what the simulated machine's Object Server keeps, as JSON text:
//   orvex_lns_dump            the store: network interfaces, networks, component applications
//   orvex_lns_dump NETWORK    that network's system, templates, devices and values
#include <exception>
#include <iostream>

#include "lns/dump.h"
#include "runtime/error.h"

int main(int argc, char** argv) {
  if (argc > 2) {
    std::cerr << "usage: orvex_lns_dump [NETWORK]\n";
    return 2;
  }
  try {
    std::cout << (argc == 2 ? lns::DumpNetwork(argv[1]) : lns::DumpObjectServer()) << "\n";
    return 0;
  } catch (const rt::Error& e) {
    std::cerr << "orvex_lns_dump: error " << e.Number() << ": " << e.Description() << "\n";
  } catch (const std::exception& e) {
    std::cerr << "orvex_lns_dump: " << e.what() << "\n";
  }
  return 1;
}
