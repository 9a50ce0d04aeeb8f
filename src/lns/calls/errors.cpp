#include "lns/calls/errors.h"

#include <map>

namespace lns {

std::string ErrorDescription(int32_t number) {
  static const std::map<int32_t, std::string> texts = {
      {err::ObjectNotFound, "Object not found"},
      {err::NotOpen, "The object is not open"},
      {err::NameExists, "An object of this name already exists"},
      {err::FormatNotSupported, "Format not supported"},
      {err::InvalidValue, "Invalid value"},
      {err::EngineeredMode, "Not available in engineered mode"},
      {err::DatabaseDamaged, "The database is damaged"},
      {err::InterfaceNotFound, "Network interface not found"},
      {err::InvalidArgument, "Invalid argument"},
      {err::InjectedFault, "Injected fault"},
      {err::RemoteNotAllowed, "Remote cannot change while the Object Server is open"},
      {err::DeviceNotResponding, "The device is not responding"},
  };
  auto it = texts.find(number);
  return it != texts.end() ? it->second : rt::ErrorText(number);
}

void Fail(int32_t number, const std::string& detail) {
  std::string description = ErrorDescription(number);
  if (!detail.empty()) description += ": " + detail;
  throw rt::Error(number, ErrorSource, description);
}

}  // namespace lns
