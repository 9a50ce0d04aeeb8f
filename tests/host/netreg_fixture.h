#pragma once

#include <memory>
#include <string>
#include <vector>

#include "forms/controls_text.h"
#include "forms/event_loop.h"
#include "forms/msgbox.h"
#include "host/connection.h"
#include "host/identity.h"
#include "host/network_registration.h"
#include "host/progress.h"
#include "lns/calls/faults.h"
#include "lns/catalog/catalog_install.h"
#include "lns/catalog/xif.h"
#include "lns/server.h"
#include "lns/values/declaration.h"
#include "plugin_test_support.h"

namespace host::test {

inline constexpr const char* OwnProgId = "OrvexUC_FCU.LNSPlugInAPI";
inline constexpr const char* AppName = "Velmora OrvexUC_FCU Configure";
inline constexpr const char* UnitProgramId = "80071A5501030400";

// The plug-in on a machine with the LonWorks installation and the demo network, whose template
// "OrvexUC_FCU" (program ID ending 00) is used by the unit "FCU 1".
class NetRegTest : public PlugInTest {
 protected:
  void SetUp() override {
    PlugInTest::SetUp();
    installation_ = lns::InstallLonWorks(XIF32BIN_TOOL);
    xifRoot_ = root_ / "xif";
    fs::create_directories(xifRoot_);
  }
  void TearDown() override {
    plugIn_.reset();
    PlugInTest::TearDown();
  }
  // A fresh process and machine for the next case of a table.
  void Restart() {
    TearDown();
    SetUp();
  }

  void OpenDemo() {
    plugIn_ = NewPlugIn();
    plugIn_->put_networkName("Demo");
  }
  static lns::DeviceTemplates& Templates() { return *g_System->get_TemplateLibrary()->get_DeviceTemplates(); }
  static std::shared_ptr<lns::DeviceTemplate> AddTemplate(const std::string& name, const std::string& programId) {
    auto deviceTemplate = Templates().AddNew(name, 1);
    deviceTemplate->Fill(programId, lns::UnitInterface());
    return deviceTemplate;
  }
  static lns::ComponentApps& AppsOf(const std::string& templateName) {
    return *Templates().Find(templateName)->get_ComponentApps();
  }
  static std::shared_ptr<lns::ComponentApp> AddApp(lns::ComponentApps& apps, const std::string& name,
                                                   const std::string& progId, int32_t command, int16_t objectClass,
                                                   bool isDefault = false) {
    auto app = apps.Add(name, progId, objectClass);
    app->put_Command(command);
    app->put_IsDefault(isDefault);
    return app;
  }
  static std::vector<std::string> AppNames(const lns::ComponentApps& apps) {
    std::vector<std::string> names;
    for (const auto& app : apps.Items()) names.push_back(app->Name());
    return names;
  }

  // An XIF file of the unit under another program ID.
  static void WriteXifFile(const fs::path& path, const std::string& programId) {
    lns::XifFile xif = lns::UnitXif();
    xif.programId = programId;
    fs::create_directories(path.parent_path());
    lns::WriteXif(path, xif);
  }
  // Its XFB file already there, so that no conversion runs.
  static void WriteXfbBeside(const fs::path& xif) { WriteFile(fs::path(xif).replace_extension(".XFB"), "xfb"); }

  static std::vector<std::string> Prompts() {
    std::vector<std::string> prompts;
    for (const auto& box : forms::MsgBoxRecords()) prompts.push_back(box.prompt);
    return prompts;
  }
  static void Answer(const std::vector<int>& answers) {
    for (int answer : answers) forms::QueueMsgBoxAnswer(answer);
  }

  lns::LonWorksInstallation installation_;
  fs::path xifRoot_;
  std::shared_ptr<LNSPlugInAPI> plugIn_;
};

// Every status line the progress window showed, noted each time window messages run.
class StatusLines {
 public:
  StatusLines() : lines_(std::make_shared<std::vector<std::string>>()) { Note(lines_); }
  const std::vector<std::string>& Lines() const { return *lines_; }

 private:
  static void Note(std::shared_ptr<std::vector<std::string>> lines) {
    forms::Post([lines] {
      if (forms::DefaultExists<fProgress>()) {
        const std::string line = forms::Default<fProgress>().Ctl<forms::Label>("Status").Caption();
        if (lines->empty() || lines->back() != line) lines->push_back(line);
      }
      Note(lines);
    });
  }
  std::shared_ptr<std::vector<std::string>> lines_;
};

}  // namespace host::test
