#include "automation/form_target.h"

#include "automation/protocol_error.h"

namespace automation {

forms::Form& TargetForm(const Request& request) {
  const std::string name = request.Text("form");
  forms::Form* form = forms::FindForm(name);
  if (!form) RaiseUnknown("form (none of that name is loaded)", name);
  return *form;
}

forms::Control& TargetControl(const Request& request) {
  forms::Form& form = TargetForm(request);
  const std::string name = request.Text("control");
  if (!form.HasControl(name) && form.Indexes(name).empty()) RaiseUnknown("control on " + form.Name(), name);
  // The toolkit tells a missing array member (340) and an array without index (343) itself.
  return request.Has("index") ? form.Ctl(name, request.Int("index")) : form.Ctl(name);
}

Json ControlName(const forms::Control* control) {
  if (!control) return Json();
  return {{"name", control->Name()}, {"index", control->Index()}};
}

}  // namespace automation
