#include "runtime/steps.h"

namespace rt {

Steps::Steps(Handler handler) : handler_(std::move(handler)) {}

Steps Steps::LogAndResumeNext(Logger log) {
  return Steps([log = std::move(log)](int line, const Error& error) {
    log(line, error);
    return Resume::Next;
  });
}

void Steps::operator()(int line, const std::function<void()>& statement) {
  while (!exited_) {
    try {
      statement();
      return;
    } catch (...) {
      lastError_ = AsError(std::current_exception());
      switch (handler_(line, *lastError_)) {
        case Resume::Next:
          return;
        case Resume::Retry:
          continue;
        case Resume::Exit:
          exited_ = true;
          return;
      }
    }
  }
}

bool Steps::If(int line, const std::function<bool()>& test) {
  bool taken = true;
  (*this)(line, [&] { taken = test(); });
  return taken && !exited_;
}

}  // namespace rt
