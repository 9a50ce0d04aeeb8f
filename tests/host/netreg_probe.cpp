// Looks into the network databases of the simulated machine for the end-to-end tests of the
// registration in networks, as another program on the machine would:
//   netreg_probe add-network NAME        a network with the unit's template, carrying the
//                                        plug-in's component application and another tool's;
//                                        one already there is left as it is, so that the step
//                                        can run again
//   netreg_probe expect NETWORK OURS OTHERS [NETWORK OURS OTHERS ...]
//                                        lists each network's component applications and exits
//                                        1 unless the plug-in has OURS of them and others OTHERS
#include <exception>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "lns/server.h"
#include "lns/values/declaration.h"
#include "lns/values/fcu_unit.h"
#include "runtime/error.h"

namespace {

constexpr const char* OwnProgId = "OrvexUC_FCU.LNSPlugInAPI";

void InNetwork(const std::string& name, const std::function<void(lns::System&)>& work) {
  auto server = std::make_shared<lns::ObjectServer>();
  server->Open();
  auto network = server->get_Networks()->Item(rt::Variant::String(name));
  network->Open();
  auto system = network->get_Systems()->Item(rt::Variant::Integer(1));
  system->Open();
  work(*system);
  system->Close();
  network->Close();
  server->Close();
}

void AddNetwork(const std::string& name) {
  if (lns::ServerStore::Load(nullptr)->NetworkList()->Find(name)) return;
  lns::CreateNetwork({name, name, "LON1", "", 0}, [](lns::System& system) {
    auto unit = system.Library().Templates().AddNew("OrvexUC_FCU", 1);
    unit->Fill(std::string(lns::FcuProgramId), lns::UnitInterface());
    system.AddSubsystem("Subsystem 1")->AddDevice("FCU 1", *unit, std::string(lns::FcuNeuronId));
  });
  InNetwork(name, [](lns::System& system) {
    auto& apps = *system.get_TemplateLibrary()->get_DeviceTemplates()->Find("OrvexUC_FCU")->get_ComponentApps();
    apps.Add("Velmora OrvexUC_FCU Configure", OwnProgId, 7)->put_Command(13);
    apps.Add("Other tool Configure", "Other.PlugIn", 7)->put_Command(13);
  });
}

struct Count {
  int ours = 0;
  int others = 0;
};

void List(const std::string& where, const lns::ComponentApps& apps, Count& count) {
  for (const auto& app : apps.Items()) {
    const bool ours = app->get_ProgId() == OwnProgId;
    ++(ours ? count.ours : count.others);
    std::cout << where << ": " << app->get_Name() << " [" << app->get_ProgId() << "] command " << app->get_Command()
              << " class " << app->get_ObjectClass() << " version " << app->get_Version() << " manufacturer "
              << app->get_ManufacturerId() << (app->get_IsDefault() ? " default" : "") << "\n";
  }
}

Count Applications(const std::string& network) {
  Count count;
  InNetwork(network, [&](lns::System& system) {
    List(network + " (system)", *system.get_ComponentApps(), count);
    for (const auto& deviceTemplate : system.get_TemplateLibrary()->get_DeviceTemplates()->Items()) {
      List(network + "/" + deviceTemplate->get_Name(), *deviceTemplate->get_ComponentApps(), count);
    }
  });
  return count;
}

int Expect(const std::vector<std::string>& triples) {
  if (triples.empty() || triples.size() % 3 != 0) return 2;
  int code = 0;
  for (size_t i = 0; i < triples.size(); i += 3) {
    const Count count = Applications(triples[i]);
    const Count wanted{std::stoi(triples[i + 1]), std::stoi(triples[i + 2])};
    if (count.ours == wanted.ours && count.others == wanted.others) continue;
    std::cout << triples[i] << ": the plug-in has " << count.ours << " (wanted " << wanted.ours << "), others "
              << count.others << " (wanted " << wanted.others << ")\n";
    code = 1;
  }
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 2 && args[0] == "add-network") {
      AddNetwork(args[1]);
      return 0;
    }
    if (!args.empty() && args[0] == "expect") return Expect({args.begin() + 1, args.end()});
  } catch (const rt::Error& e) {
    std::cerr << "netreg_probe: error " << e.Number() << ": " << e.Description() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "netreg_probe: " << e.what() << "\n";
    return 1;
  }
  std::cerr << "usage: netreg_probe add-network NAME | expect NETWORK OURS OTHERS...\n";
  return 2;
}
