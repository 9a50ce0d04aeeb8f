#include "host/hidden_window.h"

#include "forms/controls_command.h"
#include "host/network_commands.h"
#include "host/registration_names.h"
#include "host/xif_files.h"
#include "runtime/text.h"

namespace host {
namespace {

// The file must exist; the read-only check box is hidden.
constexpr int32_t XifDialogFlags = 4100;

// The chosen file fits when its first 14 characters and one of the last bytes 00 to 07 make the
// wanted program ID; the file's own last byte is not looked at.
bool FitsWanted(const std::string& programId, const std::string& wanted) {
  for (int32_t lastByte = LastStandardIndex; lastByte >= 0; --lastByte) {
    if (rt::Left(programId, ProgramIdBaseLength) + HexPad(lastByte, 2) == wanted) return true;
  }
  return false;
}

}  // namespace

fHidden::fHidden() : Form("fHidden") {}

std::string fHidden::DlgXIF(const std::string& initialFolder, const std::string& wanted) {
  try {
    auto& dialog = Ctl<forms::CommonDialog>("ComDlg");
    dialog.SetCancelError(true);
    dialog.SetFlags(XifDialogFlags);
    dialog.SetDialogTitle("Locate the XIF file with Program ID " + wanted);
    dialog.SetInitDir(initialFolder);
    dialog.SetFilter("External Interface Files (*.XIF)|*.XIF");
    dialog.ShowOpen();
    return FitsWanted(ReadXifProgramId(dialog.FileName()), wanted) ? dialog.FileName() : "";
  } catch (const std::exception&) {
    return "";
  }
}

}  // namespace host
