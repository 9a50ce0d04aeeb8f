// Typing into the main window's location box on the "Device Setup" page, the window attached to the
// demo unit by a director's "Configure" and shown: a director's `type` request of 3,000 and 30,000
// characters through the plug-in's channel (ASCII, or a mix of 1- to 4-byte characters), and one
// keystroke with its Backspace at the end of a text of 1 KB to 1 MB. CPU time; typing is linear
// when 30,000 characters cost about ten times 3,000 (docs/performance.md).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <optional>
#include <string>

#include "attached_window.h"
#include "automation/channel.h"
#include "automation/server.h"
#include "forms/controls_command.h"
#include "forms/controls_text.h"
#include "forms/input.h"
#include "mainwindow/fmain_controls.h"

namespace {

using orvex::bench::Window;

constexpr int DeviceSetupPage = 2;

forms::TextBox& LocationBox() { return Window().Ctl(mainwindow::controls::txtnciLocation); }

automation::Channel* g_channel = nullptr;

// `count` characters, ASCII or cycling through characters of 1, 2, 3 and 4 bytes.
std::string TextOf(int64_t count, bool mixed) {
  const std::string ascii = "Plant room 3 ";
  const std::string multiByte[] = {"a", "\u00FC", "\u20AC", "\U0001F600"};
  std::string text;
  for (int64_t i = 0; i < count; ++i) {
    text += mixed ? multiByte[i % 4] : std::string(1, ascii[static_cast<size_t>(i) % ascii.size()]);
  }
  return text;
}

void TypeRequest(benchmark::State& state) {
  const std::string typed = TextOf(state.range(0), state.range(1) != 0);
  const std::string request = "type form=fMain control=txtnciLocation text=\"" + typed + "\"";
  for (auto _ : state) {
    const std::optional<std::string> reply = g_channel->Execute(request);
    if (!reply || reply->find("\"ok\":true") == std::string::npos) {
      state.SkipWithError(("the type request failed: " + reply.value_or("no reply")).c_str());
      return;
    }
  }
  if (LocationBox().Text() != typed) state.SkipWithError("the box does not hold the typed text");
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A character typed at the end of a text of `bytes` and taken back with Backspace: two keystrokes
// through the window's key events, the box's Change and the window's handlers.
void KeystrokeAtTheEnd(benchmark::State& state) {
  auto& box = LocationBox();
  const std::string text = TextOf(state.range(0), false);
  forms::input::Focus(box);
  box.SetText(text);
  box.SetSelStart(static_cast<int>(text.size()));
  for (auto _ : state) forms::input::TypeText(box, "x\b", false);
  if (box.Text() != text) state.SkipWithError("the box does not hold its text");
  state.SetItemsProcessed(state.iterations() * 2);
}

}  // namespace

BENCHMARK(TypeRequest)
    ->ArgNames({"chars", "mixed"})
    ->ArgsProduct({{3000, 30000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(KeystrokeAtTheEnd)->ArgName("bytes")->Arg(1 << 10)->Arg(100 << 10)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  orvex::bench::AttachedWindow attached("typing_bench");
  Window().Ctl(mainwindow::controls::tabData).SetTab(DeviceSetupPage);
  automation::Channel channel;
  automation::AddStandardVerbs(channel);
  g_channel = &channel;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
