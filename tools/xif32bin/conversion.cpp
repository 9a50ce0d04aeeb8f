#include "conversion.h"

#include <cstdint>
#include <optional>

#include "lns/xif.h"
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

uint16_t ConfigPropertyCount(const lns::InterfaceDecl& decl) {
  size_t count = decl.configProperties.size();
  for (const auto& object : decl.lonMarkObjects) count += object.configProperties.size();
  for (const auto& variable : decl.networkVariables) count += variable.configProperties.size();
  return static_cast<uint16_t>(count);
}

// Magic, format version, program ID, the counts of LonMark objects, network variables and
// configuration properties, the XIF's size and text, and a checksum over the text.
std::string XfbBytes(const lns::XifFile& xif, const std::string& text) {
  std::string out(kMagic, sizeof kMagic);
  PutLittleEndian(out, kFormatVersion);
  out += xif.programId;
  PutLittleEndian(out, static_cast<uint16_t>(xif.interface.lonMarkObjects.size()));
  PutLittleEndian(out, static_cast<uint16_t>(xif.interface.networkVariables.size()));
  PutLittleEndian(out, ConfigPropertyCount(xif.interface));
  PutLittleEndian(out, static_cast<uint32_t>(text.size()));
  out += text;
  PutLittleEndian(out, Checksum(text));
  return out;
}

}  // namespace

void ConvertXifToXfb(const fs::path& xif, const fs::path& xfb) {
  const std::optional<std::string> text = proc::ReadWholeFile(xif);
  if (!text) throw ConversionFailure("cannot read " + xif.string());
  lns::XifFile parsed;
  try {
    parsed = lns::ParseXif(*text);
  } catch (const rt::Error& e) {
    throw ConversionFailure(xif.string() + ": " + e.Description());
  }
  if (rt::ReplaceFile(xfb, XfbBytes(parsed, *text))) throw ConversionFailure("cannot write " + xfb.string());
}

}  // namespace xif32bin
