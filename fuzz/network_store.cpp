// A network database whose stored fields are the input: its first byte picks the kind of row, the
// rest is that row's fields. The database opens and its device reads, or it is refused as damaged.
#include <sqlite3.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "lns/device.h"
#include "lns/platform.h"
#include "lns/server.h"
#include "lns/system.h"
#include "lns/tools/demo.h"
#include "runtime/error.h"

namespace {

namespace fs = std::filesystem;
using rt::Variant;

constexpr const char* Kinds[] = {"System", "Subsystem", "AppDevice", "DeviceTemplate", "LonMarkObject", "ComponentApp"};

struct Demo {
  fs::path machine;
  fs::path database;
  std::string pristine;
};

std::string FileText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The demo machine, made once; never destroyed, so that the clean-up at exit still knows it.
const Demo& TheDemo() {
  static const Demo* demo = [] {
    auto* made = new Demo{fs::temp_directory_path() / ("orvex_fuzz_network_" + std::to_string(getpid())), {}, {}};
    fs::create_directories(made->machine);
    setenv("ORVEX_MACHINE", made->machine.c_str(), 1);
    std::atexit([] {
      std::error_code ignored;
      fs::remove_all(TheDemo().machine, ignored);
    });
    if (!lns::CreateDemoNetwork((made->machine / "xif").string())) std::abort();
    auto server = std::make_shared<lns::ObjectServer>();
    server->Open();
    made->database = server->get_Networks()->Item(Variant::String(lns::DemoNetworkName))->File();
    server->Close();
    lns::ResetPlatform();
    made->pristine = FileText(made->database);
    return made;
  }();
  return *demo;
}

void StoreFields(const fs::path& database, const char* kind, const std::string& fields) {
  sqlite3* db = nullptr;
  sqlite3_stmt* update = nullptr;
  if (sqlite3_open(database.c_str(), &db) != SQLITE_OK ||
      sqlite3_prepare_v2(db, "UPDATE objects SET fields=?1 WHERE kind=?2", -1, &update, nullptr) != SQLITE_OK) {
    std::abort();
  }
  sqlite3_bind_text(update, 1, fields.data(), static_cast<int>(fields.size()), SQLITE_TRANSIENT);
  sqlite3_bind_text(update, 2, kind, -1, SQLITE_STATIC);
  if (sqlite3_step(update) != SQLITE_DONE) std::abort();
  sqlite3_finalize(update);
  sqlite3_close(db);
}

void ReadTheDevice() {
  auto server = std::make_shared<lns::ObjectServer>();
  try {
    server->Open();
    auto network = server->get_Networks()->Item(Variant::String(lns::DemoNetworkName));
    network->Open();
    auto system = network->get_Systems()->Item(Variant::Integer(1));
    system->Open();
    auto device = system->get_Subsystems()->Item(Variant::Integer(1))->get_AppDevices()->Item(Variant::Integer(1));
    device->get_Interface();
    device->get_CommissionStatus();
  } catch (const rt::Error&) {
  }
  try {
    server->Close();
  } catch (const rt::Error&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const Demo& demo = TheDemo();
  for (const char* sibling : {"-wal", "-shm"}) fs::remove(demo.database.string() + sibling);
  std::ofstream(demo.database, std::ios::binary | std::ios::trunc) << demo.pristine;
  StoreFields(demo.database, Kinds[data[0] % std::size(Kinds)], std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  ReadTheDevice();
  lns::ResetPlatform();
  return 0;
}
