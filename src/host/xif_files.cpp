#include "host/xif_files.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

#include "forms/event_loop.h"
#include "forms/msgbox.h"
#include "host/connection.h"
#include "host/hidden_window.h"
#include "host/network_commands.h"
#include "host/network_registration.h"
#include "host/resource_catalog.h"
#include "lns/server.h"
#include "process/files.h"
#include "process/paths.h"
#include "process/program.h"
#include "process/windows.h"
#include "runtime/error.h"
#include "runtime/text.h"

namespace host {

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t ProgramIdLineNumber = 4;
constexpr int ProgramIdFields = 8;
constexpr size_t FieldStep = 3;
constexpr const char* XifExtension = ".XIF";
constexpr const char* XifPattern = "*.xif";
constexpr const char* ConversionTool = "\\bin\\XIF32BIN";
constexpr const char* WorkingTitle = "XIF32BIN";
constexpr const char* FinishedTitle = "Finished - XIF32BIN";
constexpr int MaxXfbPasses = 1000;
constexpr auto PassPause = std::chrono::milliseconds(10);

std::vector<std::string> TextLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

bool IsFile(const std::string& storedPath) {
  std::error_code ec;
  return std::filesystem::is_regular_file(storedPath, ec);
}

// Only the lines up to the program ID's are read: an XIF file's declarations can be long.
std::vector<std::string> ReadLeadingLines(const std::string& storedPath) {
  const std::optional<std::string> text = proc::ReadFirstLines(storedPath, ProgramIdLineNumber + 1);
  if (!text) rt::Raise(IsFile(storedPath) ? rt::err::PathFileAccessError : rt::err::FileNotFound);
  return TextLines(*text);
}

// The line that carries the program ID: line 4, or line 5 when line 4 is blank.
std::string ProgramIdLine(const std::vector<std::string>& lines) {
  if (lines.size() < ProgramIdLineNumber) rt::Raise(rt::err::InputPastEndOfFile);
  const std::string& line = lines[ProgramIdLineNumber - 1];
  if (!rt::Trim(line).empty()) return line;
  if (lines.size() <= ProgramIdLineNumber) rt::Raise(rt::err::InputPastEndOfFile);
  return lines[ProgramIdLineNumber];
}

// One or two hexadecimal digits; error 13 for anything else.
int HexNumber(const std::string& digits) {
  if (digits.empty() || digits.size() > 2) rt::Raise(rt::err::TypeMismatch);
  int value = 0;
  for (const char c : rt::UCase(digits)) {
    const size_t place = std::string_view("0123456789ABCDEF").find(c);
    if (place == std::string_view::npos) rt::Raise(rt::err::TypeMismatch);
    value = value * 16 + static_cast<int>(place);
  }
  return value;
}

bool IsTextProgramId(const std::string& line) { return line.empty() || static_cast<unsigned char>(line[0]) < '8'; }

std::string TextCharacter(const std::string& field) {
  return field == "00" ? std::string(" ") : std::string(1, static_cast<char>(HexNumber(field)));
}

std::string ProgramIdOfFile(const std::string& storedPath) {
  const std::string line = ProgramIdLine(ReadLeadingLines(storedPath));
  const bool textId = IsTextProgramId(line);
  std::string programId;
  for (int field = 0; field < ProgramIdFields; ++field) {
    const std::string digits = rt::Mid(line, 1 + FieldStep * static_cast<size_t>(field), 2);
    programId += textId ? TextCharacter(digits) : digits;
  }
  if (textId) programId += std::string(ProgramIdFields, ' ');
  return programId;
}

std::optional<std::string> ProgramIdOf(const std::string& storedPath) {
  try {
    return ProgramIdOfFile(storedPath);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

bool LastByteFits(const std::string& programId, int wantedLastByte) {
  try {
    const int lastByte = HexNumber(rt::Right(programId, 2));
    return lastByte == wantedLastByte || lastByte <= LastStandardIndex;
  } catch (const std::exception&) {
    return false;
  }
}

// A folder of the search: named as the caller spelled it, which the path found keeps, and as
// stored, so that only the root is resolved.
struct SearchFolder {
  std::string named;
  std::string stored;

  std::string StoredPathOf(const std::string& name) const { return stored.empty() ? name : stored + "/" + name; }
};

std::vector<proc::DirEntry> EntriesOf(const SearchFolder& folder) {
  try {
    return proc::ListStoredDirectory(folder.stored);
  } catch (const std::exception&) {
    return {};
  }
}

bool IsXifFile(const proc::DirEntry& entry) {
  return !entry.isDirectory && proc::WildcardMatch(XifPattern, entry.name);
}

// Links are not entered, so a link back up the tree cannot make the search run in a circle.
bool IsSubfolder(const proc::DirEntry& entry) {
  return entry.isDirectory && !entry.isLink && entry.name.front() != '.';
}

std::string MatchingFileIn(const SearchFolder& folder, const std::vector<proc::DirEntry>& entries,
                           const std::string& prefix, int wantedLastByte) {
  for (const proc::DirEntry& entry : entries) {
    if (!IsXifFile(entry)) continue;
    const std::optional<std::string> programId = ProgramIdOf(folder.StoredPathOf(entry.name));
    if (programId && rt::Left(*programId, ProgramIdBaseLength) == prefix && LastByteFits(*programId, wantedLastByte)) {
      return folder.named + entry.name;
    }
  }
  return "";
}

// One listing per folder serves both its files and, after them, its subfolders.
std::string SearchTree(const SearchFolder& folder, const std::string& prefix, int wantedLastByte) {
  const std::vector<proc::DirEntry> entries = EntriesOf(folder);
  std::string found = MatchingFileIn(folder, entries, prefix, wantedLastByte);
  for (const proc::DirEntry& entry : entries) {
    if (!found.empty()) break;
    if (!IsSubfolder(entry)) continue;
    found = SearchTree({folder.named + entry.name + "\\", folder.StoredPathOf(entry.name)}, prefix, wantedLastByte);
  }
  return found;
}

std::string XfbPathOf(const std::string& xifPath) {
  const size_t length = rt::Len(xifPath);
  return rt::Left(xifPath, length - std::min<size_t>(3, length)) + "XFB";
}

bool FileThere(const std::string& path) { return proc::FileExists(proc::ResolvePath(path).string()); }

proc::WindowHandle WindowTitled(const char* title) {
  try {
    return proc::FindWindow(title);
  } catch (const std::exception&) {
    return 0;
  }
}

std::optional<proc::Program> StartTool(const std::string& xifPath, const std::string& xfbPath) {
  try {
    return proc::Program::Start({LonWorksPath() + ConversionTool, xifPath, xfbPath});
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

bool Running(std::optional<proc::Program>& tool) { return tool && !tool->Wait(std::chrono::milliseconds(0)); }

// The tool shows "XIF32BIN" while it converts and "Finished - XIF32BIN" when done; until its first
// window shows, the running tool counts as working.
bool ToolWorking(std::optional<proc::Program>& tool) {
  return WindowTitled(WorkingTitle) != 0 || (Running(tool) && WindowTitled(FinishedTitle) == 0);
}

// One pass of a wait on another program: what is pending runs, then real time passes.
void PacedPass() {
  forms::DoEvents();
  std::this_thread::sleep_for(PassPause);
}

void CloseFinishedTool() {
  const proc::WindowHandle finished = WindowTitled(FinishedTitle);
  if (finished == 0) return;
  try {
    proc::PostMessage(finished, proc::WM_CLOSE, 1, 1);
  } catch (const std::exception&) {
    // The tool ends by itself after a while; the XFB file is what counts.
  }
}

void RunConversionTool(std::string& xifPath, const std::string& xfbPath) {
  std::optional<proc::Program> tool = StartTool(xifPath, xfbPath);
  if (!tool) xifPath.clear();
  const auto deadline = Clock::now() + g_XifToolTimeLimit;
  while (ToolWorking(tool) && Clock::now() < deadline) PacedPass();
  CloseFinishedTool();
  for (int pass = 0;
       pass < MaxXfbPasses && !xifPath.empty() && !FileThere(xfbPath) && Running(tool) && Clock::now() < deadline;
       ++pass) {
    PacedPass();
  }
}

std::string XifSearchRoot() {
  try {
    return g_System->get_XifSearchRoot();
  } catch (const std::exception&) {
    return g_XifDir;
  }
}

}  // namespace

std::string ReadXifProgramId(const std::string& path) {
  if (rt::UCase(rt::Right(path, 4)) != XifExtension) return "";
  return ProgramIdOfFile(proc::ResolvePath(path).string());
}

std::string FindXifInTree(const std::string& folder, std::string& wanted) {
  wanted = rt::UCase(wanted);
  return SearchTree({folder, proc::ResolvePath(folder).string()}, rt::Left(wanted, ProgramIdBaseLength),
                    HexNumber(rt::Right(wanted, 2)));
}

bool IsDirectory(const std::string& path) { return proc::IsDirectory(path); }

std::string FindXifFile(std::string& wanted) {
  wanted = rt::UCase(wanted);
  if (!g_Remote) g_XifDir = XifSearchRoot();
  // Without a root there is no tree to search: the user is asked instead.
  if (g_XifDir.empty()) return "";
  std::string found;
  try {
    found = FindXifInTree(g_XifDir + "\\", wanted);
  } catch (const std::exception&) {
    return "";
  }
  return found.empty() ? "" : ConvertXifToXfb(found);
}

void GetXifFromUser(std::string& xifPath, std::string& wanted) {
  xifPath.clear();
  auto hidden = forms::New<fHidden>();
  hidden->Load();
  std::string chosen = hidden->DlgXIF(g_XifDir, wanted);
  hidden->Unload();
  hidden.reset();
  if (!chosen.empty()) xifPath = ConvertXifToXfb(chosen);
}

std::string ConvertXifToXfb(std::string& xifPath) {
  if (!FileThere(xifPath)) return xifPath;
  const std::string xfbPath = XfbPathOf(xifPath);
  if (!FileThere(xfbPath)) RunConversionTool(xifPath, xfbPath);
  if (xifPath.empty() || !FileThere(xfbPath)) {
    xifPath.clear();
    forms::MsgBox("The file " + xfbPath + " could not be found.", forms::vbOKOnly | forms::vbCritical,
                  "Cannot Export Database");
  }
  return xifPath;
}

}  // namespace host
