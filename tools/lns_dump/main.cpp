// Prints what the simulated machine's Object Server keeps, as JSON text:
//   orvex_lns_dump            the store: network interfaces, networks, component applications
//   orvex_lns_dump NETWORK    that network's system, templates, devices and values
// A dump only reads: a machine without a store is reported, and no store is made for it.
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>

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

// The network to dump, none for the store; raises std::invalid_argument for a wrong call.
std::optional<std::string> NetworkOf(int argc, char** argv) {
  if (argc > 2) throw std::invalid_argument(tool::UnexpectedArgument(argv[2]));
  if (argc < 2) return std::nullopt;
  if (tool::IsOption(argv[1])) throw std::invalid_argument(tool::UnknownOption(argv[1]));
  return argv[1];
}

int Dump(const std::optional<std::string>& network) {
  const std::filesystem::path store = lns::ServerStoreFile();
  std::error_code unreadable;
  if (!std::filesystem::exists(store, unreadable)) {
    std::cerr << "orvex_lns_dump: there is no Object Server store " << store.string()
              << " (is ORVEX_MACHINE the machine folder?)\n";
    return Failed;
  }
  std::cout << (network ? lns::DumpNetwork(*network) : lns::DumpObjectServer()) << "\n";
  return Dumped;
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = tool::AnswerHelpOrVersion(LnsDump, argc, argv)) return *answered;
  const auto network = tool::ReadCommandLine(LnsDump, [&] { return NetworkOf(argc, argv); });
  if (!network) return tool::WrongCall;
  try {
    return Dump(*network);
  } catch (const rt::Error& e) {
    std::cerr << "orvex_lns_dump: error " << e.Number() << ": " << e.Description() << "\n";
  } catch (const std::exception& e) {
    std::cerr << "orvex_lns_dump: " << e.what() << "\n";
  }
  return Failed;
}
