#include "runtime/members.h"

namespace rt {

const Variant& Arg(const Args& args, size_t index) {
  if (index >= args.size()) Raise(err::ArgumentNotOptional);
  return args[index];
}

const Variant& AssignedValue(const Args& args) {
  if (args.empty()) Raise(err::ArgumentNotOptional);
  return args.back();
}

bool KindFits(CallKind declared, CallKind asked) {
  auto readLike = [](CallKind kind) { return kind == CallKind::Get || kind == CallKind::Method; };
  return declared == asked || (readLike(declared) && readLike(asked));
}

}  // namespace rt
