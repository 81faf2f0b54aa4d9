// What a SAUCE record says, as the status bar and the Information dialog show it.
#include <gtest/gtest.h>

#include <string>

#include "text/sauce_text.h"

namespace {

std::string Record(const std::string& title, const std::string& author, const std::string& group,
                   int comments = 0) {
  std::string r = "SAUCE00" + (title + std::string(35, ' ')).substr(0, 35) +
                  (author + std::string(20, ' ')).substr(0, 20) +
                  (group + std::string(20, '\0')).substr(0, 20) + "19961001" + std::string(4, '\0') +
                  "\x01\x01P" + std::string(31, '\0');
  r[104] = static_cast<char>(comments);
  r[105] = 0x0D;  // iCE, 9 pixels, 4:3
  return r;
}

std::string Describe(const std::string& file) {
  const SauceDescription d = DescribeSauce(reinterpret_cast<const uint8_t*>(file.data()), file.size());
  std::string text = d.summary;
  for (const auto& [name, value] : d.fields) text += "|" + name + "=" + value;
  return text;
}

}  // namespace

TEST(SauceText, SummaryFieldsAndComments) {
  const std::pair<std::string, std::string> cases[] = {
      {"art", ""},
      {"x" + Record("After Forever", "Lord Jazz", "ACiD"), "After Forever \u00b7 Lord Jazz / ACiD"},
      {Record("", "Lord Jazz", ""), "Lord Jazz"},
      {Record("T\x8e", "", "ACiD"), "T\u00c4 \u00b7 ACiD"},  // code page 437 to UTF-8
      {Record("T\r\nAuthor: x\t", "", ""), "T\u266a\u25d9Author: x\u25cb"},  // one line, its glyphs
      {Record("", "", ""), ""},
  };
  for (const auto& [file, summary] : cases)
    EXPECT_EQ(Describe(file).substr(0, Describe(file).find('|')), summary);
  const std::string withComment =
      "COMNT" + std::string("first line") + std::string(54, ' ') + Record("T", "A", "G", 1);
  EXPECT_EQ(Describe(withComment),
            "T \u00b7 A / G|Title=T|Author=A|Group=G|Date=1996-10-01|Size=0 bytes|Data type=character|File "
            "type=ANSi|Width=80|Height=0|iCE colours=yes|Letter spacing=9 pixels|Aspect=4:3, stretched|Font=|"
            "Comment=first line");
  // A comment count the file does not hold is not read.
  EXPECT_EQ(Describe(Record("T", "A", "G", 200)).find("Comment"), std::string::npos);
}
