#include "forms/layout.h"

#include <map>
#include <regex>
#include <set>
#include <utility>

#include <nlohmann/json.hpp>

#include "forms/controls_command.h"
#include "forms/controls_drawing.h"
#include "forms/controls_text.h"
#include "forms/embedded.h"
#include "forms/internal.h"
#include "forms/properties.h"

namespace forms {
namespace {

using nlohmann::json;

struct Resources {
  std::map<std::string, std::string> layouts;  // lower-case name → JSON text
  std::map<std::string, std::string> pictures;  // lower-case name → SVG text
  Resources() {
    for (const auto& file : EmbeddedLayouts()) layouts[Lower(file.name)] = std::string(file.data);
    for (const auto& file : EmbeddedPictures()) pictures[Lower(file.name)] = std::string(file.data);
  }
};

Resources& Registry() {
  static Resources resources;
  return resources;
}

std::shared_ptr<Control> Create(Kind kind, Form& form, const std::string& name, int index) {
  switch (kind) {
    case Kind::Label: return std::make_shared<Label>(form, name, index);
    case Kind::TextBox: return std::make_shared<TextBox>(form, name, index);
    case Kind::ComboBox: return std::make_shared<ComboBox>(form, name, index);
    case Kind::ListBox: return std::make_shared<ListBox>(form, name, index);
    case Kind::CommandButton: return std::make_shared<CommandButton>(form, name, index);
    case Kind::Frame: return std::make_shared<Frame>(form, name, index);
    case Kind::PictureBox: return std::make_shared<PictureBox>(form, name, index);
    case Kind::Image: return std::make_shared<Image>(form, name, index);
    case Kind::Line: return std::make_shared<Line>(form, name, index);
    case Kind::Shape: return std::make_shared<Shape>(form, name, index);
    case Kind::Timer: return std::make_shared<Timer>(form, name, index);
    case Kind::TabControl: return std::make_shared<TabControl>(form, name, index);
    case Kind::Menu: return std::make_shared<Menu>(form, name, index);
    case Kind::CommonDialog: return std::make_shared<CommonDialog>(form, name, index);
    case Kind::ObjectControl: return std::make_shared<ObjectControl>(form, name, index);
  }
  throw rt::Error(rt::err::InternalError);
}

bool IsContainer(Kind kind) { return kind == Kind::Frame || kind == Kind::PictureBox; }

// Keys of a control entry that are structure, not properties.
const std::set<std::string>& StructureKeys() {
  static const std::set<std::string> keys = {"Name", "Kind", "Index", "Controls", "Pages", "List", "Font", "Ours"};
  return keys;
}

class Loader {
 public:
  explicit Loader(Form& form) : form_(form) {}

  BuiltLayout LoadForm(const json& layout) {
    const std::string where = form_.Name();
    if (!layout.is_object()) BadLayout(where, "the layout is not a JSON object");
    if (layout.contains("Name") && layout["Name"] != form_.Name()) {
      BadLayout(where, "it names the form '" + layout["Name"].dump() + "'");
    }
    for (const auto& [key, value] : layout.items()) {
      if (key == "Name" || key == "Controls" || key == "ClientWidth" || key == "ClientHeight") continue;
      if (key == "Font") {
        form_.SetFont(ParseFontValue(value, where));
        continue;
      }
      const auto* property = FindFormProperty(key);
      if (!property) BadLayout(where, "unknown property '" + key + "'");
      if (!property->fromJson) BadLayout(where, "property '" + key + "' cannot be set in a layout");
      Apply(where, key, [&] { property->fromJson(form_, value); });
    }
    if (layout.contains("Controls")) LoadList(layout["Controls"], nullptr, -1, where);
    FitAutoSizedLabels();
    KeepLastMark(&CommandButton::Default, &CommandButton::SetDefault);
    KeepLastMark(&CommandButton::Cancel, &CommandButton::SetCancel);
    built_.clientWidth = ReadClientSize(layout, "ClientWidth", where);
    built_.clientHeight = ReadClientSize(layout, "ClientHeight", where);
    return std::move(built_);
  }

 private:
  template <class Action>
  void Apply(const std::string& where, const std::string& key, Action action) {
    try {
      action();
    } catch (const rt::Error& e) {
      BadLayout(where, "property '" + key + "' " + e.Description());
    }
  }

  Font ParseFontValue(const json& value, const std::string& where) {
    Font font;
    if (!value.is_string() || !ParseFont(value.get<std::string>(), font)) {
      BadLayout(where, "a font is a text such as \"Arial 9 bold\", not " + value.dump());
    }
    return font;
  }

  void LoadList(const json& list, Control* container, int page, const std::string& where) {
    if (!list.is_array()) BadLayout(where, "\"Controls\" is not a list");
    for (const auto& entry : list) LoadControl(entry, container, page, where);
  }

