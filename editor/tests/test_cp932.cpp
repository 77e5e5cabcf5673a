// CP932 conversions at the widget boundary.
#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using plat::cp932::CutBytes;
using plat::cp932::FromEditText;
using plat::cp932::FromQString;
using plat::cp932::ToEditText;
using plat::cp932::ToQString;

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

struct Mapping {
  const char* unicode;  // UTF-8
  std::string cp932;
};

// The glibc CP932 mappings the texts depend on; backslash and tilde stay ASCII.
TEST(Cp932, EncodesTheMeasuredMappings) {
  const Mapping cases[] = {
      {"abc", "abc"},
      {"\\~", "\\~"},
      {"電圧", "\x93\x64\x88\xB3"},
      {"ｱ", "\xB1"},
      {"〜", "\x81\x60"},  // U+301C
      {"～", "\x81\x60"},  // U+FF5E
      {"−", "\x81\x7C"},   // U+2212
      {"‖", "\x81\x61"},   // U+2016
      {"∥", "\x81\x61"},   // U+2225
      {"¥", "\x5C"},
      {"計算終了!!!", "\x8C\x76\x8E\x5A\x8F\x49\x97\xB9!!!"},
      {"｢", "\xA2"},
      {"．", "\x81\x44"},
  };
  for (const Mapping& m : cases) EXPECT_EQ(FromQString(U(m.unicode)), m.cp932) << m.unicode;
}

TEST(Cp932, UnmappableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(FromQString(U("a😀b")), "a?b");
  EXPECT_EQ(FromQString(U("é")), "?");
}

TEST(Cp932, DecodesBackToTheSameText) {
  for (const char* s : {"電圧 V", "C1 素子の", "x = 10\\n", "ｱｲｳ", "～"}) {
    const std::string bytes = FromQString(U(s));
    EXPECT_EQ(FromQString(ToQString(bytes)), bytes) << s;
  }
  // 0x5C and 0x7E decode as backslash and tilde (not yen and overline).
  EXPECT_EQ(ToQString("a\\b~"), U("a\\b~"));
  EXPECT_EQ(ToQString("\x93\x64\x88\xB3"), U("電圧"));
}

TEST(Cp932, InvalidBytesDecodeAsReplacementCharacters) {
  const QString rep(QChar(0xFFFD));
  EXPECT_EQ(ToQString("\x80" "a"), rep + "a");
  EXPECT_EQ(ToQString("\xA0" "a"), rep + "a");
  EXPECT_EQ(ToQString("\xFD\xFE\xFF"), rep + rep + rep);
  EXPECT_EQ(ToQString("a\x93"), "a" + rep);  // a lead byte at the end
}

// Byte limits cut before a double-byte character that does not fit whole.
TEST(Cp932, FromQStringCutsOnCharacterBoundaries) {
  const QString nine = U("電圧電圧電圧電圧電");  // 18 bytes
  struct Case {
    QString text;
    std::size_t max;
    std::size_t expectBytes;
  };
  const Case cases[] = {
      {nine, 19, 18}, {nine, 18, 18}, {nine, 17, 16}, {nine, 9, 8},
      {U("a電"), 2, 1}, {U("a電"), 3, 3}, {U("ｱ電"), 2, 1},
      {U("1234567890123456789"), 19, 19}, {U("12345678901234567890"), 19, 19},
      {U("電"), 1, 0}, {U("電"), 0, 0},
  };
  for (const Case& c : cases) {
    const std::string out = FromQString(c.text, c.max);
    EXPECT_EQ(out.size(), c.expectBytes) << c.text.toStdString() << " max " << c.max;
    EXPECT_EQ(out, FromQString(c.text).substr(0, out.size()));
  }
}

TEST(Cp932, CutBytesKeepsWholeCharacters) {
  const std::string denatsu = "\x93\x64\x88\xB3";  // 電圧
  EXPECT_EQ(CutBytes(denatsu, 4), denatsu);
  EXPECT_EQ(CutBytes(denatsu, 3), "\x93\x64");
  EXPECT_EQ(CutBytes(denatsu, 1), "");
  EXPECT_EQ(CutBytes("a" + denatsu, 2), "a");
  EXPECT_EQ(CutBytes("\xB1\xB2\xB3", 2), "\xB1\xB2");  // half-width katakana are single bytes
  EXPECT_EQ(CutBytes("abc", 10), "abc");
  // A trail byte in the ASCII range belongs to its lead byte: 0x5C after 0x95 is not a '\'.
  EXPECT_EQ(CutBytes("\x95\x5C" "x", 1), "");
}

// Multi-line edits: CR LF in the document, LF in the widget.
TEST(Cp932, EditTextsKeepCrLfInTheDocument) {
  EXPECT_EQ(ToEditText("a\r\nb\r\n"), U("a\nb\n"));
  EXPECT_EQ(FromEditText(U("a\nb\n")), "a\r\nb\r\n");
  EXPECT_EQ(FromEditText(ToEditText("x=1;\r\n\x93\x64\x88\xB3=2;")), "x=1;\r\n\x93\x64\x88\xB3=2;");
  // A cut never separates CR from LF.
  EXPECT_EQ(FromEditText(U("ab\nc"), 3), "ab");
  EXPECT_EQ(FromEditText(U("ab\nc"), 4), "ab\r\n");
}

TEST(Cp932, Utf8CutKeepsWholeCharacters) {
  EXPECT_EQ(plat::cp932::CutUtf8("gcc -o temp", 259), "gcc -o temp");
  EXPECT_EQ(plat::cp932::CutUtf8("a電", 3), "a");  // 電 is 3 UTF-8 bytes
  EXPECT_EQ(plat::cp932::CutUtf8("a電", 4), "a\xE9\x9B\xBB");
}

}  // namespace
