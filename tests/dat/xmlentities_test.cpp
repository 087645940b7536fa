// SPDX-License-Identifier: GPL-2.0-or-later
#include "dat/xmlentities.h"

#include <gtest/gtest.h>

#include <string>

namespace moswit {
namespace {

// The value `raw` reads as under the DOCTYPE `doctype`, or "fault: why".
std::string Read(const std::string& doctype, const std::string& raw) {
  XmlEntities entities;
  entities.Declare(doctype);
  std::string scratch;
  std::string_view value;
  if (!entities.Value(raw.c_str(), scratch, value))
    return "fault: " + std::string(entities.Fault());
  return std::string(value);
}

TEST(XmlEntities, ValuesReadAsXmlReadsThem) {
  const std::string subset =
      "datafile PUBLIC \"-//x//EN\" \"http://x/[no subset].dtd\" [\n"
      "<!-- <!ENTITY commented \"no\"> -->\n"
      "<!ELEMENT datafile (game*)> <!ATTLIST rom name CDATA #REQUIRED>\n"
      "<!ENTITY grp \"Crack &amp; Co\"> <!ENTITY grp \"second\">\n"
      "<!ENTITY nest 'x&grp;y'> <!ENTITY tab \"a\tb\"> <!ENTITY amp2 \"&#38;#65;\">\n"
      "<!ENTITY % param \"p\"> <!ENTITY file SYSTEM \"file.xml\">\n"
      "<!ENTITY self \"&self;\"> <!ENTITY ring1 \"&ring2;\"> <!ENTITY ring2 \"&ring1;\">\n"
      "]";
  const struct {
    const char* raw;
    const char* read;
  } cases[] = {
      {"Plain (1990)(Soft)[cr].adf", "Plain (1990)(Soft)[cr].adf"},
      {"", ""},
      {"&lt;&gt;&amp;&apos;&quot;", "<>&'\""},
      {"&#65;&#x42;&#x43;&#233;&#x1F600;", "ABC\xC3\xA9\xF0\x9F\x98\x80"},
      {"caf\xC3\xA9 \xE6\x97\xA5", "caf\xC3\xA9 \xE6\x97\xA5"},
      {"a\tb\nc\r\nd\re", "a b c d e"},
      {"&#9;&#10;", "\t\n"},  // references keep their letters
      {"[&grp;]", "[Crack & Co]"},
      {"&nest;&tab;&amp2;", "xCrack & Coya bA"},
      {"&commented;", "fault: undefined entity"},
      {"&param;", "fault: undefined entity"},
      {"&file;", "fault: reference to an external entity"},
      {"&self;", "fault: recursive entity reference"},
      {"&ring1;", "fault: recursive entity reference"},
      {"Tom & Jerry", "fault: '&' that starts no reference"},
      {"&;", "fault: '&' that starts no reference"},
      {"&#0;", "fault: reference to an invalid character"},
      {"&#xD800;", "fault: reference to an invalid character"},
      {"&#x110000;", "fault: reference to an invalid character"},
      {"&#12a;", "fault: reference to an invalid character"},
      {"a<b and more", "fault: '<' in an attribute value"},
      {"bell\x07 and more", "fault: control character in an attribute value"},
      {"latin-1 caf\xE9", "fault: not UTF-8"},
      {"cut \xE6\x97", "fault: not UTF-8"},
      {"\xEF\xBF\xBE", "fault: not UTF-8"},  // U+FFFE is no XML letter
  };
  for (const auto& c : cases) EXPECT_EQ(Read(subset, c.raw), c.read) << c.raw;
}

// Ten entities each ten times the one before would read as ten billion
// letters: the expansion stops at its bound.
TEST(XmlEntities, NestedExpansionIsBounded) {
  std::string doctype = "d [<!ENTITY e0 \"0123456789\">";
  for (int i = 1; i < 10; ++i) {
    const std::string before = "&e" + std::to_string(i - 1) + ";";
    std::string text;
    for (int j = 0; j < 10; ++j) text += before;
    doctype += "<!ENTITY e" + std::to_string(i) + " \"" + text + "\">";
  }
  doctype += "]";
  EXPECT_EQ(Read(doctype, "&e5;").size(), 1000000u);
  EXPECT_EQ(Read(doctype, "&e9;"), "fault: entities expand to too much text");
}

}  // namespace
}  // namespace moswit
