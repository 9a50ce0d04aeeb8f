// The XIF tree search over a temporary tree of 100,000 XIF files, each beside its XFB file, in
// folders of 100 (a0..a9/b0..b9/c0..c9). Searching a0\b0\ visits 1,000 files, a0\ 10,000 and
// the root all 100,000; only the last file of the whole tree fits, so every search reads every
// file. "per_file" is the time per XIF file visited (docs/performance.md).
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

#include "host/xif_files.h"
#include "lns/catalog/xif.h"
#include "support/temp_machine.h"

namespace {

namespace fs = std::filesystem;

constexpr int Fanout = 10;
constexpr int FilesPerFolder = 100;
constexpr const char* Wanted = "80071A5501030400";
constexpr const char* LastFile = "a9\\b9\\c9\\unit99.xif";

// Program IDs of other devices, none of which fits the wanted one.
std::string OtherProgramId(int number) {
  char id[17];
  std::snprintf(id, sizeof id, "9000%012X", number);
  return id;
}

std::string Named(char letter, int number) { return letter + std::to_string(number); }

class XifTree {
 public:
  XifTree() {
    lns::XifFile xif = lns::UnitXif();
    int number = 0;
    for (int a = 0; a < Fanout; ++a) {
      for (int b = 0; b < Fanout; ++b) {
        for (int c = 0; c < Fanout; ++c) {
          const fs::path folder = Root() / Named('a', a) / Named('b', b) / Named('c', c);
          fs::create_directories(folder);
          for (int file = 0; file < FilesPerFolder; ++file) {
            xif.programId = ++number == Files() ? Wanted : OtherProgramId(number);
            const std::string name = "unit" + std::to_string(file);
            lns::WriteXif(folder / (name + ".xif"), xif);
            orvex::test::WriteFile(folder / (name + ".XFB"), "xfb");
          }
        }
      }
    }
  }
  static int Files() { return Fanout * Fanout * Fanout * FilesPerFolder; }
  fs::path Root() const { return machine_.Root() / "XIF"; }

 private:
  orvex::test::TempMachine machine_{"xif_search_bench"};
};

XifTree* g_tree = nullptr;

// range(0): the files below the searched folder.
void FindXifInTree(benchmark::State& state) {
  const auto files = static_cast<int>(state.range(0));
  const std::string root = g_tree->Root().string() + "\\";
  const std::string folder = files == XifTree::Files() ? root : files == 10000 ? root + "a0\\" : root + "a0\\b0\\";
  const std::string expected = files == XifTree::Files() ? root + LastFile : "";
  // The first search after the tree is laid may find it on the disk: each figure is that of a
  // search in a tree the system holds in memory, as any later search is.
  std::string warmUp = Wanted;
  host::FindXifInTree(folder, warmUp);
  for (auto _ : state) {
    std::string wanted = Wanted;
    if (host::FindXifInTree(folder, wanted) != expected) throw std::logic_error("the search found the wrong file");
  }
  state.counters["per_file"] = benchmark::Counter(static_cast<double>(state.iterations()) * files,
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(FindXifInTree)->ArgName("files")->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  XifTree tree;
  g_tree = &tree;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
