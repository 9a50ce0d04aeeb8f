#include "lns/catalog/catalog.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include "lns/calls/faults.h"
#include "lns/calls/journal.h"
#include "process/files.h"
#include "process/paths.h"
#include "runtime/error.h"
#include "runtime/file_writer.h"
#include "runtime/text.h"

namespace lns {
namespace fs = std::filesystem;
using namespace catalog_status;
using V = rt::Variant;

namespace {

constexpr const char* kCatalogHeader = "orvex resource catalog 1";
constexpr std::string_view kFolderKeyword = "folder ";

struct DigitRange {
  size_t first;
  size_t count;
};

// Which digits of a program ID a scope compares (see the table in the header).
constexpr DigitRange kScopeDigits[] = {{0, 0}, {6, 4}, {6, 6}, {0, 6}, {0, 10}, {0, 12}, {0, 16}};

int32_t NextHandle() {
  static int32_t last = 0;
  return ++last;
}

struct OpenResourceFile {
  std::string name;  // as it was opened
  ResourceFileContent content;
};

// The resource files open in this process, by handle: FunctionalProfileLookup reads what
// ResourceFile opened.
std::map<int32_t, OpenResourceFile>& OpenResourceFiles() {
  static std::map<int32_t, OpenResourceFile> files;
  return files;
}

bool IsScope(int16_t scope) { return scope >= 0 && scope < static_cast<int16_t>(std::size(kScopeDigits)); }

// A subject that concerns the program IDs a template serves at a scope.
CatalogSubject SubjectServing(const std::string& programIdTemplate, int16_t scope) {
  CatalogSubject subject;
  subject.serves = [programIdTemplate, scope](const std::string& programId) {
    return TemplateServes(programIdTemplate, scope, programId);
  };
  subject.scope = scope;
  return subject;
}

CatalogSubject SubjectOf(const std::string& fileName, const ResourceFileContent* content) {
  CatalogSubject subject = content ? SubjectServing(content->programIdTemplate, content->scope) : CatalogSubject{};
  subject.file = fileName;
  return subject;
}

// A resource file open in this process; nullptr for an unknown handle.
const OpenResourceFile* OpenFile(int32_t fileHandle) {
  const auto file = OpenResourceFiles().find(fileHandle);
  return file == OpenResourceFiles().end() ? nullptr : &file->second;
}

CatalogSubject SubjectOf(const OpenResourceFile* file) {
  return file ? SubjectOf(file->name, &file->content) : CatalogSubject{};
}

using FaultReport = std::function<void(const CatalogFault&)>;

// One call of the catalog: journaled, and checked against the fault rules first. A status fault
// reports its status instead of the work (and `reported` fills in the outputs it gives); an error
// fault raises. The work sets `status`.
template <class Work>
void RunCall(CatalogCall call, std::string arguments, const CatalogSubject& subject, int32_t& status, Work&& work,
             const FaultReport& reported = {}) {
  const std::string name = CatalogCallName(call);
  const size_t dot = name.find('.');
  JournalEntry entry;
  entry.path = name.substr(0, dot);
  entry.member = name.substr(dot + 1);
  entry.kind = rt::Object::CallKind::Method;
  entry.arguments = std::move(arguments);
  const int64_t sequence = AppendJournal(std::move(entry));
  try {
    const std::optional<CatalogFault> fault = TakeCatalogFault(call, subject);
    if (!fault) {
      work();
    } else if (fault->status) {
      status = *fault->status;
      if (reported) reported(*fault);
    } else {
      RaiseFault(fault->error, "injected on " + name);
    }
  } catch (...) {
    MarkJournalFailure(sequence, rt::AsError(std::current_exception()).Number());
    throw;
  }
  MarkJournalStatus(sequence, status);
}

bool Carries(const ResourceFileContent& file, int16_t kind) {
  return std::find(file.kinds.begin(), file.kinds.end(), kind) != file.kinds.end();
}

std::optional<ResourceFileContent> ReadResourceFile(const fs::path& path) {
  const std::optional<std::string> text = proc::ReadWholeFile(path);
  return text ? ParseResourceFile(*text) : std::nullopt;
}

std::vector<fs::path> ResourceFilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  try {
    for (const proc::DirEntry& entry : proc::ListDirectory(folder.string(), std::string("*") + ResourceFileExtension)) {
      if (!entry.isDirectory) files.push_back(folder / entry.name);
    }
  } catch (const rt::Error&) {
    // An unreadable folder holds nothing the catalog can use.
  }
  return files;
}

fs::path CatalogFile(const fs::path& typesFolder) { return typesFolder / CatalogFileName; }

// Folders inside the types folder are kept relative to it, so the installation can move.
std::string StoredFolder(const fs::path& typesFolder, const fs::path& folder) {
  const fs::path relative = folder.lexically_relative(typesFolder);
  const bool inside = !relative.empty() && *relative.begin() != "..";
  return (inside ? relative : folder).generic_string();
}

fs::path LoadedFolder(const fs::path& typesFolder, const std::string& stored) {
  const fs::path folder(stored);
  return (folder.is_absolute() ? folder : typesFolder / folder).lexically_normal();
}

// The catalogued folders; nothing when the file is damaged. A missing file catalogues none.
std::optional<std::vector<fs::path>> ReadCatalogFolders(const fs::path& typesFolder) {
  std::error_code ec;
  if (!fs::exists(CatalogFile(typesFolder), ec)) return std::vector<fs::path>{};
  const std::optional<std::string> text = proc::ReadWholeFile(CatalogFile(typesFolder));
  if (!text) return std::nullopt;
  std::istringstream in(*text);
  std::string line;
  if (!std::getline(in, line) || line != kCatalogHeader) return std::nullopt;
  std::vector<fs::path> folders;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    if (!line.starts_with(kFolderKeyword) || line.size() == kFolderKeyword.size()) return std::nullopt;
    folders.push_back(LoadedFolder(typesFolder, line.substr(kFolderKeyword.size())));
  }
  return folders;
}

