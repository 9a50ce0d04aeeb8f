// Prints what the simulated machine's Object Server keeps, as JSON text:
//   orvex_lns_dump            the store: network interfaces, networks, component applications
//   orvex_lns_dump NETWORK    that network's system, templates, devices and values
// A dump only reads: a machine without a store is reported, and no store is made for it.
#include <exception>
#include <filesystem>
#include <iostream>

#include "lns/platform.h"
#include "lns/tools/dump.h"
#include "runtime/error.h"
#include "standard_options.h"

namespace {

constexpr tool::Tool LnsDump{
    "orvex_lns_dump",
    "usage: orvex_lns_dump [NETWORK]\n"
    "  Prints the Object Server's store of the machine folder (ORVEX_MACHINE), or a network's system,\n"
    "  templates, devices and values, as JSON. Writes nothing.\n"};

constexpr int Dumped = 0;
constexpr int Failed = 1;
constexpr int UsageError = 2;

int Dump(int argc, char** argv) {
  const std::filesystem::path store = lns::ServerStoreFile();
  std::error_code unreadable;
  if (!std::filesystem::exists(store, unreadable)) {
    std::cerr << "orvex_lns_dump: there is no Object Server store " << store.string()
              << " (is ORVEX_MACHINE the machine folder?)\n";
    return Failed;
  }
  std::cout << (argc == 2 ? lns::DumpNetwork(argv[1]) : lns::DumpObjectServer()) << "\n";
  return Dumped;
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = tool::AnswerHelpOrVersion(LnsDump, argc, argv)) return *answered;
  if (argc > 2) {
    std::cerr << LnsDump.usage;
    return UsageError;
  }
  try {
    return Dump(argc, argv);
  } catch (const rt::Error& e) {
    std::cerr << "orvex_lns_dump: error " << e.Number() << ": " << e.Description() << "\n";
  } catch (const std::exception& e) {
    std::cerr << "orvex_lns_dump: " << e.what() << "\n";
  }
  return Failed;
}
