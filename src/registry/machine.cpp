#include "registry/machine.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

#include "runtime/error.h"

namespace reg {
namespace fs = std::filesystem;

namespace {

const char* Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

fs::path HomeFolder() {
  if (const char* home = Environment("HOME")) return home;
  const passwd* user = getpwuid(getuid());
  if (user == nullptr || user->pw_dir == nullptr) {
    rt::Raise(rt::err::PathNotFound, "reg.MachineFolder", "No home folder: set ORVEX_MACHINE to the machine folder");
  }
  return user->pw_dir;
}

// The XDG rules ignore a relative XDG_DATA_HOME.
fs::path DataHome() {
  const char* xdg = Environment("XDG_DATA_HOME");
  if (xdg != nullptr && fs::path(xdg).is_absolute()) return xdg;
  return HomeFolder() / ".local" / "share";
}

fs::path ChosenFolder() {
  if (const char* chosen = Environment("ORVEX_MACHINE")) return chosen;
  return DataHome() / "orvexuc_fcu" / "machine";
}

[[noreturn]] void CannotBeMade(const fs::path& chosen, const std::error_code& failure) {
  rt::Raise(rt::err::PathNotFound, "reg.MachineFolder",
            "The machine folder \"" + chosen.string() + "\" cannot be made: " + failure.message());
}

}  // namespace

fs::path MachineFolder() {
  const fs::path chosen = ChosenFolder();
  std::error_code failure;
  fs::path folder = fs::absolute(chosen, failure);
  if (failure) CannotBeMade(chosen, failure);
  return folder;
}

fs::path MadeMachineFolder() {
  const fs::path folder = MachineFolder();
  std::error_code failure;
  fs::create_directories(folder, failure);
  if (!failure && !fs::is_directory(folder, failure)) failure = std::make_error_code(std::errc::not_a_directory);
  if (failure) CannotBeMade(folder, failure);
  return folder;
}

}  // namespace reg
