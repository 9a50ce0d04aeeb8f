#include "registry/handles.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <utility>

#include "registry/failure.h"
#include "registry/store.h"

namespace reg {
namespace {

// Handles count up and are never given out twice, so a stale handle can't reach another key.
constexpr uint32_t kFirstHandle = 0x100;
constexpr uint32_t kHandleStep = 4;

std::map<HKEY, OpenKey> g_openKeys;
uint32_t g_nextHandle = kFirstHandle;
std::string g_lastFailure;

const Root* FindRoot(HKEY handle) {
  for (const Root& root : kRoots) {
    if (root.handle == handle) return &root;
  }
  return nullptr;
}

template <class AnyHives>  // const or not
auto& KeyIn(AnyHives& hives, const OpenKey& key) {
  auto* found = Descend(hives.*(FindRoot(key.root)->key), key.path);
  if (found == nullptr) Refuse(ERROR_KEY_DELETED, "The key \"" + PathText(key) + "\" has been deleted");
  return *found;
}

}  // namespace

OpenKey Resolve(HKEY handle) {
  if (FindRoot(handle) != nullptr) return OpenKey{handle, {}, KEY_ALL_ACCESS};
  auto found = g_openKeys.find(handle);
  if (found == g_openKeys.end()) Refuse(ERROR_INVALID_HANDLE);
  return found->second;
}

void Require(const OpenKey& key, REGSAM needed) {
  if ((key.access & needed) != needed) {
    Refuse(ERROR_ACCESS_DENIED, "The key \"" + PathText(key) + "\" was not opened with the right to do this");
  }
}

HKEY Register(OpenKey key) {
  HKEY handle{g_nextHandle};
  g_nextHandle += kHandleStep;
  g_openKeys.emplace(handle, std::move(key));
  return handle;
}

bool Close(HKEY handle) { return FindRoot(handle) != nullptr || g_openKeys.erase(handle) == 1; }

Path ParsePath(const char* subKey) {
  std::string_view text = subKey == nullptr ? "" : subKey;
  if (!text.empty() && text.back() == '\\') text.remove_suffix(1);
  Path path;
  while (!text.empty()) {
    std::string_view name = text.substr(0, text.find('\\'));
    if (name.empty()) Refuse(ERROR_BAD_PATHNAME, "The key path \"" + std::string(subKey) + "\" has an empty name in it");
    // A char, not a one-letter string: GCC 12 at -O3 warns falsely (-Wrestrict) on "x" + a temporary string.
    if (!IsKeyName(name)) Refuse(ERROR_INVALID_PARAMETER, '"' + std::string(name) + "\" is not a valid key name");
    path.emplace_back(name);
    text.remove_prefix(std::min(text.size(), name.size() + 1));
  }
  return path;
}

OpenKey Child(const OpenKey& parent, const Path& sub, REGSAM access) {
  OpenKey child{parent.root, parent.path, access};
  child.path.insert(child.path.end(), sub.begin(), sub.end());
  if (child.path.size() > static_cast<size_t>(kDeepestKey)) {
    Refuse(ERROR_BAD_PATHNAME, "Keys lie at most " + std::to_string(kDeepestKey) + " levels deep");
  }
  return child;
}

std::string PathText(const OpenKey& key) {
  std::string text = FindRoot(key.root)->name;
  for (const std::string& name : key.path) text += "\\" + name;
  return text;
}

Key& KeyOf(Hives& hives, const OpenKey& key) { return KeyIn(hives, key); }

const Key& KeyOf(const Hives& hives, const OpenKey& key) { return KeyIn(hives, key); }

LONG Guarded(const std::function<LONG()>& body) {
  LONG status = ERROR_SUCCESS;
  try {
    status = body();
    g_lastFailure = status == ERROR_SUCCESS ? std::string() : StatusText(status);
  } catch (const Failure& failure) {
    status = failure.Status();
    g_lastFailure = failure.what();
  } catch (const std::exception& failure) {
    status = ERROR_REGISTRY_IO_FAILED;
    g_lastFailure = failure.what();
  }
  return status;
}

const std::string& LastFailure() { return g_lastFailure; }

void Reset() {
  g_openKeys.clear();
  g_lastFailure.clear();
  store::Forget();
}

}  // namespace reg
