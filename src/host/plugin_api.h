#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/variant.h"

namespace host {

// The plug-in's COM class, the one door through which a director drives it. Its members come in
// slot order; Invoke reaches them by name.
class LNSPlugInAPI : public rt::Object {
 public:
  LNSPlugInAPI();
  ~LNSPlugInAPI() override;
  LNSPlugInAPI(const LNSPlugInAPI&) = delete;
  LNSPlugInAPI& operator=(const LNSPlugInAPI&) = delete;

  std::string TypeName() const override { return "LNSPlugInAPI"; }

  void SendCommand(int32_t commandId, int16_t objectClassId, const std::string& objectName);
  bool get_Visible() const;
  void put_Visible(bool visible);
  std::string get_networkName() const;
  void put_networkName(const std::string& name);
  std::string get_NetworkInterfaceName() const;
  void put_NetworkInterfaceName(const std::string& name);
  bool get_Remote() const;
  void put_Remote(bool remote);
  void put_Height(int32_t pixels);
  int32_t get_Height() const;
  void put_Width(int32_t pixels);
  int32_t get_Width() const;
  void put_Left(int32_t pixels);
  int32_t get_Left() const;
  void put_Minimized(bool minimized);
  bool get_Minimized() const;
  std::string get_ManufacturerID() const;
  void put_ManufacturerID(const std::string& value);
  std::string get_ManufacturerName() const;
  void put_ManufacturerName(const std::string& value);
  std::string get_LcaVersion() const;
  void put_LcaVersion(const std::string& value);
  std::string get_Version() const;
  void put_Version(const std::string& value);
  void put_Top(int32_t pixels);
  int32_t get_Top() const;
  std::string get_Name() const;
  void put_Name(const std::string& value);
  void put_DevelopmentProgramId(std::string programId);
  std::string get_DevelopmentProgramId() const;

  rt::Variant Invoke(std::string_view member, CallKind kind, std::vector<rt::Variant>& args) override;

 private:
  std::string networkInterfaceName_;
};

// Serves the class to directors as "OrvexUC_FCU.LNSPlugInAPI".
void AddPlugInClass();

}  // namespace host
