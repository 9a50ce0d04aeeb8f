#include "forms/properties.h"

#include <cmath>
#include <limits>
#include <type_traits>

#include "forms/controls_command.h"
#include "forms/controls_drawing.h"
#include "forms/controls_text.h"
#include "runtime/members.h"
#include "runtime/text.h"

namespace forms {
namespace {

using nlohmann::json;
using rt::Variant;
using CallKind = rt::Object::CallKind;

[[noreturn]] void Expects(const char* what) { throw rt::Error(rt::err::TypeMismatch, {}, std::string("expects ") + what); }

// Conversions of one property value type between the model, Variants and layout JSON.
template <class V>
struct Conv;

template <>
struct Conv<bool> {
  static Variant ToVariant(bool v) { return Variant::Boolean(v); }
  static bool FromVariant(const Variant& v) { return v.ToBoolean(); }
  static json ToJson(bool v) { return v; }
  static bool FromJson(const json& j) {
    if (!j.is_boolean()) Expects("true or false");
    return j.get<bool>();
  }
};

template <>
struct Conv<int> {
  static Variant ToVariant(int v) { return Variant::Long(v); }
  static int FromVariant(const Variant& v) { return v.ToLong(); }
  static json ToJson(int v) { return v; }
  static int FromJson(const json& j) {
    if (!j.is_number_integer()) Expects("a whole number");
    auto v = j.get<int64_t>();
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) Expects("a smaller number");
    return static_cast<int>(v);
  }
};

template <>
struct Conv<float> {
  static Variant ToVariant(float v) { return Variant::Double(v); }
  static float FromVariant(const Variant& v) {
    double d = v.ToDouble();
    if (!std::isfinite(d) || std::fabs(d) > std::numeric_limits<float>::max()) throw rt::Error(rt::err::Overflow);
    return static_cast<float>(d);
  }
  static json ToJson(float v) { return v; }
  static float FromJson(const json& j) {
    if (!j.is_number()) Expects("a number");
    return static_cast<float>(j.get<double>());
  }
};

template <>
struct Conv<double> {
  static Variant ToVariant(double v) { return Variant::Double(v); }
  static double FromVariant(const Variant& v) { return v.ToDouble(); }
  static json ToJson(double v) { return v; }
  static double FromJson(const json& j) {
    if (!j.is_number()) Expects("a number");
    return j.get<double>();
  }
};

template <>
struct Conv<std::string> {
  static Variant ToVariant(const std::string& v) { return Variant::String(v); }
  static std::string FromVariant(const Variant& v) { return v.ToString(); }
  static json ToJson(const std::string& v) { return v; }
  static std::string FromJson(const json& j) {
    if (!j.is_string()) Expects("a text");
    return j.get<std::string>();
  }
};

template <>
struct Conv<OleColor> {
  static Variant ToVariant(OleColor c) { return Variant::Long(static_cast<int32_t>(c.value)); }
  static OleColor FromVariant(const Variant& v) {
    if (v.IsString()) {
      auto parsed = ParseColor(v.ToString());
      if (!parsed) throw rt::Error(rt::err::TypeMismatch);
      return *parsed;
    }
    double d = v.ToDouble();
    if (d < std::numeric_limits<int32_t>::min() || d > 0xFFFFFFFFu || d != std::floor(d)) {
      throw rt::Error(rt::err::InvalidPropertyValue);
    }
    return OleColor{d < 0 ? static_cast<uint32_t>(static_cast<int32_t>(d)) : static_cast<uint32_t>(d)};
  }
  static json ToJson(OleColor c) { return ColorText(c); }
  static OleColor FromJson(const json& j) {
    if (j.is_number_unsigned()) return OleColor{static_cast<uint32_t>(j.get<uint64_t>())};
    if (!j.is_string()) Expects("a colour (\"#RRGGBB\", a system colour name or \"&H00BBGGRR&\")");
    auto parsed = ParseColor(j.get<std::string>());
    if (!parsed) Expects("a colour (\"#RRGGBB\", a system colour name or \"&H00BBGGRR&\")");
    return *parsed;
  }
};

enum class Access { ReadWrite, DesignOnly, RuntimeOnly };

template <class Owner, class T, class Get, class Set>
Property<Owner> MakeProperty(std::string_view name, Get get, Set set, Access access) {
  using V = std::decay_t<std::invoke_result_t<Get, const T&>>;
  Property<Owner> p;
  p.name = name;
  p.get = [get](const Owner& o) { return Conv<V>::ToVariant(std::invoke(get, static_cast<const T&>(o))); };
  p.toJson = [get](const Owner& o) { return Conv<V>::ToJson(std::invoke(get, static_cast<const T&>(o))); };
  if constexpr (!std::is_same_v<Set, std::nullptr_t>) {
    if (access != Access::DesignOnly) {
      p.let = [set](Owner& o, const Variant& v) { std::invoke(set, static_cast<T&>(o), Conv<V>::FromVariant(v)); };
    }
    if (access != Access::RuntimeOnly) {
      p.fromJson = [set](Owner& o, const json& j) { std::invoke(set, static_cast<T&>(o), Conv<V>::FromJson(j)); };
    }
  }
  return p;
}

// A control property of kind T.
template <class T, class Get, class Set = std::nullptr_t>
Property<Control> P(std::string_view name, Get get, Set set = nullptr, Access access = Access::ReadWrite) {
  return MakeProperty<Control, T>(name, get, set, access);
}

template <class Get, class Set = std::nullptr_t>
Property<Form> F(std::string_view name, Get get, Set set = nullptr, Access access = Access::ReadWrite) {
  return MakeProperty<Form, Form>(name, get, set, access);
}

// Font members as separate properties, as the toolkit's FontName, FontSize, FontBold, ...
template <class Owner, class V>
Property<Owner> FontMember(std::string_view name, V Font::*member) {
  return MakeProperty<Owner, Owner>(
      name, [member](const Owner& o) { return o.GetFont().*member; },
      [member](Owner& o, V v) {
        Font font = o.GetFont();
        font.*member = std::move(v);
        o.SetFont(std::move(font));
      },
      Access::ReadWrite);
}

template <class Owner>
std::vector<Property<Owner>> FontProperties() {
  return {FontMember<Owner>("FontName", &Font::name), FontMember<Owner>("FontSize", &Font::size),
          FontMember<Owner>("FontBold", &Font::bold), FontMember<Owner>("FontItalic", &Font::italic),
          FontMember<Owner>("FontUnderline", &Font::underline)};
}

using Props = std::vector<Property<Control>>;

void Append(Props& to, const Props& more) { to.insert(to.end(), more.begin(), more.end()); }

Props Identity() {
  return {P<Control>("Name", &Control::Name), P<Control>("Index", &Control::Index),
          P<Control>("Tag", &Control::Tag, &Control::SetTag)};
}
Props Geometry() {
  return {P<Control>("Left", &Control::Left, &Control::SetLeft), P<Control>("Top", &Control::Top, &Control::SetTop),
          P<Control>("Width", &Control::Width, &Control::SetWidth),
          P<Control>("Height", &Control::Height, &Control::SetHeight)};
}
Props Visibility() { return {P<Control>("Visible", &Control::Visible, &Control::SetVisible)}; }
Props Enabling() { return {P<Control>("Enabled", &Control::Enabled, &Control::SetEnabled)}; }
Props ToolTip() { return {P<Control>("ToolTipText", &Control::ToolTipText, &Control::SetToolTipText)}; }
Props TabOrder() {
  return {P<Control>("TabIndex", &Control::TabIndex, &Control::SetTabIndex),
          P<Control>("TabStop", &Control::TabStop, &Control::SetTabStop),
          P<Control>("CausesValidation", &Control::CausesValidation, &Control::SetCausesValidation)};
}
Props Colors(bool fore) {
  Props p{P<Control>("BackColor", &Control::BackColor, &Control::SetBackColor)};
  if (fore) p.push_back(P<Control>("ForeColor", &Control::ForeColor, &Control::SetForeColor));
  return p;
}

// The common properties of a visible, focusable control with text.
Props Windowed(bool fore) {
  Props p = Identity();
  for (const auto& group : {Geometry(), Visibility(), Enabling(), ToolTip(), TabOrder(), Colors(fore),
                            FontProperties<Control>()}) {
    Append(p, group);
  }
  return p;
}

Props TextProperties() {
  return {P<TextControl>("Text", &TextControl::Text, &TextControl::SetText),
          P<TextControl>("SelStart", &TextControl::SelStart, &TextControl::SetSelStart),
          P<TextControl>("SelLength", &TextControl::SelLength, &TextControl::SetSelLength),
          P<TextControl>("Locked", &TextControl::Locked, &TextControl::SetLocked)};
}

Props Build(Kind kind) {
  Props p;
  switch (kind) {
    case Kind::Label:
      p = Identity();
      for (const auto& group : {Geometry(), Visibility(), Enabling(), ToolTip(), Colors(true), FontProperties<Control>()}) {
        Append(p, group);
      }
      p.push_back(P<Control>("TabIndex", &Control::TabIndex, &Control::SetTabIndex));
      Append(p, {P<Label>("Caption", &Label::Caption, &Label::SetCaption),
                 P<Label>("Alignment", &Label::Alignment, &Label::SetAlignment),
                 P<Label>("AutoSize", &Label::AutoSize, &Label::SetAutoSize),
                 P<Label>("WordWrap", &Label::WordWrap, &Label::SetWordWrap),
                 P<Label>("BackStyle", &Label::BackStyle, &Label::SetBackStyle),
                 P<Label>("BorderStyle", &Label::BorderStyle, &Label::SetBorderStyle)});
      break;
    case Kind::TextBox:
      p = Windowed(true);
      Append(p, TextProperties());
      Append(p, {P<TextBox>("Alignment", &TextBox::Alignment, &TextBox::SetAlignment),
                 P<TextBox>("BorderStyle", &TextBox::BorderStyle, &TextBox::SetBorderStyle)});
      break;
    case Kind::ComboBox:
      p = Windowed(true);
      Append(p, TextProperties());
      Append(p, {P<ComboBox>("Style", &ComboBox::Style, &ComboBox::SetStyle),
                 P<ComboBox>("ListCount", &ComboBox::ListCount),
                 P<ComboBox>("ListIndex", &ComboBox::ListIndex, &ComboBox::SetListIndex)});
      break;
    case Kind::ListBox:
      p = Windowed(true);
      Append(p, {P<ListBox>("ListCount", &ListBox::ListCount),
                 P<ListBox>("ListIndex", &ListBox::ListIndex, &ListBox::SetListIndex),
                 P<ListBox>("Text", &ListBox::Text), P<ListBox>("TopIndex", &ListBox::TopIndex, &ListBox::SetTopIndex)});
      break;
    case Kind::CommandButton:
      p = Windowed(false);
      Append(p, {P<CommandButton>("Caption", &CommandButton::Caption, &CommandButton::SetCaption),
                 P<CommandButton>("Default", &CommandButton::Default, &CommandButton::SetDefault),
                 P<CommandButton>("Cancel", &CommandButton::Cancel, &CommandButton::SetCancel)});
      break;
    case Kind::Frame:
      p = Identity();
      for (const auto& group : {Geometry(), Visibility(), Enabling(), ToolTip(), Colors(true), FontProperties<Control>()}) {
        Append(p, group);
      }
      Append(p, {P<Frame>("Caption", &Frame::Caption, &Frame::SetCaption),
                 P<Frame>("BorderStyle", &Frame::BorderStyle, &Frame::SetBorderStyle)});
      break;
    case Kind::PictureBox:
      p = Windowed(true);
      Append(p, {P<PictureBox>("Picture", &PictureBox::Picture, &PictureBox::SetPicture),
                 P<PictureBox>("BorderStyle", &PictureBox::BorderStyle, &PictureBox::SetBorderStyle)});
      break;
    case Kind::Image:
      p = Identity();
      for (const auto& group : {Geometry(), Visibility(), Enabling(), ToolTip()}) Append(p, group);
      Append(p, {P<Image>("Picture", &Image::Picture, &Image::SetPicture),
                 P<Image>("Stretch", &Image::Stretch, &Image::SetStretch),
                 P<Image>("BorderStyle", &Image::BorderStyle, &Image::SetBorderStyle)});
      break;
    case Kind::Line:
      p = Identity();
      Append(p, Visibility());
      Append(p, {P<Line>("X1", &Line::X1, &Line::SetX1), P<Line>("Y1", &Line::Y1, &Line::SetY1),
                 P<Line>("X2", &Line::X2, &Line::SetX2), P<Line>("Y2", &Line::Y2, &Line::SetY2),
                 P<Line>("BorderWidth", &Line::BorderWidth, &Line::SetBorderWidth),
                 P<Line>("BorderStyle", &Line::BorderStyle, &Line::SetBorderStyle),
                 P<Line>("BorderColor", &Line::BorderColor, &Line::SetBorderColor)});
      break;
    case Kind::Shape:
      p = Identity();
      for (const auto& group : {Geometry(), Visibility(), Colors(false)}) Append(p, group);
      Append(p, {P<Shape>("Shape", &Shape::ShapeKind, &Shape::SetShapeKind),
                 P<Shape>("FillStyle", &Shape::FillStyle, &Shape::SetFillStyle),
                 P<Shape>("FillColor", &Shape::FillColor, &Shape::SetFillColor),
                 P<Shape>("BackStyle", &Shape::BackStyle, &Shape::SetBackStyle),
                 P<Shape>("BorderColor", &Shape::BorderColor, &Shape::SetBorderColor),
                 P<Shape>("BorderWidth", &Shape::BorderWidth, &Shape::SetBorderWidth),
                 P<Shape>("BorderStyle", &Shape::BorderStyle, &Shape::SetBorderStyle)});
      break;
    case Kind::Timer:
      p = Identity();
      Append(p, Enabling());
      p.push_back(P<Timer>("Interval", &Timer::Interval, &Timer::SetInterval));
      break;
    case Kind::TabControl:
      p = Windowed(true);
      Append(p, {P<TabControl>("Tab", &TabControl::Tab, &TabControl::SetTab),
                 P<TabControl>("Tabs", &TabControl::Tabs, &TabControl::SetTabs),
                 P<TabControl>("TabHeight", &TabControl::TabHeight, &TabControl::SetTabHeight)});
      break;
    case Kind::Menu:
      p = Identity();
      for (const auto& group : {Visibility(), Enabling()}) Append(p, group);
      Append(p, {P<Menu>("Caption", &Menu::Caption, &Menu::SetCaption),
                 P<Menu>("Checked", &Menu::Checked, &Menu::SetChecked)});
      break;
    case Kind::CommonDialog:
      p = Identity();
      Append(p, {P<CommonDialog>("DialogTitle", &CommonDialog::DialogTitle, &CommonDialog::SetDialogTitle),
                 P<CommonDialog>("InitDir", &CommonDialog::InitDir, &CommonDialog::SetInitDir),
                 P<CommonDialog>("Filter", &CommonDialog::Filter, &CommonDialog::SetFilter),
                 P<CommonDialog>("FilterIndex", &CommonDialog::FilterIndex, &CommonDialog::SetFilterIndex),
                 P<CommonDialog>("Flags", &CommonDialog::Flags, &CommonDialog::SetFlags),
                 P<CommonDialog>("FileName", &CommonDialog::FileName, &CommonDialog::SetFileName),
                 P<CommonDialog>("FileTitle", &CommonDialog::FileTitle),
                 P<CommonDialog>("DefaultExt", &CommonDialog::DefaultExt, &CommonDialog::SetDefaultExt),
                 P<CommonDialog>("CancelError", &CommonDialog::CancelError, &CommonDialog::SetCancelError)});
      break;
    case Kind::ObjectControl:
      p = Identity();
      for (const auto& group : {Geometry(), Visibility(), Enabling()}) Append(p, group);
      p.push_back(P<ObjectControl>("ProgID", &ObjectControl::ProgID, &ObjectControl::SetProgID, Access::DesignOnly));
      break;
  }
  return p;
}

template <class T, class V>
IndexedProperty Indexed(std::string_view name, int (T::*count)() const, V (T::*get)(int) const,
                        void (T::*set)(int, std::decay_t<V>)) {
  using Value = std::decay_t<V>;
  IndexedProperty p;
  p.name = name;
  p.count = [count](const Control& c) { return (static_cast<const T&>(c).*count)(); };
  p.get = [get](const Control& c, int i) { return Conv<Value>::ToVariant((static_cast<const T&>(c).*get)(i)); };
  p.let = [set](Control& c, int i, const Variant& v) { (static_cast<T&>(c).*set)(i, Conv<Value>::FromVariant(v)); };
  p.toJson = [get](const Control& c, int i) { return Conv<Value>::ToJson((static_cast<const T&>(c).*get)(i)); };
  return p;
}

std::vector<IndexedProperty> BuildIndexed(Kind kind) {
  switch (kind) {
    case Kind::ComboBox:
      return {Indexed<ComboBox>("List", &ComboBox::ListCount, &ComboBox::List, &ComboBox::SetList)};
    case Kind::ListBox:
      return {Indexed<ListBox>("List", &ListBox::ListCount, &ListBox::List, &ListBox::SetList)};
    case Kind::TabControl:
      return {Indexed<TabControl>("TabCaption", &TabControl::Tabs, &TabControl::TabCaption, &TabControl::SetTabCaption),
              Indexed<TabControl>("TabEnabled", &TabControl::Tabs, &TabControl::TabEnabled, &TabControl::SetTabEnabled),
              Indexed<TabControl>("TabVisible", &TabControl::Tabs, &TabControl::TabVisible, &TabControl::SetTabVisible)};
    default:
      return {};
  }
}

using rt::Arg;
using MethodList = std::vector<rt::Member<Control>>;

int OptionalIndexArg(std::vector<Variant>& args, size_t i) { return i < args.size() ? args[i].ToLong() : -1; }

template <class T>
void AddListMethods(MethodList& methods) {
  methods.push_back(rt::Method("AddItem", [](Control& c, std::vector<Variant>& args) {
    static_cast<T&>(c).AddItem(Arg(args, 0).ToString(), OptionalIndexArg(args, 1));
  }));
  methods.push_back(rt::Method("RemoveItem", [](Control& c, std::vector<Variant>& args) {
    static_cast<T&>(c).RemoveItem(Arg(args, 0).ToLong());
  }));
  methods.push_back(rt::Method("Clear", [](Control& c) { static_cast<T&>(c).Clear(); }));
}

MethodList BuildMethods(Kind kind) {
  MethodList methods = {
      rt::Method("ZOrder",
                 [](Control& c, std::vector<Variant>& args) { c.ZOrder(args.empty() ? 0 : args[0].ToLong()); }),
      rt::Method("Move", [](Control& c, std::vector<Variant>& args) {
        float w = args.size() > 2 ? Conv<float>::FromVariant(args[2]) : c.Width();
        float h = args.size() > 3 ? Conv<float>::FromVariant(args[3]) : c.Height();
        float top = args.size() > 1 ? Conv<float>::FromVariant(args[1]) : c.Top();
        c.Move(Conv<float>::FromVariant(Arg(args, 0)), top, w, h);
      })};
  if (KindRaises(kind, Event::GotFocus)) methods.push_back(rt::Method("SetFocus", &Control::SetFocus));
  if (kind == Kind::ComboBox) AddListMethods<ComboBox>(methods);
  if (kind == Kind::ListBox) AddListMethods<ListBox>(methods);
  if (kind == Kind::CommonDialog) {
    methods.push_back(rt::Method("ShowOpen", [](Control& c) { static_cast<CommonDialog&>(c).ShowOpen(); }));
    methods.push_back(rt::Method("ShowSave", [](Control& c) { static_cast<CommonDialog&>(c).ShowSave(); }));
  }
  return methods;
}

constexpr size_t kKindCount = static_cast<size_t>(Kind::ObjectControl) + 1;

template <class Table, class Builder>
const Table& PerKind(Kind kind, Builder build) {
  static const std::vector<Table> tables = [&] {
    std::vector<Table> all;
    for (size_t i = 0; i < kKindCount; ++i) all.push_back(build(static_cast<Kind>(i)));
    return all;
  }();
  return tables[static_cast<size_t>(kind)];
}

std::vector<rt::Member<Form>> FormMethods() {
  return {rt::Method("Show",
                     [](Form& f, std::vector<Variant>& args) { f.Show(args.empty() ? vbModeless : args[0].ToLong()); }),
          rt::Method("Hide", &Form::Hide), rt::Method("SetFocus", &Form::SetFocus),
          rt::Method("Refresh", &Form::Refresh)};
}

template <class Item>
const Item* FindByName(const std::vector<Item>& items, std::string_view name) {
  for (const auto& item : items) {
    if (rt::EqualsNoCase(item.name, name)) return &item;
  }
  return nullptr;
}

[[noreturn]] void ReadOnly(std::string_view name) {
  throw rt::Error(err::PropertyReadOnly, {}, "'" + std::string(name) + "' property is read-only");
}

void RequireArguments(const std::vector<Variant>& args, size_t count) {
  if (args.size() != count) throw rt::Error(rt::err::WrongNumberOfArguments);
}

// A property by name: its Get, and a Let and a Set that a read-only property refuses.
template <class Owner>
void AddMembers(std::vector<rt::Member<Owner>>& to, const Property<Owner>& p) {
  to.push_back({std::string(p.name), CallKind::Get, [p](Owner& owner, std::vector<Variant>& args) {
                  RequireArguments(args, 0);
                  return p.get(owner);
                }});
  for (CallKind kind : {CallKind::Let, CallKind::Set}) {
    to.push_back({std::string(p.name), kind, [p](Owner& owner, std::vector<Variant>& args) {
                    RequireArguments(args, 1);
                    if (!p.let) ReadOnly(p.name);
                    p.let(owner, args[0]);
                    return Variant();
                  }});
  }
}

// An indexed property by name: Get with the index, Let with the index and the value.
void AddMembers(std::vector<rt::Member<Control>>& to, const IndexedProperty& p) {
  to.push_back({std::string(p.name), CallKind::Get, [p](Control& c, std::vector<Variant>& args) {
                  RequireArguments(args, 1);
                  return p.get(c, args[0].ToLong());
                }});
  to.push_back({std::string(p.name), CallKind::Let, [p](Control& c, std::vector<Variant>& args) {
                  RequireArguments(args, 2);
                  p.let(c, args[0].ToLong(), args[1]);
                  return Variant();
                }});
}

// The properties first, then the methods.
template <class Owner, class... Properties>
rt::Members<Owner> MembersFrom(std::vector<rt::Member<Owner>> methods, const Properties&... properties) {
  std::vector<rt::Member<Owner>> members;
  auto add = [&members](const auto& table) {
    for (const auto& property : table) AddMembers(members, property);
  };
  (add(properties), ...);
  members.insert(members.end(), methods.begin(), methods.end());
  return rt::Members<Owner>(std::move(members));
}

}  // namespace

