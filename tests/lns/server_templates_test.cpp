#include <gmock/gmock.h>
#include <fstream>

#include "lns/catalog/xif.h"
#include "lns/interface.h"
#include "lns_fixture.h"

namespace lns::testing {
namespace {

using rt::Variant;

class TemplatesTest : public LnsTest {
 protected:
  void SetUp() override {
    LnsTest::SetUp();
    MakeNetwork("Plant");
    server_ = OpenServer();
    system_ = OpenSystem(server_, "Plant");
    templates_ = system_->get_TemplateLibrary()->get_DeviceTemplates();
  }
  std::shared_ptr<ObjectServer> server_;
  std::shared_ptr<System> system_;
  std::shared_ptr<DeviceTemplates> templates_;
};

TEST_F(TemplatesTest, ItemByProgramIdComparesHexDigitsWithoutRegardToCase) {
  EXPECT_EQ(templates_->ItemByProgramId("80071a5501030400")->Name(), "Unit");
  EXPECT_EQ(ErrorNumberOf([&] { templates_->ItemByProgramId("80071A5501030401"); }), err::ObjectNotFound);
  templates_->Add("Empty", 1);
  EXPECT_EQ(ErrorNumberOf([&] { templates_->ItemByProgramId(""); }), err::ObjectNotFound);
}

TEST_F(TemplatesTest, AddRefusesTakenAndEmptyNames) {
  auto added = templates_->Add("Unit (1)", 1);
  EXPECT_EQ(added->get_ProgramId(), "");
  EXPECT_EQ(added->get_Interface()->get_NetworkVariables()->get_Count(), 0);
  EXPECT_EQ(ErrorNumberOf([&] { templates_->Add("Unit", 1); }), err::NameExists);
  EXPECT_EQ(ErrorNumberOf([&] { templates_->Add("", 1); }), err::InvalidArgument);
  EXPECT_EQ(templates_->get_Count(), 2);
}

TEST_F(TemplatesTest, RemoveTakesUnusedTemplatesOnly) {
  templates_->Add("Spare", 1);
  templates_->Add("Other", 1);
  EXPECT_EQ(ErrorNumberOf([&] { templates_->Remove(Variant::String("Unit")); }), err::InvalidArgument);
  templates_->Remove(Variant::String("Spare"));
  templates_->Remove(Variant::Integer(2));
  EXPECT_EQ(templates_->get_Count(), 1);
  EXPECT_EQ(ErrorNumberOf([&] { templates_->Remove(Variant::String("Spare")); }), err::ObjectNotFound);
}

TEST_F(TemplatesTest, ImportFillsTheTemplateFromAnXifFileByAWindowsPath) {
  std::filesystem::create_directories(Machine() / "LonWorks" / "Import");
  WriteXif(Machine() / "LonWorks" / "Import" / "Unit.xif", {"Unit", "80071A5501030407", SmallInterface()});
  auto imported = templates_->Add("Imported", 1);
  imported->Import(Machine().string() + "\\lonworks\\IMPORT\\unit.XIF");
  EXPECT_EQ(imported->get_ProgramId(), "80071A5501030407");
  EXPECT_EQ(imported->get_Interface()->get_LonMarkObjects()->Item(Variant::Integer(2))->get_TypeIndex(), 8500);
  EXPECT_EQ(templates_->ItemByProgramId("80071A5501030407"), imported);
}

TEST_F(TemplatesTest, AFailedImportLeavesTheTemplate) {
  std::filesystem::create_directories(Machine() / "x");
  {
    std::ofstream(Machine() / "x" / "bad.xif") << "ORVEX-XIF 1\nBad\n#\n80:07:1A:55:01:03:04:00\nnv a input NOTYPE - 00\n";
  }
  auto unit = templates_->Item(Variant::String("Unit"));
  EXPECT_EQ(ErrorNumberOf([&] { unit->Import((Machine() / "x" / "bad.xif").string()); }), err::InvalidValue);
  EXPECT_EQ(ErrorNumberOf([&] { unit->Import((Machine() / "x" / "none.xif").string()); }), err::InvalidArgument);
  EXPECT_EQ(unit->get_ProgramId(), "80071A5501030400");
  EXPECT_EQ(unit->get_Interface()->get_NetworkVariables()->get_Count(), 3);
}

TEST_F(TemplatesTest, ComponentAppsAddFindUpdateAndRemove) {
  auto apps = templates_->Item(Variant::Integer(1))->get_ComponentApps();
  auto app = apps->Add("Velmora Configure", "OrvexUC_FCU.LNSPlugInAPI", 7);
  app->put_Command(13);
  app->put_Description("Configure selected Orvex FCU");
  app->put_Version("1.1");
  app->put_ManufacturerId("1818");
  app->put_IsDefault(true);
  apps->Add("Other", "Other.Tool", 7);
  EXPECT_EQ(ErrorNumberOf([&] { apps->Add("Other", "Other.Tool", 7); }), err::NameExists);

  auto found = apps->Item(Variant::String("Velmora Configure"));
  EXPECT_EQ(found->get_ProgId(), "OrvexUC_FCU.LNSPlugInAPI");
  EXPECT_EQ(found->get_ObjectClass(), 7);
  EXPECT_EQ(found->get_Command(), 13);
  EXPECT_EQ(found->get_Description(), "Configure selected Orvex FCU");
  EXPECT_EQ(found->get_Version(), "1.1");
  EXPECT_EQ(found->get_ManufacturerId(), "1818");
  EXPECT_TRUE(found->get_IsDefault());

  apps->Remove(Variant::Integer(1));
  EXPECT_EQ(apps->get_Count(), 1);
  EXPECT_EQ(apps->Item(Variant::Integer(1))->get_Name(), "Other");
  apps->Remove(Variant::String("Other"));
  EXPECT_EQ(apps->get_Count(), 0);
}

TEST_F(TemplatesTest, LonMarkObjectsOfATemplateCarryComponentApps) {
  std::vector<Variant> none;
  auto fcu = templates_->Item(Variant::Integer(1))->get_Interface()->get_LonMarkObjects()->Item(Variant::String("FCU"));
  auto apps = fcu->Invoke("componentApps", CallKind::Get, none).ToObject();
  std::vector<Variant> add{Variant::String("Scope 4"), Variant::String("Tool.App"), Variant::Integer(28)};
  auto app = apps->Invoke("Add", CallKind::Method, add).ToObject();
  EXPECT_EQ(app->Invoke("ObjectClass", CallKind::Get, none).ToInteger(), 28);
  EXPECT_EQ(fcu->get_ComponentApps()->get_Count(), 1);
}

}  // namespace
}  // namespace lns::testing
