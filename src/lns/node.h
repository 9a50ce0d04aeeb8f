#pragma once

#include <algorithm>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "lns/calls/errors.h"
#include "lns/calls/faults.h"
#include "lns/calls/journal.h"
#include "runtime/members.h"
#include "runtime/text.h"
#include "runtime/variant.h"

namespace lns {

using CallKind = rt::Object::CallKind;
using Args = std::vector<rt::Variant>;

class Interface;
class Node;

// Where objects keep their data: the Object Server's store or a network's database. Every change
// is one transaction: Begin takes the database's write lock and brings this process's objects up
// to date, the Write calls record what changed, Commit makes it lasting.
class Database {
 public:
  virtual ~Database() = default;
  // Raises err::NotOpen unless the objects of this database may be used now.
  virtual void RequireAccess() const = 0;
  // Takes in the changes that other processes have committed since the last look.
  virtual void Refresh() = 0;

  virtual void Begin() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() noexcept = 0;
  // An object's own fields, or a value.
  virtual void WriteFields(const Node& node) = 0;
  virtual void WriteAdded(const Node& collection, const Node& item) = 0;
  virtual void WriteRemoved(const Node& item) = 0;
  // A device template's fields and its new interface.
  virtual void WriteInterface(const Node& owner) = 0;

  // The stored interface of a device or device template.
  virtual std::shared_ptr<Interface> ReadInterface(const Node& owner) = 0;
};

namespace detail {
// Journals a member call and raises an injected fault for it; returns the journal sequence.
int64_t BeginCall(const Node& node, std::string_view member, CallKind kind, std::string arguments);
void CallFailed(int64_t sequence, std::exception_ptr failure);
}  // namespace detail

// Every object of the Object Server. Its members are C++ methods (get_X, put_X, putref_X and
// plain methods); each call is journaled, can be made to fail (faults.h), and raises rt::Error
// when it fails. Invoke reaches the same members by name at run time (runtime/members.h).
class Node : public rt::Object, public JournalNamed {
 public:
  explicit Node(std::weak_ptr<Database> database) : database_(std::move(database)) {}

  // The parent's path, "/" and this object's segment, as the journal and fault rules name it.
  std::string Path() const;
  CallTarget AsCallTarget() const {
    return {TypeName(), [this] { return Path(); }};
  }

  // The object that holds this one (a collection holds its items); error when there is none.
  rt::ObjectRef get_Parent();
  rt::Variant Invoke(std::string_view member, CallKind kind, Args& args) override;

  void Attach(const std::shared_ptr<Node>& parent) { parent_ = parent; }
  std::shared_ptr<Node> ParentNode() const { return parent_.lock(); }
  template <class T>
  std::shared_ptr<T> Ancestor() const {
    for (auto node = ParentNode(); node; node = node->ParentNode()) {
      if (auto found = std::dynamic_pointer_cast<T>(node)) return found;
    }
    return nullptr;
  }
  const std::weak_ptr<Database>& DatabaseRef() const noexcept { return database_; }

 protected:
  // Runs a member's body: journaled, checked against the fault rules and CheckAccess.
  template <class Body>
  auto Call(std::string_view member, CallKind kind, Body&& body, std::string arguments = {}) const {
    int64_t sequence = detail::BeginCall(*this, member, kind, std::move(arguments));
    try {
      CheckAccess(member);
      BringUpToDate();
      return body();
    } catch (...) {
      detail::CallFailed(sequence, std::current_exception());
      throw;
    }
  }
  // Raises unless `member` may be used now; by default the object's database must be open.
  virtual void CheckAccess(std::string_view member) const;
  Database& Db() const;
  // Takes in what other processes changed in this object's database, if it is open.
  void BringUpToDate() const;
  std::shared_ptr<Node> Self() const {
    return std::const_pointer_cast<Node>(std::static_pointer_cast<const Node>(shared_from_this()));
  }

  // Applies a change and writes the database in one transaction; when the write fails the change
  // is undone. `write` records the change (by default this object's fields).
  template <class Apply, class Undo, class Write>
  void Change(Apply&& apply, Undo&& undo, Write&& write) const {
    Database& db = Db();
    db.Begin();
    try {
      apply();
    } catch (...) {
      db.Rollback();
      throw;
    }
    try {
      write(db);
      db.Commit();
    } catch (...) {
      db.Rollback();
      undo();
      throw;
    }
  }
  template <class Apply, class Undo>
  void Change(Apply&& apply, Undo&& undo) const {
    Change(std::forward<Apply>(apply), std::forward<Undo>(undo), [this](Database& db) { db.WriteFields(*this); });
  }
  // Sets a field; a value the field holds already writes nothing.
  template <class T>
  void Assign(T& field, T value) const {
    Db().Refresh();
    if (field == value) return;
    T old;
    Change([&] { old = std::exchange(field, std::move(value)); }, [&] { field = std::move(old); });
  }

