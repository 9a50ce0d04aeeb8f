#include "automation/query_verbs.h"

#include <fstream>

#include "automation/form_target.h"
#include "automation/protocol_error.h"
#include "forms/event_loop.h"
#include "forms/render.h"
#include "forms/snapshot.h"
#include "runtime/clock.h"

namespace automation {
namespace {

Json ListForms(const Request&) {
  Json list = Json::array();
  for (const forms::Form* form : forms::Forms()) {
    list.push_back({{"name", form->Name()}, {"caption", form->Caption()}, {"visible", form->Visible()},
                    {"active", form->IsActive()}});
  }
  return {{"forms", list}};
}

template <class Record>
Json DescribeAll(const std::deque<Record>& records, const Record* open) {
  Json list = Json::array();
  for (const auto& record : records) list.push_back(Json(forms::Describe(record)));
  return {{"records", list}, {"open", open ? Json(forms::Describe(*open)) : Json()}};
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  if (!file) rt::Raise(rt::err::PathFileAccessError, std::string(ChannelErrorSource), "Cannot write " + path);
}

Json Render(const Request& request) {
  const std::string svg = forms::RenderSvg(TargetForm(request));
  const auto path = request.OptionalText("path");
  if (!path) return {{"svg", svg}};
  WriteFile(*path, svg);
  return {{"path", *path}, {"bytes", svg.size()}};
}

Json ClockState() {
  const rt::Clock& clock = rt::CurrentClock();
  return {{"virtual", clock.IsVirtual()}, {"now", clock.NowMs()}, {"time", rt::TimeOfDayText()}};
}

Json Advance(const Request& request) {
  const int64_t ms = request.WholeNumber("ms");
  if (ms < 0) RaiseNotPossible("The clock does not go back (ms must not be negative)");
  forms::AdvanceClock(ms);
  return ClockState();
}

Json LastLines(const std::vector<std::string>& lines, const Request& request) {
  const int64_t last = request.WholeNumber("last", static_cast<int64_t>(lines.size()));
  if (last < 0) RaiseNotPossible("last must not be negative");
  const size_t skip = lines.size() - std::min(lines.size(), static_cast<size_t>(last));
  return {{"lines", std::vector<std::string>(lines.begin() + static_cast<long>(skip), lines.end())}};
}

}  // namespace

void AddQueryVerbs(Channel& channel) {
  channel.AddVerb("forms", "the loaded forms", ListForms);
  channel.AddVerb("form", "form=F: a loaded form with its properties and controls",
                  [](const Request& r) { return Json{{"form", Json(forms::Describe(TargetForm(r)))}}; });
  channel.AddVerb("query", "form=F control=C [index=I]: a control's properties",
                  [](const Request& r) { return Json{{"control", Json(forms::Describe(TargetControl(r)))}}; });
  channel.AddVerb("msgboxes", "the message boxes shown so far, and the one open",
                  [](const Request&) { return DescribeAll(forms::MsgBoxRecords(), forms::OpenMsgBox()); });
  channel.AddVerb("filedialogs", "the file dialogs shown so far, and the one open",
                  [](const Request&) { return DescribeAll(forms::FileDialogRecords(), forms::OpenFileDialog()); });
  channel.AddVerb("render", "form=F [path=P]: the window (current page) as SVG, in the reply or into a file", Render);
  channel.AddVerb("advance", "ms=N: lets time pass; timers tick on the way (virtual clock: at once)", Advance);
  AddLogVerb(channel, [] { return std::vector<std::string>(); });
}

void AddLogVerb(Channel& channel, LogReader reader) {
  channel.AddVerb("log", "[last=N]: the plug-in's log lines, oldest first",
                  [reader = std::move(reader)](const Request& r) { return LastLines(reader(), r); });
}

}  // namespace automation
