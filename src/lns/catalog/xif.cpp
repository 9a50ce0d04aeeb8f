#include "lns/catalog/xif.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "lns/calls/errors.h"
#include "lns/values/fcu_unit.h"
#include "runtime/file_writer.h"
#include "runtime/text.h"

namespace lns {
namespace {

constexpr size_t ProgramIdFields = 8;
constexpr size_t ProgramIdLineLength = ProgramIdFields * 3 - 1;

std::string Field(const std::string& text) {
  if (text.empty()) return "-";
  if (text.find_first_of(" \t\r\n") != std::string::npos) Fail(err::InvalidValue, "\"" + text + "\" cannot stand in an XIF field");
  return text;
}

std::string PointFields(const PointDecl& point) {
  return Field(point.name) + " " + Field(point.type) + " " + Field(point.format) + " " + Field(HexText(point.bytes));
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word == "-" ? "" : word);
  return words;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// Parses declarations into the decl, line by line.
class DeclarationReader {
 public:
  explicit DeclarationReader(InterfaceDecl& decl) : decl_(decl) {}

  void Read(const std::string& line, size_t number) {
    number_ = number;
    auto words = Words(line);
    if (words.empty() || words[0].starts_with('#')) return;
    const std::string& keyword = words[0];
    if (keyword == "lonmark") return LonMark(words);
    if (keyword == "nv") return Variable(words);
    if (keyword == "cp") return Property(words);
    Refuse("unknown declaration \"" + keyword + "\"");
  }

 private:
  void LonMark(const std::vector<std::string>& words) {
    Expect(words, 4);
    if (Number(words[1]) != static_cast<int>(decl_.lonMarkObjects.size()) + 1) Refuse("LonMark objects out of order");
    decl_.lonMarkObjects.push_back({words[2], static_cast<int16_t>(Number(words[3])), {}});
  }

  void Variable(const std::vector<std::string>& words) {
    Expect(words, 6);
    if (words[2] != "input" && words[2] != "output") Refuse("direction \"" + words[2] + "\"");
    decl_.networkVariables.push_back({Point(words[1], words, 3), words[2] == "input", {}});
  }

  void Property(const std::vector<std::string>& words) {
    Expect(words, 6);
    OwnerOf(words[1]).push_back(Point(words[2], words, 3));
  }

  std::vector<PointDecl>& OwnerOf(const std::string& owner) {
    if (owner == "device") return decl_.configProperties;
    if (owner.starts_with("lonmark:")) {
      int index = Number(owner.substr(8));
      if (index < 1 || index > static_cast<int>(decl_.lonMarkObjects.size())) Refuse("no LonMark object " + owner.substr(8));
      return decl_.lonMarkObjects[static_cast<size_t>(index) - 1].configProperties;
    }
    if (owner.starts_with("nv:")) {
      for (auto& variable : decl_.networkVariables) {
        if (variable.point.name == owner.substr(3)) return variable.configProperties;
      }
      Refuse("no network variable " + owner.substr(3));
    }
    Refuse("owner \"" + owner + "\"");
  }

  // A point named `name` whose type, format and bytes stand in the three words from `first` on.
  PointDecl Point(const std::string& name, const std::vector<std::string>& words, size_t first) {
    try {
      return {name, words[first], words[first + 1], HexBytes(words[first + 2])};
    } catch (const std::invalid_argument& e) {
      Refuse(e.what());
    }
  }

  int Number(const std::string& word) {
    try {
      size_t used = 0;
      int value = std::stoi(word, &used);
      if (used == word.size() && value >= -32768 && value <= 32767) return value;
    } catch (const std::logic_error&) {
    }
    Refuse("\"" + word + "\" is not a number");
  }

  void Expect(const std::vector<std::string>& words, size_t count) {
    if (words.size() != count) Refuse(words[0] + " takes " + std::to_string(count - 1) + " fields");
  }

  [[noreturn]] void Refuse(const std::string& why) { Fail(err::InvalidValue, "XIF line " + std::to_string(number_) + ": " + why); }

