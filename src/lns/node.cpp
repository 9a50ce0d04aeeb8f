#include "lns/node.h"

namespace lns {
namespace detail {

int64_t BeginCall(const Node& node, std::string_view member, CallKind kind, std::string arguments) {
  JournalEntry entry;
  entry.path = node.Path();
  entry.member = std::string(member);
  entry.kind = kind;
  entry.arguments = arguments;
  int64_t sequence = AppendJournal(std::move(entry));
  if (auto error = TakeMemberFault(node.AsCallTarget(), member, kind, arguments)) {
    MarkJournalFailure(sequence, error->number);
    RaiseFault(*error, "injected on " + std::string(member));
  }
  return sequence;
}

void CallFailed(int64_t sequence, std::exception_ptr failure) {
  MarkJournalFailure(sequence, rt::AsError(failure).Number());
}

}  // namespace detail

std::string Node::Path() const {
  auto parent = ParentNode();
  return parent ? parent->Path() + "/" + Segment() : Segment();
}

rt::ObjectRef Node::get_Parent() {
  return Call("Parent", CallKind::Get, [&]() -> rt::ObjectRef {
    auto parent = ParentNode();
    if (!parent) Fail(err::ObjectNotFound, Segment() + " has no parent");
    return parent;
  });
}

rt::Variant Node::Invoke(std::string_view member, CallKind kind, Args& args) {
  static const rt::Members<Node> members{rt::Get("Parent", &Node::get_Parent)};
  return members.Invoke(*this, member, kind, args);
}

void Node::CheckAccess(std::string_view) const { Db().RequireAccess(); }

void Node::BringUpToDate() const {
  if (auto database = database_.lock()) database->Refresh();
}

Database& Node::Db() const {
  auto database = database_.lock();
  if (!database) Fail(err::NotOpen, Segment());
  return *database;
}

std::shared_ptr<PlaceholderCollection> MakePlaceholders(const std::shared_ptr<Node>& parent, std::string name) {
  auto collection = std::make_shared<PlaceholderCollection>(parent->DatabaseRef(), std::move(name), NameMatch::Exact);
  collection->Attach(parent);
  return collection;
}

}  // namespace lns
