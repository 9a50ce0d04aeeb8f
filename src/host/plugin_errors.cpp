#include "host/plugin_errors.h"

#include "host/identity.h"
#include "runtime/error.h"

namespace host {

void RaisePlugInError(int32_t number, const std::string& description) { rt::Raise(number, PlugInName, description); }

}  // namespace host
