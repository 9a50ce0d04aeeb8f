// Lays the demo machine into the simulated machine folder: the LonWorks installation (types
// catalog with the unit's resource files, bin/XIF32BIN, the unit's XIF file) and the demo network.
// A second run leaves what is there intact.
//
//   orvex_demo_machine [--second-unit]
//
// --second-unit lays a second unit of the same program ID beside the first (also into a demo
// network that is there already).
#include <exception>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string_view>

#include "lns/catalog/catalog_install.h"
#include "lns/tools/demo.h"
#include "registry/machine.h"
#include "runtime/error.h"
#include "standard_options.h"

namespace {

constexpr tool::Tool DemoMachine{
    "orvex_demo_machine",
    "usage: orvex_demo_machine [--second-unit]\n"
    "  Lays the demo machine into the machine folder (ORVEX_MACHINE): the LonWorks installation and the\n"
    "  network \"Demo\" with the unit \"FCU 1\"; --second-unit adds \"FCU 2\". What is there stays.\n"};

// The conversion tool is built beside this program.
std::filesystem::path ConversionTool(const char* argv0) {
  std::error_code ignored;
  auto self = std::filesystem::canonical("/proc/self/exe", ignored);
  if (self.empty()) self = std::filesystem::absolute(argv0);
  return self.parent_path().parent_path() / "xif32bin" / "xif32bin";
}

// Whether the command line asks for the second unit; raises std::invalid_argument for a wrong call.
bool SecondUnitAsked(int argc, char** argv) {
  if (argc > 2) throw std::invalid_argument(tool::UnexpectedArgument(argv[2]));
  if (argc < 2) return false;
  const std::string_view word = argv[1];
  if (word == "--second-unit") return true;
  throw std::invalid_argument(tool::IsOption(word) ? tool::UnknownOption(word) : tool::UnexpectedArgument(word));
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = tool::AnswerHelpOrVersion(DemoMachine, argc, argv)) return *answered;
  const auto secondUnit = tool::ReadCommandLine(DemoMachine, [&] { return SecondUnitAsked(argc, argv); });
  if (!secondUnit) return tool::WrongCall;
  try {
    auto installation = lns::InstallLonWorks(ConversionTool(argv[0]));
    bool created = lns::CreateDemoNetwork(installation.xifFolder.string());
    std::cout << "Simulated machine: " << reg::MachineFolder().string() << "\n"
              << "LonWorks installation: " << installation.folder.string() << "\n"
              << "Network \"" << lns::DemoNetworkName << "\": " << (created ? "created" : "already there") << "\n";
    if (*secondUnit) {
      std::cout << "Unit \"" << lns::DemoSecondDeviceName << "\": "
                << (lns::AddSecondDemoUnit() ? "added" : "already there") << "\n";
    }
    return 0;
  } catch (const rt::Error& e) {
    std::cerr << "demo machine: error " << e.Number() << ": " << e.Description() << "\n";
  } catch (const std::exception& e) {
    std::cerr << "demo machine: " << e.what() << "\n";
  }
  return 1;
}
