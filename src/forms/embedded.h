#pragma once

// The resource files built into the program (generated from resources/layouts and resources/pictures).

#include <string_view>
#include <vector>

namespace forms {

struct EmbeddedFile {
  std::string_view name;  // file name without extension
  std::string_view data;
};

const std::vector<EmbeddedFile>& EmbeddedLayouts();
const std::vector<EmbeddedFile>& EmbeddedPictures();

}  // namespace forms