 private:
  std::weak_ptr<Database> database_;
  std::weak_ptr<Node> parent_;
};

// Name rule of a collection's Item.
enum class NameMatch { Exact, IgnoreCase };

// A collection: Count, and Item by 1-based position (a number) or by name (a text); a miss
// raises. T has `const std::string& Name() const`.
template <class T>
class Collection : public Node {
 public:
  using ItemType = T;
  Collection(std::weak_ptr<Database> database, std::string name, NameMatch match,
             int32_t missError = err::ObjectNotFound)
      : Node(std::move(database)), name_(std::move(name)), match_(match), missError_(missError) {}

  std::string Segment() const override { return name_; }

  int32_t get_Count() const {
    return Call("Count", CallKind::Get, [&] { return static_cast<int32_t>(items_.size()); });
  }
  std::shared_ptr<T> Item(const rt::Variant& key) const {
    return Call("Item", CallKind::Method, [&] { return items_[IndexOf(key)]; }, ArgumentText({key}));
  }

  rt::Variant Invoke(std::string_view member, CallKind kind, Args& args) override {
    static const rt::Members<Collection> members{
        rt::Get("Count", &Collection::get_Count),
        rt::Get("Item", [](Collection& c, Args& a) { return c.Item(rt::Arg(a, 0)); }),
        rt::Get("", [](Collection& c, Args& a) { return c.Item(rt::Arg(a, 0)); }),
    };
    return members.template Invoke<Node>(*this, member, kind, args);
  }

  // The C++ side, not journaled. Items are a snapshot: another process's additions and removals
  // reach the collection at the calls that follow.
  std::vector<std::shared_ptr<T>> Items() const { return items_; }
  std::shared_ptr<T> Find(std::string_view name) const {
    for (const auto& item : items_) {
      if (NameFits(item->Name(), name)) return item;
    }
    return nullptr;
  }
  // Lists an item that another collection holds (a view such as a template's devices).
  void Include(std::shared_ptr<T> item) { items_.push_back(std::move(item)); }
  // Takes an item in without writing the database (loading, building); a name the collection
  // holds already is refused with std::invalid_argument.
  void Adopt(std::shared_ptr<T> item) {
    if (Find(item->Name())) throw std::invalid_argument(name_ + " holds \"" + item->Name() + "\" twice");
    item->Attach(std::static_pointer_cast<Node>(shared_from_this()));
    items_.push_back(std::move(item));
  }
  // Takes the items as the database holds them now (loading, another process's changes).
  void Replace(std::vector<std::shared_ptr<T>> items) {
    for (const auto& item : items) item->Attach(std::static_pointer_cast<Node>(shared_from_this()));
    items_ = std::move(items);
  }

 protected:
  size_t IndexOf(const rt::Variant& key) const {
    if (key.IsNumeric()) {
      double position = key.ToDouble();
      if (position >= 1 && position <= static_cast<double>(items_.size()) && position == static_cast<int64_t>(position)) {
        return static_cast<size_t>(position) - 1;
      }
      Fail(missError_, name_ + " item " + key.ToString());
    }
    if (!key.IsString()) Fail(err::InvalidArgument, name_ + " item of type " + key.TypeName());
    std::string name = key.ToString();
    for (size_t i = 0; i < items_.size(); ++i) {
      if (NameFits(items_[i]->Name(), name)) return i;
    }
    Fail(missError_, name_ + " item \"" + name + "\"");
  }
  bool NameFits(std::string_view stored, std::string_view wanted) const {
    return match_ == NameMatch::IgnoreCase ? rt::EqualsNoCase(stored, wanted) : stored == wanted;
  }
  // Adds an item and writes the database.
  void Insert(std::shared_ptr<T> item) {
    item->Attach(std::static_pointer_cast<Node>(shared_from_this()));
    Change([&] { items_.push_back(item); }, [&] { std::erase(items_, item); },
           [&](Database& db) { db.WriteAdded(*this, *item); });
  }
  // Removes an item and writes the database.
  void EraseAt(size_t index) {
    auto item = items_[index];
    std::ptrdiff_t at = -1;
    Change(
        [&] {
          auto found = std::find(items_.begin(), items_.end(), item);
          if (found == items_.end()) return;  // another process removed it already
          at = found - items_.begin();
          items_.erase(found);
        },
        [&] {
          if (at >= 0) items_.insert(items_.begin() + at, item);
        },
        [&](Database& db) { db.WriteRemoved(*item); });
  }

 private:
  std::string name_;
  NameMatch match_;
  int32_t missError_;
  std::vector<std::shared_ptr<T>> items_;
};

// A member that the plug-in only walks through (routers, channels, subnets, ...): an object
// with a name and nothing else.
class Placeholder : public Node {
 public:
  Placeholder(std::weak_ptr<Database> database, std::string name) : Node(std::move(database)), name_(std::move(name)) {}
  std::string Segment() const override { return name_; }
  const std::string& Name() const noexcept { return name_; }

 private:
  std::string name_;
};

using PlaceholderCollection = Collection<Placeholder>;

// An empty collection of that name under `parent`.
std::shared_ptr<PlaceholderCollection> MakePlaceholders(const std::shared_ptr<Node>& parent, std::string name);

}  // namespace lns
