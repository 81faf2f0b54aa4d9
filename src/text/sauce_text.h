// What a file's SAUCE record says, as people read it: the status bar's
// "Title · Author / Group" and every field with the comment lines for the
// Information dialog. The texts are the record's code page 437 bytes as
// UTF-8, the program's code page.
#ifndef QUILLPANE_SAUCE_TEXT_H
#define QUILLPANE_SAUCE_TEXT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct SauceDescription {
  bool present = false;
  std::string title, author, group;
  // "Title · Author / Group", each part left out when the record leaves it
  // blank; empty when all three are blank.
  std::string summary;
  // Every field as "name", "value" in the record's order, then one
  // "Comment" row a comment line.
  std::vector<std::pair<std::string, std::string>> fields;
};

SauceDescription DescribeSauce(const uint8_t* bytes, size_t length);

#endif
