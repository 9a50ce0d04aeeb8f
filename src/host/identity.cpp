#include "host/identity.h"

#include "forms/app.h"

namespace host {

void SetApplicationIdentity() {
  auto& app = forms::App();
  app.SetTitle(ApplicationTitle);
  app.SetProductName(ProductName);
  app.SetFileDescription(FileDescription);
  app.SetVersion(VersionMajor, VersionMinor);
}

}  // namespace host
