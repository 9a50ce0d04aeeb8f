#include "automation/query_verbs.h"

#include <fstream>

#include "automation/form_target.h"
#include "automation/protocol_error.h"
#include "forms/app.h"
#include "forms/controls_command.h"
#include "forms/event_loop.h"
#include "forms/render.h"
#include "forms/snapshot.h"
#include "runtime/clock.h"
#include "runtime/text.h"

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

const forms::TabControl& TabsOf(const forms::Form& form) {
  for (const forms::Control* c : form.Controls()) {
    if (const auto* tabs = dynamic_cast<const forms::TabControl*>(c)) return *tabs;
  }
  RaiseNotPossible("The form " + form.Name() + " has no tab control");
}

// A page by its number or its caption (letter case ignored, access key marker included or not).
int PageOf(const forms::TabControl& tabs, const Request& request) {
  const Json& field = request.Field("page");
  if (field.is_number_integer()) {
    const int page = request.Int("page");
    if (page < 0 || page >= tabs.Tabs()) RaiseUnknown("page of " + tabs.DisplayName(), std::to_string(page));
    return page;
  }
  const std::string caption = request.Text("page");
  for (int page = 0; page < tabs.Tabs(); ++page) {
    std::string shown = tabs.TabCaption(page);
    std::erase(shown, '&');
    if (rt::EqualsNoCase(tabs.TabCaption(page), caption) || rt::EqualsNoCase(shown, caption)) return page;
  }
  RaiseUnknown("page of " + tabs.DisplayName(), caption);
}

Json Render(const Request& request) {
  forms::Form& form = TargetForm(request);
  forms::RenderView view;
  if (request.Has("page")) {
    view.tabs = &TabsOf(form);
    view.page = PageOf(*view.tabs, request);
  }
  if (request.Has("control")) view.only = &TargetControl(request);
  const std::string svg = forms::RenderSvg(form, view);
  const auto path = request.OptionalFilePath("path");
  if (!path) return {{"svg", svg}};
  WriteFile(*path, svg);
  return {{"path", *path}, {"bytes", svg.size()}};
}

Json ScreenState(const Request&) {
  const forms::ScreenObject& screen = forms::Screen();
  const forms::Form* form = screen.ActiveForm();
  return {{"mousePointer", screen.MousePointer()},
          {"activeForm", form ? Json(form->Name()) : Json()},
          {"activeControl", ControlName(screen.ActiveControl())},
          {"width", static_cast<int>(screen.Width())},
          {"height", static_cast<int>(screen.Height())}};
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
  channel.AddVerb("screen",
                  "the mouse pointer (Screen.MousePointer), the active form and its active control, the screen's "
                  "size in twips",
                  ScreenState);
  channel.AddVerb("msgboxes", "the message boxes shown so far, and the one open",
                  [](const Request&) { return DescribeAll(forms::MsgBoxRecords(), forms::OpenMsgBox()); });
  channel.AddVerb("filedialogs", "the file dialogs shown so far, and the one open",
                  [](const Request&) { return DescribeAll(forms::FileDialogRecords(), forms::OpenFileDialog()); });
  channel.AddVerb("render",
                  "form=F [page=N|caption] [control=C [index=I]] [path=P]: the window as SVG (the current page, or the "
                  "page named), or one control alone, in the reply or into a file",
                  Render);
  channel.AddVerb("advance", "ms=N: lets time pass; timers tick on the way (virtual clock: at once)", Advance);
  AddLogVerb(channel, [] { return std::vector<std::string>(); });
}

void AddLogVerb(Channel& channel, LogReader reader) {
  channel.AddVerb("log", "[last=N]: the plug-in's log lines, oldest first",
                  [reader = std::move(reader)](const Request& r) { return LastLines(reader(), r); });
}

}  // namespace automation
