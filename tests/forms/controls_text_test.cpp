// Editing a box's text: the caret, the selection and the editing keys count 16-bit code units and
// never split a character.
#include "forms_fixture.h"

#include "forms/constants.h"
#include "forms/controls_text.h"

namespace {

const std::string A = "a";                 // 1 byte, 1 unit
const std::string U = "\xC3\xBC";          // 2 bytes, 1 unit
const std::string E = "\xE2\x82\xAC";      // 3 bytes, 1 unit
const std::string G = "\xF0\x9F\x98\x80";  // 4 bytes, 2 units

constexpr int kAsTyped = -1;

struct EditCase {
  const char* control;
  std::string typed;  // replaces the text
  int selStart;       // then set, unless kAsTyped
  int selLength;
  std::string keys;   // typed at the caret
  int key;            // then pressed, unless 0
  std::string text;
  int wantStart;
  int wantLength;
};

using TextEditingTest = FormsTest;

TEST_F(TextEditingTest, TheCaretAndTheEditingKeysTakeWholeCharacters) {
  const EditCase cases[] = {
      {"txtA", A + U + E + G, kAsTyped, kAsTyped, "", 0, A + U + E + G, 5, 0},
      {"txtA", U + "\b", kAsTyped, kAsTyped, "", 0, "", 0, 0},
      {"cboMode", E + "\b", kAsTyped, kAsTyped, "", 0, "", 0, 0},
      {"txtA", A + G + "\b", kAsTyped, kAsTyped, "", 0, A, 1, 0},
      {"txtA", G + E, 0, 0, "", forms::vbKeyDelete, E, 0, 0},
      {"cboMode", U + A, 0, 0, "", forms::vbKeyDelete, A, 0, 0},
      {"txtA", A + U + E + G, 2, 3, "", forms::vbKeyDelete, A + U, 2, 0},
      {"txtA", A + U + E + G, 1, 2, "x", 0, A + "x" + G, 2, 0},
      {"txtA", A + U, 1, 0, G, 0, A + G + U, 3, 0},
      // A position inside a character outside the 16-bit range falls back before it.
      {"txtA", G + A, 1, kAsTyped, "", 0, G + A, 0, 0},
      {"txtA", G + A, 0, 1, "", 0, G + A, 0, 0},
      {"txtA", A + G, 0, 2, "", forms::vbKeyDelete, G, 0, 0},
      {"txtA", U + E, 99, 5, "", 0, U + E, 2, 0},
  };
  auto form = ShownSample();
  for (const EditCase& c : cases) {
    SCOPED_TRACE(std::string(c.control) + ": " + c.typed + " " + std::to_string(c.selStart) + "+" +
                 std::to_string(c.selLength) + " " + c.keys + " " + std::to_string(c.key));
    auto& box = form->Ctl<forms::TextControl>(c.control);
    forms::input::TypeText(box, c.typed);
    if (c.selStart != kAsTyped) box.SetSelStart(c.selStart);
    if (c.selLength != kAsTyped) box.SetSelLength(c.selLength);
    forms::input::TypeText(box, c.keys, false);
    if (c.key != 0) forms::input::Key(box, c.key);
    EXPECT_EQ(box.Text(), c.text);
    EXPECT_EQ(box.SelStart(), c.wantStart);
    EXPECT_EQ(box.SelLength(), c.wantLength);
  }
}

}  // namespace
