#include "host/resource_catalog.h"

#include <functional>

#include "forms/msgbox.h"
#include "host/cregistry.h"
#include "host/network_registration.h"
#include "lns/catalog/catalog.h"
#include "runtime/steps.h"
#include "runtime/variant.h"

namespace host {

namespace {

constexpr const char* LonWorksKey = "SOFTWARE\\LonWorks";
constexpr const char* LonWorksPathValue = "LonWorks Path";
constexpr const char* TypesFolder = "\\Types";
constexpr const char* ResourceBase = "\\types\\User\\Tarsen\\TarsenSCC_FCU";
constexpr const char* ResourceProgramIdTemplate = "80071A5501000000";
constexpr int16_t ResourceSelector = 4;
constexpr int16_t LookUpKind = 3;
constexpr int16_t FirstOccurrence = 0;
constexpr const char* LonWorksUnknown =
    "The LonWorks folder is not known: the registry value \"LonWorks Path\" under "
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\LonWorks is missing or empty.";
constexpr const char* RemoteWarning =
    "Register this Plug-In on the LNS Server computer to ensure all resource files required by this Plug-In are "
    "available to the server. Failure to do so may cause unexpected errors.";

rt::Resume AskAbortRetryIgnore(int, const rt::Error& error) {
  switch (forms::MsgBox(error.Description(), forms::vbAbortRetryIgnore | forms::vbCritical)) {
    case forms::vbRetry:
      return rt::Resume::Retry;
    case forms::vbIgnore:
      return rt::Resume::Next;
    default:
      return rt::Resume::Exit;
  }
}

// Without the folder there is no catalog to open; the user may fix the installation and retry.
std::string RequireLonWorksPath() {
  std::string folder = LonWorksPath();
  if (folder.empty()) rt::Raise(rt::err::PathNotFound, {}, LonWorksUnknown);
  return folder;
}

// Everything before the last backslash.
std::string FolderOf(const std::string& path) {
  const size_t at = path.rfind('\\');
  return at == std::string::npos ? std::string() : path.substr(0, at);
}

// One use of the catalog: its object, its handle and the status of its last call.
struct CatalogUse {
  rt::Steps step{AskAbortRetryIgnore};
  rt::Ref<lns::ResourceCatalog> catalog;
  int32_t handle = 0;
  int32_t status = lns::catalog_status::Success;

  // Runs a numbered step; false when the user chose Abort.
  bool Run(int line, const std::function<void()>& statement) {
    step(line, statement);
    return !step.Exited();
  }
  bool Succeeded() const { return !step.Exited() && status == lns::catalog_status::Success; }

  bool Open(int16_t mode) {
    std::string lonWorks;
    Run(1, [&] { lonWorks = RequireLonWorksPath(); });
    Run(2, [&] { catalog = std::make_shared<lns::ResourceCatalog>(); });
    Run(3, [&] { catalog->Open(lonWorks + TypesFolder, mode, handle, status); });
    return Succeeded();
  }

  void Find(const ResourceEntry& entry) {
    std::string fileName;
    int32_t version = 0;
    int32_t scope = 0;
    Run(5, [&] {
      catalog->Find(handle, entry.ProgramIdTemplate, entry.Selector, LookUpKind, FirstOccurrence, fileName, version,
                    scope, status);
    });
  }

  bool FindsAll() {
    for (const ResourceEntry& entry : g_Resources) {
      Find(entry);
      if (!Succeeded()) return false;
    }
    return true;
  }

  // A folder the catalog does not know yet is added and stored.
  bool KnowsOrAddsAll() {
    for (const ResourceEntry& entry : g_Resources) {
      Find(entry);
      if (!step.Exited() && status == lns::catalog_status::NotFound) {
        Run(6, [&] { catalog->AddDirectory(handle, FolderOf(entry.Path), status); });
        if (Succeeded()) Run(7, [&] { catalog->Update(handle, status); });
      }
      if (!Succeeded()) return false;
    }
    return true;
  }

  bool Close() {
    Run(8, [&] { catalog->Close(handle, status); });
    return Succeeded();
  }

  // The failure step: the catalog is closed, whatever that answers, and released.
  bool Fail() {
    if (catalog) {
      int32_t ignored = 0;
      catalog->Close(handle, ignored);
      catalog.Reset();
    }
    return false;
  }
};

}  // namespace

std::string LonWorksPath() { return CRegistry().get_MachineSetting(LonWorksKey, LonWorksPathValue); }

void InitResourceTable() {
  g_Resources[0] = {LonWorksPath() + ResourceBase, ResourceProgramIdTemplate, ResourceSelector};
}

bool AddResourcesToCatalog() {
  CatalogUse use;
  const bool added =
      use.Open(lns::CatalogOpenForChange) && use.Run(4, InitResourceTable) && use.KnowsOrAddsAll() && use.Close() &&
      (!g_Remote || use.Run(9, [] { forms::MsgBox(RemoteWarning, forms::vbOKOnly | forms::vbExclamation); }));
  return added || use.Fail();
}

bool CheckResourceFiles() {
  if (g_ResourcesChecked) return true;
  CatalogUse use;
  const bool found = use.Open(lns::CatalogOpenForReading) && use.FindsAll() && use.Close();
  g_ResourcesChecked = found ? rt::VbTrue : rt::VbFalse;
  return found || use.Fail();
}

}  // namespace host