const std::vector<Property<Control>>& PropertiesOf(Kind kind) { return PerKind<Props>(kind, Build); }

const std::vector<IndexedProperty>& IndexedPropertiesOf(Kind kind) {
  return PerKind<std::vector<IndexedProperty>>(kind, BuildIndexed);
}

const std::vector<Property<Form>>& FormProperties() {
  static const std::vector<Property<Form>> properties = [] {
    std::vector<Property<Form>> p = {
        F("Name", &Form::Name),
        F("Caption", &Form::Caption, &Form::SetCaption),
        F("Icon", &Form::Icon, &Form::SetIcon),
        F("BorderStyle", &Form::BorderStyle, &Form::SetBorderStyle, Access::DesignOnly),
        F("WindowState", &Form::WindowState, &Form::SetWindowState),
        F("Left", &Form::Left, &Form::SetLeft),
        F("Top", &Form::Top, &Form::SetTop),
        F("Width", &Form::Width, &Form::SetWidth),
        F("Height", &Form::Height, &Form::SetHeight),
        F("ScaleWidth", &Form::ScaleWidth),
        F("ScaleHeight", &Form::ScaleHeight),
        F("Visible", &Form::Visible, &Form::SetVisible, Access::RuntimeOnly),  // a layout never shows a form
        F("Tag", &Form::Tag, &Form::SetTag),
        F("LinkTopic", &Form::LinkTopic, &Form::SetLinkTopic),
        F("KeyPreview", &Form::KeyPreview, &Form::SetKeyPreview),
        F("BackColor", &Form::BackColor, &Form::SetBackColor),
        F("ForeColor", &Form::ForeColor, &Form::SetForeColor),
        F("StartUpPosition", &Form::StartUpPosition, &Form::SetStartUpPosition, Access::DesignOnly),
        F("ControlBox", &Form::ControlBox, &Form::SetControlBox, Access::DesignOnly),
        F("MinButton", &Form::MinButton, &Form::SetMinButton, Access::DesignOnly),
        F("MaxButton", &Form::MaxButton, &Form::SetMaxButton, Access::DesignOnly),
    };
    auto fonts = FontProperties<Form>();
    p.insert(p.end(), fonts.begin(), fonts.end());
    return p;
  }();
  return properties;
}

const Property<Control>* FindProperty(Kind kind, std::string_view name) { return FindByName(PropertiesOf(kind), name); }

const Property<Form>* FindFormProperty(std::string_view name) { return FindByName(FormProperties(), name); }

rt::Variant InvokeMember(Control& control, std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  const rt::Members<Control>& members = PerKind<rt::Members<Control>>(control.GetKind(), [](Kind k) {
    return MembersFrom<Control>(BuildMethods(k), PropertiesOf(k), IndexedPropertiesOf(k));
  });
  return members.Invoke(control, member, kind, args);
}

rt::Variant InvokeMember(Form& form, std::string_view member, CallKind kind, std::vector<rt::Variant>& args) {
  static const rt::Members<Form> members = MembersFrom<Form>(FormMethods(), FormProperties());
  return members.Invoke(form, member, kind, args);
}

}  // namespace forms
