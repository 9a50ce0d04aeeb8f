#include "mainwindow/settings_file.h"

#include <optional>

#include "forms/app.h"
#include "process/files.h"
#include "process/paths.h"
#include "runtime/error.h"
#include "runtime/file_writer.h"

namespace mainwindow {
namespace {

// The values of the file as the sequential reader takes them: a value ends at a comma or at the
// end of its line, and leading blanks are skipped.
class ValueReader {
 public:
  explicit ValueReader(std::string text) : text_(std::move(text)) {}

  std::optional<std::string> Next() {
    if (position_ >= text_.size()) return std::nullopt;
    while (position_ < text_.size() && (text_[position_] == ' ' || text_[position_] == '\t')) ++position_;
    const size_t end = text_.find_first_of(",\r\n", position_);
    std::string value = text_.substr(position_, end == std::string::npos ? std::string::npos : end - position_);
    position_ = end == std::string::npos ? text_.size() : SkipSeparator(end);
    return value;
  }

 private:
  size_t SkipSeparator(size_t at) const {
    if (text_[at] == ',') return at + 1;
    if (text_[at] == '\r' && at + 1 < text_.size() && text_[at + 1] == '\n') return at + 2;
    return at + 1;
  }

  std::string text_;
  size_t position_ = 0;
};

}  // namespace

SettingsLines DefaultSettingsLines() {
  return {"FactoryTester = False", "LogWindow = False", "PollInterval = 2000", "ActiveDelay = 4000"};
}

std::string SettingsFilePath() { return proc::ResolvePath(forms::App().Path() + "\\OrvexUC_FCU.ini").string(); }

SettingsLines ReadSettingsFile(void (*logFailure)(const std::string& description)) {
  SettingsLines lines;
  const std::optional<std::string> text = proc::ReadWholeFile(SettingsFilePath());
  if (!text) logFailure(rt::ErrorText(rt::err::FileNotFound));
  ValueReader reader(text.value_or(""));
  for (std::string& line : lines) {
    if (!text) {
      logFailure(rt::ErrorText(rt::err::BadFileNameOrNumber));
      continue;
    }
    const std::optional<std::string> value = reader.Next();
    if (!value) {
      logFailure(rt::ErrorText(rt::err::InputPastEndOfFile));
      continue;
    }
    line = *value;
  }
  return lines;
}

bool WriteSettingsFile(const SettingsLines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return !rt::ReplaceFile(SettingsFilePath(), text);
}

}  // namespace mainwindow
