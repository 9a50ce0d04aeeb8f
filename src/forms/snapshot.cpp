#include "forms/snapshot.h"

#include "forms/properties.h"

namespace forms {

using nlohmann::json;

json Describe(const Control& control) {
  json out;
  out["Kind"] = KindName(control.GetKind());
  for (const auto& property : PropertiesOf(control.GetKind())) out[std::string(property.name)] = property.toJson(control);
  for (const auto& indexed : IndexedPropertiesOf(control.GetKind())) {
    json values = json::array();
    for (int i = 0; i < indexed.count(control); ++i) values.push_back(indexed.toJson(control, i));
    out[std::string(indexed.name)] = values;
  }
  if (control.Index() < 0) out.erase("Index");
  out["Container"] = control.Container() ? json(control.Container()->DisplayName()) : json(nullptr);
  if (control.Page() >= 0) out["Page"] = control.Page();
  out["EffectiveVisible"] = control.IsEffectivelyVisible();
  out["EffectiveEnabled"] = control.IsEffectivelyEnabled();
  if (control.TakesFocus()) out["HasFocus"] = control.HasFocus();
  return out;
}

json Describe(const Form& form) {
  json out;
  for (const auto& property : FormProperties()) out[std::string(property.name)] = property.toJson(form);
  out["Loaded"] = form.IsLoaded();
  out["Active"] = form.IsActive();
  out["ActiveControl"] = form.ActiveControl() ? json(form.ActiveControl()->DisplayName()) : json(nullptr);
  json controls = json::array();
  for (const Control* c : form.Controls()) controls.push_back(Describe(*c));
  out["Controls"] = controls;
  return out;
}

json Describe(const MsgBoxRecord& box) {
  json buttons = json::array();
  for (int result : box.Results()) buttons.push_back(ResultName(result));
  return {{"Prompt", box.prompt},
          {"Title", box.title},
          {"Buttons", buttons},
          {"Icon", IconName(box.Icon())},
          {"Default", ResultName(box.DefaultResult())},
          {"Result", box.result == 0 ? json(nullptr) : json(ResultName(box.result))},
          {"AnsweredBy", AnswerSourceName(box.answeredBy)}};
}

json Describe(const FileDialogRecord& dialog) {
  json choice = nullptr;
  if (dialog.choice) choice = dialog.choice->cancelled ? json("Cancel") : json(dialog.choice->path);
  json out = {{"Kind", dialog.save ? "Save" : "Open"},
              {"Title", dialog.title},
              {"InitDir", dialog.initDir},
              {"Filter", dialog.filter},
              {"Flags", dialog.flags},
              {"Choice", choice},
              {"AnsweredBy", AnswerSourceName(dialog.answeredBy)}};
  if (!dialog.refusal.empty()) out["Refusal"] = dialog.refusal;
  return out;
}

}  // namespace forms
