#include <charconv>
#include <chrono>
#include <iostream>
#include <optional>
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
constexpr int kUsageError = 2;

const std::string kUsage = std::string("usage: XIF32BIN [") + kWaitOption + " N] <XIF file> <XFB file>\n" +
                          "  Converts an XIF file into its XFB file.\n" + "  N: milliseconds from 0 to " +
                          std::to_string(kLongestCloseWait) + " that the finished window waits to be closed\n";
const tool::Tool kXif32Bin{"XIF32BIN", kUsage};

struct Options {
  std::string xif;
  std::string xfb;
  std::chrono::milliseconds closeWait = kDefaultCloseWait;
};

std::optional<Options> ParseOptions(const std::vector<std::string_view>& args) {
  Options options;
  std::vector<std::string_view> paths;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != kWaitOption) {
      paths.push_back(args[i]);
      continue;
    }
    if (++i == args.size()) return std::nullopt;
    long long ms = 0;
    const auto [end, error] = std::from_chars(args[i].data(), args[i].data() + args[i].size(), ms);
    if (error != std::errc() || end != args[i].data() + args[i].size() || ms < 0 || ms > kLongestCloseWait) {
      return std::nullopt;
    }
    options.closeWait = std::chrono::milliseconds(ms);
  }
  if (paths.size() != 2 || paths[0].empty() || paths[1].empty()) return std::nullopt;
  options.xif = paths[0];
  options.xfb = paths[1];
  return options;
}

}  // namespace

// Converts an XIF file into its XFB file, showing its progress as a top-level window that a
// caller waits for and closes.
int main(int argc, char** argv) {
  if (const auto answered = tool::AnswerHelpOrVersion(kXif32Bin, argc, argv)) return *answered;
  const std::optional<Options> options = ParseOptions(std::vector<std::string_view>(argv + 1, argv + argc));
  if (!options) {
    std::cerr << kXif32Bin.usage;
    return kUsageError;
  }
  try {
    proc::TopLevelWindow window(kWorkingTitle);
    xif32bin::ConvertXifToXfb(proc::ResolvePath(options->xif), proc::ResolvePath(options->xfb));
    window.SetTitle(kFinishedTitle);
    window.WaitForMessage(proc::WM_CLOSE, options->closeWait);
    return kConverted;
  } catch (const std::exception& failure) {
    std::cerr << "XIF32BIN: " << failure.what() << "\n";
    return kConversionFailed;
  }
}
