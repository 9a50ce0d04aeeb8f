#pragma once

#include <memory>
#include <string>

#include "lns/node.h"
#include "lns/stored.h"

namespace lns {

// A network interface through which the Object Server reaches a network (as "LON1").
class NetworkInterface : public Node, public Stored {
 public:
  NetworkInterface(std::weak_ptr<Database> database, std::string name) : Node(std::move(database)), name_(std::move(name)) {}
  std::string TypeName() const override { return "NetworkInterface"; }
  std::string Segment() const override { return "NetworkInterface:" + name_; }
  const std::string& Name() const noexcept { return name_; }

  std::string get_Name() const { return Call("Name", CallKind::Get, [&] { return name_; }); }
  rt::Variant Invoke(std::string_view member, CallKind kind, Args& args) override;

  nlohmann::json Fields() const override;
  void TakeFields(const nlohmann::json& fields) override;
  static std::shared_ptr<NetworkInterface> FromFields(std::weak_ptr<Database> database, const nlohmann::json& fields);

 protected:
  // A name only: readable wherever the interface was handed out (an attachment before its
  // system opens, a server after it closed).
  void CheckAccess(std::string_view) const override {}

 private:
  std::string name_;
};

// Interface names compare without regard to case, as the names of the machine's ports do.
class NetworkInterfaces : public Collection<NetworkInterface> {
 public:
  explicit NetworkInterfaces(std::weak_ptr<Database> database)
      : Collection(std::move(database), "NetworkInterfaces", NameMatch::IgnoreCase, err::InterfaceNotFound) {}
  std::string TypeName() const override { return "NetworkInterfaces"; }
  // Adds an interface and writes the store, unless one of that name is there.
  void AddNew(const std::string& name) {
    if (!Find(name)) Insert(std::make_shared<NetworkInterface>(DatabaseRef(), name));
  }
};

}  // namespace lns
