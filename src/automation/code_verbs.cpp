#include "automation/code_verbs.h"

#include "automation/form_target.h"
#include "automation/protocol_error.h"
#include "forms/event.h"

namespace automation {
namespace {

forms::Event EventOf(const Request& request, const forms::Control& control) {
  const std::string name = request.Text("event");
  const auto event = forms::EventNamed(name);
  if (!event) RaiseUnknown("event", name);
  if (!forms::KindRaises(control.GetKind(), *event)) {
    RaiseUnknown("event of " + control.DisplayName() + " (a " + control.TypeName() + ")", name);
  }
  return *event;
}

// Runs the handler whatever the control shows: code reaches hidden and disabled controls.
Json Fire(const Request& request) {
  forms::Control& control = TargetControl(request);
  const forms::Event event = EventOf(request, control);
  forms::EventArgs args;
  const bool handled = control.Raise(event, args);
  return {{"handled", handled}, {"cancel", args.cancel}};
}

}  // namespace

void AddCodeVerbs(Channel& channel) {
  channel.AddVerb("fire",
                  "form=F control=C [index=I] event=Click|Change|...: runs the control's event handler as the "
                  "program's own code would, hidden and disabled controls included",
                  Fire);
}

}  // namespace automation
