// The browser's Shift_JIS conversion, its own table against the C library's
// iconv on this machine: every byte and every pair of bytes, both ways.
#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/web/web_codepage.h"

namespace pelmot {
namespace {

std::optional<std::string> Iconv(const char* to, const char* from, const std::string& in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::vector<char> out(in.size() * 4 + 16);
  char* src = const_cast<char*>(in.data());
  char* dst = out.data();
  std::size_t srcLeft = in.size(), dstLeft = out.size();
  const std::size_t replaced = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (replaced != 0 || srcLeft != 0) return std::nullopt;
  return std::string(out.data(), out.size() - dstLeft);
}

bool IsLead(int byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xEF); }

// The C library reads 0x5C alone as the yen sign and 0x7E alone as an
// overline; the page keeps ASCII as ASCII, as the desktop's code page 932 does.
bool HasAsciiReadOtherwiseByIconv(int first, int second) {
  const auto differs = [](int byte) { return byte == 0x5C || byte == 0x7E; };
  return differs(first) || (!IsLead(first) && differs(second));
}

TEST(WebCodePage, EveryByteAndPairReadsAsIconvReadsIt) {
  WebCodePage page;
  int pairs = 0;  // two bytes read as one character
  for (int first = 0; first < 256; ++first) {
    for (int second = -1; second < 256; ++second) {
      std::string bytes(1, static_cast<char>(first));
      if (second >= 0) bytes += static_cast<char>(second);
      if (HasAsciiReadOtherwiseByIconv(first, second)) continue;
      const auto ours = page.ToUtf8(bytes);
      ASSERT_EQ(ours, Iconv("UTF-8", "SHIFT_JIS", bytes)) << "bytes " << std::hex << first << " " << second;
      if (!ours) continue;
      pairs += second >= 0 && IsLead(first);
      // What reads as one character writes back as the same bytes.
      EXPECT_EQ(page.FromUtf8(*ours), bytes) << "bytes " << std::hex << first << " " << second;
    }
  }
  EXPECT_EQ(pairs, 6879);  // every character of JIS X 0208
  EXPECT_EQ(page.ToUtf8("\x5C\x7E"), "\\~");
}

TEST(WebCodePage, StampsRoundTripAndWhatShiftJisCannotHoldFails) {
  WebCodePage page;
  const std::string stamp = "データ３ 26/12/08 09:56　ｶﾅ";
  const auto bytes = page.FromUtf8(stamp);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes, Iconv("SHIFT_JIS", "UTF-8", stamp));
  EXPECT_EQ(page.ToUtf8(*bytes), stamp);
  // Microsoft's rows (circled digits, the NEC kanji), the yen sign, a
  // character beyond 16 bits, and broken UTF-8.
  for (const std::string text : {"①", "髙", "¥", "😀", "\xE3\x81", "\xC0\xAF", "\xED\xA0\x80", "a\xFF"})
    EXPECT_FALSE(page.FromUtf8(text)) << text;
  // A lead byte at the end, or before a byte no pair has.
  for (const std::string& bytes : {std::string("\x82"), std::string("\x82\x20"), std::string("\x87\x40")})
    EXPECT_FALSE(page.ToUtf8(bytes));
}

}  // namespace
}  // namespace pelmot
