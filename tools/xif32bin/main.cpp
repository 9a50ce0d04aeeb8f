#include <charconv>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "conversion.h"
#include "process/paths.h"
#include "process/windows.h"
#include "standard_options.h"

namespace {

constexpr const char* kWorkingTitle = "XIF32BIN";
constexpr const char* kFinishedTitle = "Finished - XIF32BIN";
constexpr const char* kWaitOption = "--close-wait-ms";
constexpr std::chrono::milliseconds kDefaultCloseWait{30000};
constexpr long long kLongestCloseWait = 86400000;  // a day

constexpr int kConverted = 0;
constexpr int kConversionFailed = 1;

const std::string kUsage = std::string("usage: XIF32BIN [") + kWaitOption + " N] <XIF file> <XFB file>\n" +
                          "  Converts an XIF file into its XFB file.\n" + "  N: milliseconds from 0 to " +
                          std::to_string(kLongestCloseWait) + " that the finished window waits to be closed\n";
const tool::Tool kXif32Bin{"XIF32BIN", kUsage};

struct Options {
  std::string xif;
  std::string xfb;
  std::chrono::milliseconds closeWait = kDefaultCloseWait;
};

std::chrono::milliseconds CloseWait(std::string_view text) {
  long long ms = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), ms);
  if (error != std::errc() || end != text.data() + text.size() || ms < 0 || ms > kLongestCloseWait) {
    throw std::invalid_argument(std::string(kWaitOption) + " takes milliseconds from 0 to " +
                                std::to_string(kLongestCloseWait) + ", not \"" + std::string(text) + "\"");
  }
  return std::chrono::milliseconds(ms);
}

// Raises std::invalid_argument, saying what is wrong, on a command line it cannot read.
Options ParseOptions(const std::vector<std::string_view>& args) {
  Options options;
  std::vector<std::string_view> paths;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == kWaitOption) {
      if (++i == args.size()) throw std::invalid_argument(std::string(kWaitOption) + " needs a number of milliseconds");
      options.closeWait = CloseWait(args[i]);
    } else if (tool::IsOption(args[i])) {
      throw std::invalid_argument(tool::UnknownOption(args[i]));
    } else if (paths.size() == 2) {
      throw std::invalid_argument(tool::UnexpectedArgument(args[i]));
    } else {
      paths.push_back(args[i]);
    }
  }
  if (paths.size() != 2 || paths[0].empty() || paths[1].empty()) {
    throw std::invalid_argument("an XIF file and an XFB file are needed");
  }
  options.xif = paths[0];
  options.xfb = paths[1];
  return options;
}

}  // namespace

// Converts an XIF file into its XFB file, showing its progress as a top-level window that a
// caller waits for and closes.
int main(int argc, char** argv) {
  if (const auto answered = tool::AnswerHelpOrVersion(kXif32Bin, argc, argv)) return *answered;
  const auto options = tool::ReadCommandLine(
      kXif32Bin, [&] { return ParseOptions(std::vector<std::string_view>(argv + 1, argv + argc)); });
  if (!options) return tool::WrongCall;
  try {
    const std::filesystem::path xfb = proc::ResolvePath(options->xfb);
    // An input that does not convert shows no window, so it leaves no trace on the machine.
    const std::string bytes = xif32bin::XfbOf(proc::ResolvePath(options->xif), xfb);
    proc::TopLevelWindow window(kWorkingTitle);
    xif32bin::WriteXfb(xfb, bytes);
    window.SetTitle(kFinishedTitle);
    window.WaitForMessage(proc::WM_CLOSE, options->closeWait);
    return kConverted;
  } catch (const std::exception& failure) {
    std::cerr << "XIF32BIN: " << failure.what() << "\n";
    return kConversionFailed;
  }
}
