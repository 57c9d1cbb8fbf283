#include "platform/web/web_codepage.h"

#include <iconv.h>

#include <vector>

namespace pelmot {
namespace {

// Nothing unless every byte converts exactly: musl counts a character it
// replaced (with '*') in iconv's result.
std::optional<std::string> Convert(const char* to, const char* from, const std::string& in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::vector<char> out(in.size() * 4 + 16);
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char* dst = out.data();
  std::size_t dstLeft = out.size();
  const std::size_t replaced = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (replaced != 0 || srcLeft != 0) return std::nullopt;
  return std::string(out.data(), out.size() - dstLeft);
}

}  // namespace

std::optional<std::string> WebCodePage::FromUtf8(const std::string& utf8) {
  return Convert("SHIFT_JIS", "UTF-8", utf8);
}

std::optional<std::string> WebCodePage::ToUtf8(const std::string& cp932) {
  return Convert("UTF-8", "SHIFT_JIS", cp932);
}

}  // namespace pelmot