  void LoadControl(const json& entry, Control* container, int page, const std::string& parent) {
    if (!entry.is_object()) BadLayout(parent, "a control entry is not a JSON object");
    if (!entry.contains("Name") || !entry["Name"].is_string() || entry["Name"].get<std::string>().empty()) {
      BadLayout(parent, "a control has no \"Name\"");
    }
    const std::string name = entry["Name"].get<std::string>();
    const int index = ReadIndex(entry, parent + " > " + name);
    const std::string where = parent + " > " + (index < 0 ? name : name + "(" + std::to_string(index) + ")");
    const Kind kind = ReadKind(entry, where);
    CheckPlacement(kind, container, where);
    CheckUnique(name, index, where);

    auto control = Create(kind, form_, name, index);
    Control& c = *control;
    c.SetFont(entry.contains("Font") ? ParseFontValue(entry["Font"], where) : InheritedFont(container));
    built_.controls.push_back(BuiltControl{std::move(control), container, page});
    if (entry.contains("Ours")) CheckOurs(entry, where);
    if (entry.contains("Pages")) LoadPageHeads(c, entry["Pages"], where);
    if (entry.contains("List")) LoadItems(c, entry["List"], where);
    for (const auto& [key, value] : entry.items()) {
      if (StructureKeys().count(key) != 0) continue;
      const auto* property = FindProperty(kind, key);
      if (!property) BadLayout(where, "unknown property '" + key + "' for a " + std::string(KindName(kind)));
      if (!property->fromJson) BadLayout(where, "property '" + key + "' cannot be set in a layout");
      Apply(where, key, [&] { property->fromJson(c, value); });
    }
    if (entry.contains("Pages")) LoadPageControls(c, entry["Pages"], where);
    if (entry.contains("Controls")) {
      if (!IsContainer(kind) && kind != Kind::Menu) {
        BadLayout(where, "a " + std::string(KindName(kind)) + " holds no controls");
      }
      LoadList(entry["Controls"], &c, -1, where);
    }
  }

  int ReadIndex(const json& entry, const std::string& where) {
    if (!entry.contains("Index")) return -1;
    const json& index = entry["Index"];
    if (!index.is_number_integer() || index.get<int64_t>() < 0 || index.get<int64_t>() > 32767) {
      BadLayout(where, "\"Index\" must be a whole number from 0 to 32767");
    }
    return index.get<int>();
  }

  Kind ReadKind(const json& entry, const std::string& where) {
    if (!entry.contains("Kind") || !entry["Kind"].is_string()) BadLayout(where, "no \"Kind\"");
    auto kind = KindFromName(entry["Kind"].get<std::string>());
    if (!kind) BadLayout(where, "unknown kind '" + entry["Kind"].get<std::string>() + "'");
    return *kind;
  }

  void CheckPlacement(Kind kind, Control* container, const std::string& where) {
    bool inMenu = container && container->GetKind() == Kind::Menu;
    if (kind == Kind::Menu && container && !inMenu) BadLayout(where, "a menu belongs to the form or to another menu");
    if (kind != Kind::Menu && inMenu) BadLayout(where, "a menu holds only menus");
  }

  void CheckUnique(const std::string& name, int index, const std::string& where) {
    std::set<int>& indexes = indexesByName_[Lower(name)];
    bool clash = !indexes.empty() && (index < 0 || indexes.count(-1) != 0 || indexes.count(index) != 0);
    if (clash) BadLayout(where, "the control appears twice (or both as a single control and as an array)");
    indexes.insert(index);
  }

  // "Ours" lists the keys of an entry whose values the layout's authors chose where the design
  // gave none; it documents, and must name keys the entry has.
  void CheckOurs(const json& entry, const std::string& where) {
    const json& ours = entry["Ours"];
    if (!ours.is_array()) BadLayout(where, "\"Ours\" is not a list of keys");
    for (const auto& key : ours) {
      if (!key.is_string() || key == "Ours" || !entry.contains(key.get<std::string>())) {
        BadLayout(where, "\"Ours\" names " + key.dump() + ", which is not a key of this control");
      }
    }
  }

  Font InheritedFont(Control* container) const { return container ? container->GetFont() : form_.GetFont(); }

  void LoadItems(Control& c, const json& items, const std::string& where) {
    if (!items.is_array()) BadLayout(where, "\"List\" is not a list of texts");
    for (const auto& item : items) {
      if (!item.is_string()) BadLayout(where, "\"List\" holds " + item.dump() + ", not a text");
      if (auto* combo = dynamic_cast<ComboBox*>(&c)) {
        combo->AddItem(item.get<std::string>());
      } else if (auto* list = dynamic_cast<ListBox*>(&c)) {
        list->AddItem(item.get<std::string>());
      } else {
        BadLayout(where, "a " + std::string(KindName(c.GetKind())) + " has no \"List\"");
      }
    }
  }

