#pragma once

#include <functional>
#include <optional>

#include "runtime/error.h"

namespace rt {

// What a procedure's error handler does after a failing numbered step.
enum class Resume {
  Next,   // go on with the next statement (Resume Next; also "Ignore")
  Retry,  // run the failed statement again ("Retry")
  Exit,   // leave the procedure ("Abort"): every later step is skipped
};

// Runs a procedure's numbered statements the way "On Error Resume Next"-style handlers do: a
// failing step reports its line number and error to the handler, then the procedure goes on
// as the handler says. Steps run at once, in the order the procedure calls them.
class Steps {
 public:
  using Handler = std::function<Resume(int line, const Error& error)>;
  using Logger = std::function<void(int line, const Error& error)>;

  explicit Steps(Handler handler);
  // A handler that only logs and always goes on with the next statement.
  static Steps LogAndResumeNext(Logger log);

  // Runs one numbered statement.
  void operator()(int line, const std::function<void()>& statement);
  // A numbered branch test. A failing test takes its branch, as resume-next does: returns true.
  bool If(int line, const std::function<bool()>& test);
  // A numbered statement that yields a value; `fallback` when it fails.
  template <class T>
  T Get(int line, const std::function<T()>& expression, T fallback) {
    T result = std::move(fallback);
    (*this)(line, [&] { result = expression(); });
    return result;
  }

  bool Exited() const noexcept { return exited_; }
  // The last error a step raised since the start or the last ClearError (the "Err" object).
  const std::optional<Error>& LastError() const noexcept { return lastError_; }
  void ClearError() noexcept { lastError_.reset(); }

 private:
  Handler handler_;
  bool exited_ = false;
  std::optional<Error> lastError_;
};

}  // namespace rt
