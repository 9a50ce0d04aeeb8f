#pragma once

#include <functional>
#include <string>

namespace forms {

class Form;
class Control;

// The App object: the program's identity as its version resource and start gave it.
class AppObject {
 public:
  const std::string& Path() const noexcept { return path_; }  // the program's folder, no trailing "/"
  void SetPath(std::string v) { path_ = std::move(v); }
  const std::string& EXEName() const noexcept { return exeName_; }  // file name without extension
  void SetEXEName(std::string v) { exeName_ = std::move(v); }
  // The default title of message boxes; the EXE name until set.
  const std::string& Title() const noexcept { return title_.empty() ? exeName_ : title_; }
  void SetTitle(std::string v) { title_ = std::move(v); }
  const std::string& ProductName() const noexcept { return productName_; }
  void SetProductName(std::string v) { productName_ = std::move(v); }
  const std::string& FileDescription() const noexcept { return fileDescription_; }
  void SetFileDescription(std::string v) { fileDescription_ = std::move(v); }
  int Major() const noexcept { return major_; }
  int Minor() const noexcept { return minor_; }
  void SetVersion(int major, int minor);
  // The command-line arguments as one text (the toolkit's Command$).
  const std::string& Command() const noexcept { return command_; }
  void SetCommand(std::string v) { command_ = std::move(v); }

  // Ends the program at once (the End statement): the ending hook runs, then the end hook; the
  // default end hook exits the process with code 0. A test hook that returns makes End return.
  void End();
  void SetEndHook(std::function<void()> hook);
  // What must still happen before the process ends (a server answers the requests it runs).
  void SetEndingHook(std::function<void()> hook);
  bool Ended() const noexcept { return ended_; }

 private:
  std::string path_ = ".";
  std::string exeName_ = "orvexuc_fcu";
  std::string title_;
  std::string productName_;
  std::string fileDescription_;
  int major_ = 1;
  int minor_ = 0;
  std::string command_;
  std::function<void()> endHook_;
  std::function<void()> endingHook_;
  bool ended_ = false;
};

// The Screen object.
class ScreenObject {
 public:
  int MousePointer() const noexcept { return mousePointer_; }
  void SetMousePointer(int v);  // 0 default, 11 hourglass, ...; error 380 outside 0..15 and 99
  int MousePointerChanges() const noexcept { return mousePointerChanges_; }
  static constexpr int TwipsPerPixelX() { return 15; }
  static constexpr int TwipsPerPixelY() { return 15; }
  // A 1920 x 1080 pixel screen, in twips.
  static constexpr float Width() { return 1920 * 15; }
  static constexpr float Height() { return 1080 * 15; }
  Form* ActiveForm() const;
  Control* ActiveControl() const;

 private:
  int mousePointer_ = 0;
  int mousePointerChanges_ = 0;
};

AppObject& App();
ScreenObject& Screen();

}  // namespace forms
