#pragma once

// Late-bound properties and methods of controls and forms, by their toolkit names: one table that
// serves Invoke (automation, code that reaches members by name), the layout loader and Describe.

#include <functional>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "forms/control.h"
#include "forms/form.h"

namespace forms {

template <class Owner>
struct Property {
  std::string_view name;
  std::function<rt::Variant(const Owner&)> get;
  std::function<void(Owner&, const rt::Variant&)> let;          // empty: read-only (error 383)
  std::function<nlohmann::json(const Owner&)> toJson;
  std::function<void(Owner&, const nlohmann::json&)> fromJson;  // empty: not set by a layout
};

// Properties with a page or item index: List(i), TabCaption(i), ...
struct IndexedProperty {
  std::string_view name;
  std::function<int(const Control&)> count;
  std::function<rt::Variant(const Control&, int)> get;
  std::function<void(Control&, int, const rt::Variant&)> let;
  std::function<nlohmann::json(const Control&, int)> toJson;
};

const std::vector<Property<Control>>& PropertiesOf(Kind kind);
const std::vector<IndexedProperty>& IndexedPropertiesOf(Kind kind);
const std::vector<Property<Form>>& FormProperties();

const Property<Control>* FindProperty(Kind kind, std::string_view name);  // case-insensitive
const Property<Form>* FindFormProperty(std::string_view name);

rt::Variant InvokeMember(Control& control, std::string_view member, rt::Object::CallKind kind,
                         std::vector<rt::Variant>& args);
rt::Variant InvokeMember(Form& form, std::string_view member, rt::Object::CallKind kind,
                         std::vector<rt::Variant>& args);

}  // namespace forms