bool WriteCatalogFolders(const fs::path& typesFolder, const std::vector<fs::path>& folders) {
  std::string text = std::string(kCatalogHeader) + "\n";
  for (const fs::path& folder : folders) text += std::string(kFolderKeyword) + StoredFolder(typesFolder, folder) + "\n";
  return !rt::ReplaceFile(CatalogFile(typesFolder), text);
}

void AddOnce(std::vector<fs::path>& folders, const fs::path& folder) {
  if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
}

// Holds the types folder's lock file while a catalog is stored, so concurrent updates join.
class CatalogLock {
 public:
  explicit CatalogLock(const fs::path& typesFolder)
      : fd_(open((typesFolder / ".ResourceCatalog.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    if (fd_ >= 0) flock(fd_, LOCK_EX);
  }
  CatalogLock(const CatalogLock&) = delete;
  CatalogLock& operator=(const CatalogLock&) = delete;
  ~CatalogLock() {
    if (fd_ >= 0) close(fd_);
  }
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_;
};

// The look-up in the types folder, then in the catalogued folders.
int32_t Look(const fs::path& typesFolder, const std::vector<fs::path>& catalogued, const std::string& programId,
             int16_t scope, int16_t kind, int16_t occurrence, std::string& fileName, int32_t& version,
             int32_t& foundScope) {
  std::vector<fs::path> folders{typesFolder};
  for (const fs::path& folder : catalogued) AddOnce(folders, folder);
  int16_t skip = occurrence;
  for (const fs::path& folder : folders) {
    for (const fs::path& path : ResourceFilesIn(folder)) {
      const std::optional<ResourceFileContent> file = ReadResourceFile(path);
      const bool fits = file && file->scope == scope && Carries(*file, kind) &&
                        TemplateServes(file->programIdTemplate, scope, programId);
      if (!fits) continue;
      if (skip-- > 0) continue;
      fileName = path.string();
      version = file->version;
      foundScope = file->scope;
      return Success;
    }
  }
  return NotFound;
}

// Stores the catalogued folders joined with those stored meanwhile, and takes them all.
int32_t Store(const fs::path& typesFolder, std::vector<fs::path>& catalogued) {
  const CatalogLock lock(typesFolder);
  if (!lock.Held()) return WriteFailed;
  std::optional<std::vector<fs::path>> stored = ReadCatalogFolders(typesFolder);
  if (!stored) return Damaged;
  for (const fs::path& folder : catalogued) AddOnce(*stored, folder);
  if (!WriteCatalogFolders(typesFolder, *stored)) return WriteFailed;
  catalogued = std::move(*stored);
  return Success;
}

}  // namespace

void ResourceCatalog::Open(const std::string& typesFolder, int16_t mode, int32_t& handle, int32_t& status) {
  handle = 0;
  RunCall(CatalogCall::CatalogOpen, ArgumentText({V::String(typesFolder), V::Integer(mode)}), {}, status, [&] {
    if (mode != CatalogOpenForChange && mode != CatalogOpenForReading) {
      status = InvalidArgument;
      return;
    }
    const fs::path folder = proc::ResolvePath(typesFolder).lexically_normal();
    if (!proc::IsDirectory(folder.string())) {
      status = FolderNotFound;
      return;
    }
    std::optional<std::vector<fs::path>> folders = ReadCatalogFolders(folder);
    if (!folders) {
      status = Damaged;
      return;
    }
    handle = NextHandle();
    open_[handle] = OpenCatalog{folder, mode, std::move(*folders)};
    status = Success;
  });
}

void ResourceCatalog::Find(int32_t handle, const std::string& programId, int16_t scope, int16_t kind,
                           int16_t occurrence, std::string& fileName, int32_t& version, int32_t& foundScope,
                           int32_t& status) {
  fileName.clear();
  version = 0;
  foundScope = 0;
  const bool known = IsProgramIdText(programId) && IsScope(scope);
  const auto catalog = open_.find(handle);
  const auto reportFound = [&](const CatalogFault& fault) {
    if (fault.foundFile.empty()) return;
    const fs::path found(fault.foundFile);
    const bool relative = found.is_relative() && catalog != open_.end();
    fileName = (relative ? catalog->second.typesFolder / found : found).string();
    foundScope = scope;
  };
  RunCall(
      CatalogCall::CatalogFind,
      ArgumentText({V::Long(handle), V::String(programId), V::Integer(scope), V::Integer(kind), V::Integer(occurrence)}),
      known ? SubjectServing(programId, scope) : CatalogSubject{}, status,
      [&] {
        if (catalog == open_.end()) {
          status = InvalidHandle;
        } else if (!known || !IsResourceKind(kind) || occurrence < 0) {
          status = InvalidArgument;
        } else {
          status = Look(catalog->second.typesFolder, catalog->second.folders, programId, scope, kind, occurrence,
                        fileName, version, foundScope);
        }
      },
      reportFound);
}

void ResourceCatalog::AddDirectory(int32_t handle, const std::string& folder, int32_t& status) {
  RunCall(CatalogCall::CatalogAddDirectory, ArgumentText({V::Long(handle), V::String(folder)}), {}, status,
          [&] {
            const auto catalog = open_.find(handle);
            if (catalog == open_.end()) {
              status = InvalidHandle;
            } else if (catalog->second.mode != CatalogOpenForChange) {
              status = ReadOnly;
            } else if (folder.find_first_of("\r\n") != std::string::npos) {
              status = InvalidArgument;  // the catalog keeps one folder a line
            } else if (!proc::IsDirectory(folder)) {
              status = FolderNotFound;
            } else {
              AddOnce(catalog->second.folders, proc::ResolvePath(folder).lexically_normal());
              status = Success;
            }
          });
}

void ResourceCatalog::Update(int32_t handle, int32_t& status) {
  RunCall(CatalogCall::CatalogUpdate, ArgumentText({V::Long(handle)}), {}, status, [&] {
    const auto catalog = open_.find(handle);
    if (catalog == open_.end()) {
      status = InvalidHandle;
    } else if (catalog->second.mode != CatalogOpenForChange) {
      status = ReadOnly;
    } else {
      status = Store(catalog->second.typesFolder, catalog->second.folders);
    }
  });
}

void ResourceCatalog::Close(int32_t handle, int32_t& status) {
  RunCall(CatalogCall::CatalogClose, ArgumentText({V::Long(handle)}), {}, status,
          [&] { status = open_.erase(handle) == 1 ? Success : InvalidHandle; });
}

ResourceFile::~ResourceFile() {
  for (int32_t handle : handles_) OpenResourceFiles().erase(handle);
}

void ResourceFile::Open(const std::string& fileName, int16_t kind, int32_t version, int16_t mode,
                        int32_t& fileHandle, int32_t& status) {
  fileHandle = 0;
  const bool exists = !fileName.empty() && proc::FileExists(fileName);
  std::optional<ResourceFileContent> file = exists ? ReadResourceFile(proc::ResolvePath(fileName)) : std::nullopt;
  RunCall(CatalogCall::FileOpen,
          ArgumentText({V::String(fileName), V::Integer(kind), V::Long(version), V::Integer(mode)}),
          SubjectOf(fileName, file ? &*file : nullptr), status, [&] {
            if (!IsResourceKind(kind) || mode != 0 || version < 0) {
              status = InvalidArgument;
            } else if (!exists) {
              status = NotFound;
            } else if (!file) {
              status = Damaged;
            } else if (!Carries(*file, kind)) {
              status = NotFound;
            } else if (version != 0 && version != file->version) {
              status = VersionMismatch;
            } else {
              fileHandle = NextHandle();
              OpenResourceFiles()[fileHandle] = {fileName, std::move(*file)};
              handles_.push_back(fileHandle);
              status = Success;
            }
          });
}

void ResourceFile::Close(int32_t fileHandle, int32_t& status) {
  RunCall(CatalogCall::FileClose, ArgumentText({V::Long(fileHandle)}), SubjectOf(OpenFile(fileHandle)), status,
          [&] {
            const auto mine = std::find(handles_.begin(), handles_.end(), fileHandle);
            if (mine == handles_.end()) {
              status = InvalidHandle;
              return;
            }
            handles_.erase(mine);
            OpenResourceFiles().erase(fileHandle);
            status = Success;
          });
}

void FunctionalProfileLookup::Find(int32_t fileHandle, int16_t typeIndex, FunctionalProfile& profile,
                                   int32_t& status) {
  profile = FunctionalProfile{};
  const OpenResourceFile* file = OpenFile(fileHandle);
  CatalogSubject subject = SubjectOf(file);
  subject.typeIndex = typeIndex;
  RunCall(CatalogCall::ProfileFind, ArgumentText({V::Long(fileHandle), V::Integer(typeIndex)}), subject, status,
          [&] {
            if (!file) {
              status = InvalidHandle;
              return;
            }
            const auto& profiles = file->content.profiles;
            const auto found = std::find_if(profiles.begin(), profiles.end(),
                                            [typeIndex](const FunctionalProfile& p) { return p.index == typeIndex; });
            if (found == profiles.end()) {
              status = NotFound;
              return;
            }
            profile = *found;
            status = Success;
          });
}

bool TemplateServes(const std::string& programIdTemplate, int16_t scope, const std::string& programId) {
  if (!IsScope(scope) || !IsProgramIdText(programIdTemplate) || !IsProgramIdText(programId)) return false;
  const DigitRange digits = kScopeDigits[scope];
  return rt::EqualsNoCase(programIdTemplate.substr(digits.first, digits.count), programId.substr(digits.first, digits.count));
}

}  // namespace lns