  InterfaceDecl& decl_;
  size_t number_ = 0;
};

std::string ReadProgramId(const std::string& line, size_t number) {
  bool fits = line.size() >= ProgramIdLineLength;
  std::string programId;
  for (size_t field = 0; fits && field < ProgramIdFields; ++field) {
    char high = line[field * 3];
    char low = line[field * 3 + 1];
    fits = IsHexDigit(high) && IsHexDigit(low);
    programId += high;
    programId += low;
  }
  if (!fits) Fail(err::InvalidValue, "XIF line " + std::to_string(number) + " holds no program ID");
  return rt::UCase(programId);
}

// Replaces the file whole, making its folder first; error 75 naming it when it cannot be written.
void WriteFileAtomically(const std::filesystem::path& file, const std::string& content) {
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  if (rt::ReplaceFile(file, content)) {
    rt::Raise(rt::err::PathFileAccessError, ErrorSource, rt::ErrorText(rt::err::PathFileAccessError) + ": " + file.string());
  }
}

}  // namespace

std::string ProgramIdLine(const std::string& programId) {
  if (programId.size() != ProgramIdFields * 2) Fail(err::InvalidValue, "program ID \"" + programId + "\"");
  std::string line;
  for (size_t field = 0; field < ProgramIdFields; ++field) {
    if (field > 0) line += ':';
    line += programId.substr(field * 2, 2);
  }
  return line;
}

std::string XifText(const XifFile& xif) {
  std::string text = std::string(XifMagic) + "\n" + xif.title + "\n" +
                     "# declarations: lonmark, nv and cp lines\n" + ProgramIdLine(xif.programId) + "\n\n";
  const InterfaceDecl& decl = xif.interface;
  for (size_t i = 0; i < decl.lonMarkObjects.size(); ++i) {
    const auto& object = decl.lonMarkObjects[i];
    text += "lonmark " + std::to_string(i + 1) + " " + Field(object.name) + " " + std::to_string(object.typeIndex) + "\n";
  }
  for (const auto& variable : decl.networkVariables) {
    text += "nv " + Field(variable.point.name) + (variable.input ? " input " : " output ") +
            Field(variable.point.type) + " " + Field(variable.point.format) + " " + Field(HexText(variable.point.bytes)) + "\n";
  }
  for (size_t i = 0; i < decl.lonMarkObjects.size(); ++i) {
    for (const auto& point : decl.lonMarkObjects[i].configProperties) {
      text += "cp lonmark:" + std::to_string(i + 1) + " " + PointFields(point) + "\n";
    }
  }
  for (const auto& variable : decl.networkVariables) {
    for (const auto& point : variable.configProperties) text += "cp nv:" + variable.point.name + " " + PointFields(point) + "\n";
  }
  for (const auto& point : decl.configProperties) text += "cp device " + PointFields(point) + "\n";
  return text;
}

XifFile ParseXif(const std::string& text) {
  auto lines = Lines(text);
  if (lines.empty() || !lines[0].starts_with("ORVEX-XIF")) Fail(err::InvalidValue, "not an XIF file");
  size_t idLine = lines.size() > 3 && rt::Trim(lines[3]).empty() ? 4 : 3;
  if (idLine >= lines.size()) Fail(err::InvalidValue, "the XIF file ends before its program ID");

  XifFile xif;
  xif.title = lines.size() > 1 ? lines[1] : "";
  xif.programId = ReadProgramId(lines[idLine], idLine + 1);
  DeclarationReader reader(xif.interface);
  for (size_t i = idLine + 1; i < lines.size(); ++i) reader.Read(lines[i], i + 1);
  ValidateInterface(xif.interface);
  return xif;
}

XifFile ReadXif(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  if (!in) Fail(err::InvalidArgument, "cannot read the XIF file " + file.string());
  return ParseXif(text.str());
}

void WriteXif(const std::filesystem::path& file, const XifFile& xif) { WriteFileAtomically(file, XifText(xif)); }

XifFile UnitXif() { return {"OrvexUC_FCU", std::string(FcuProgramId), UnitInterface()}; }

void WriteUnitXif(const std::filesystem::path& file) { WriteXif(file, UnitXif()); }

}  // namespace lns
