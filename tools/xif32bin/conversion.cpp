#include "conversion.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "lns/catalog/xif.h"
#include "process/files.h"
#include "runtime/error.h"
#include "runtime/file_writer.h"

namespace xif32bin {
namespace fs = std::filesystem;

namespace {

constexpr char kMagic[4] = {'O', 'X', 'F', 'B'};
constexpr uint16_t kFormatVersion = 1;

uint32_t Checksum(const std::string& bytes) {
  uint32_t hash = 2166136261u;
  for (unsigned char byte : bytes) hash = (hash ^ byte) * 16777619u;
  return hash;
}

template <class Number>
void PutLittleEndian(std::string& out, Number value) {
  for (size_t i = 0; i < sizeof(Number); ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A count in the field the format gives it; one that does not fit is refused, never cut short.
template <class Field>
void PutCount(std::string& out, size_t count, const char* what) {
  if (count > std::numeric_limits<Field>::max()) {
    throw ConversionFailure(std::to_string(count) + " " + what + ", more than the " +
                            std::to_string(std::numeric_limits<Field>::max()) + " an XFB file can hold");
  }
  PutLittleEndian(out, static_cast<Field>(count));
}

size_t ConfigPropertyCount(const lns::InterfaceDecl& decl) {
  size_t count = decl.configProperties.size();
  for (const auto& object : decl.lonMarkObjects) count += object.configProperties.size();
  for (const auto& variable : decl.networkVariables) count += variable.configProperties.size();
  return count;
}

// Magic, format version, program ID, the counts of LonMark objects, network variables and
// configuration properties, the XIF's size and text, and a checksum over the text.
std::string XfbBytes(const lns::XifFile& xif, const std::string& text) {
  std::string out(kMagic, sizeof kMagic);
  PutLittleEndian(out, kFormatVersion);
  out += xif.programId;
  PutCount<uint16_t>(out, xif.interface.lonMarkObjects.size(), "LonMark objects");
  PutCount<uint16_t>(out, xif.interface.networkVariables.size(), "network variables");
  PutCount<uint16_t>(out, ConfigPropertyCount(xif.interface), "configuration properties");
  PutCount<uint32_t>(out, text.size(), "bytes of XIF text");
  out += text;
  PutLittleEndian(out, Checksum(text));
  return out;
}

}  // namespace

std::string XfbOf(const fs::path& xif, const fs::path& xfb) {
  std::error_code notBoth;
  if (xif == xfb || fs::equivalent(xif, xfb, notBoth)) {
    throw ConversionFailure("the XFB file " + xfb.string() + " would replace the XIF file it is made from");
  }
  const std::optional<std::string> text = proc::ReadWholeFile(xif);
  if (!text) throw ConversionFailure("cannot read " + xif.string());
  lns::XifFile parsed;
  try {
    parsed = lns::ParseXif(*text);
  } catch (const rt::Error& e) {
    throw ConversionFailure(xif.string() + ": " + e.Description());
  }
  return XfbBytes(parsed, *text);
}

void WriteXfb(const fs::path& xfb, const std::string& bytes) {
  if (rt::ReplaceFile(xfb, bytes)) throw ConversionFailure("cannot write " + xfb.string());
}

}  // namespace xif32bin