  void LoadPageHeads(Control& c, const json& pages, const std::string& where) {
    auto* tabs = dynamic_cast<TabControl*>(&c);
    if (!tabs) BadLayout(where, "only a TabControl has \"Pages\"");
    if (!pages.is_array() || pages.empty()) BadLayout(where, "\"Pages\" is not a list of pages");
    Apply(where, "Pages", [&] { tabs->SetTabs(static_cast<int>(pages.size())); });
    for (int page = 0; page < tabs->Tabs(); ++page) {
      const json& entry = pages[static_cast<size_t>(page)];
      const std::string at = where + " > page " + std::to_string(page);
      if (!entry.is_object()) BadLayout(at, "a page is not a JSON object");
      for (const auto& [key, value] : entry.items()) {
        if (key == "Caption" && value.is_string()) {
          tabs->SetTabCaption(page, value.get<std::string>());
        } else if ((key == "Enabled" || key == "Visible") && value.is_boolean()) {
          (key == "Enabled") ? tabs->SetTabEnabled(page, value.get<bool>()) : tabs->SetTabVisible(page, value.get<bool>());
        } else if (key != "Controls") {
          BadLayout(at, "unknown or mistyped page key '" + key + "'");
        }
      }
    }
  }

  void LoadPageControls(Control& tabs, const json& pages, const std::string& where) {
    for (size_t page = 0; page < pages.size(); ++page) {
      if (pages[page].contains("Controls")) {
        LoadList(pages[page]["Controls"], &tabs, static_cast<int>(page), where + " > page " + std::to_string(page));
      }
    }
  }

  // Sizes come last, so an AutoSize label ends up fitting its caption in its own font.
  void FitAutoSizedLabels() {
    for (const BuiltControl& built : built_.controls) {
      auto* label = dynamic_cast<Label*>(built.control.get());
      if (label && label->AutoSize()) label->SetCaption(label->Caption());
    }
  }

  // Default and Cancel each mark one button of a form: the last one the layout marks.
  void KeepLastMark(bool (CommandButton::*marked)() const noexcept, void (CommandButton::*setMark)(bool)) {
    CommandButton* last = nullptr;
    for (const BuiltControl& built : built_.controls) {
      auto* button = dynamic_cast<CommandButton*>(built.control.get());
      if (!button || !(button->*marked)()) continue;
      if (last) (last->*setMark)(false);
      last = button;
    }
  }

  std::optional<float> ReadClientSize(const json& layout, const char* key, const std::string& where) {
    if (!layout.contains(key)) return std::nullopt;
    const json& value = layout[key];
    if (!value.is_number() || value.get<double>() < 0) {
      BadLayout(where, std::string(key) + " must be a number of twips");
    }
    return value.get<float>();
  }

  Form& form_;
  BuiltLayout built_;
  std::map<std::string, std::set<int>> indexesByName_;  // lower-case name → indexes, -1 a single control
};

}  // namespace

[[noreturn]] void BadLayout(const std::string& where, const std::string& reason) {
  throw rt::Error(err::BadLayout, "forms", "Layout " + where + ": " + reason);
}

BuiltLayout BuildLayout(Form& form) {
  auto& layouts = Registry().layouts;
  auto it = layouts.find(Lower(form.Name()));
  if (it == layouts.end()) BadLayout(form.Name(), "there is no layout for this form");
  json layout;
  try {
    layout = json::parse(it->second);
  } catch (const json::parse_error& e) {
    BadLayout(form.Name(), std::string("the JSON does not parse: ") + e.what());
  }
  return Loader(form).LoadForm(layout);
}

void RegisterLayout(std::string name, std::string json) { Registry().layouts[Lower(name)] = std::move(json); }

std::optional<std::string> PictureSvg(std::string_view name) {
  auto it = Registry().pictures.find(Lower(name));
  if (it == Registry().pictures.end()) return std::nullopt;
  return it->second;
}

std::optional<PictureSize> PictureSizeOf(std::string_view name) {
  auto svg = PictureSvg(name);
  if (!svg) return std::nullopt;
  static const std::regex root(R"(<svg\b[^>]*>)");
  static const std::regex width(R"(\bwidth\s*=\s*"(\d+)(px)?")");
  static const std::regex height(R"(\bheight\s*=\s*"(\d+)(px)?")");
  std::smatch tag, w, h;
  if (!std::regex_search(*svg, tag, root)) return std::nullopt;
  std::string head = tag.str();
  if (!std::regex_search(head, w, width) || !std::regex_search(head, h, height)) return std::nullopt;
  return PictureSize{std::stoi(w[1].str()), std::stoi(h[1].str())};
}

}  // namespace forms
