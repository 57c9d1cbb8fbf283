#include "platform/common/codepage.h"

#include <iconv.h>

#include <vector>

namespace pelmot {
std::optional<std::string> ConvertExactly(const char* to, const char* from, const std::string& in) {
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

std::optional<std::string> Utf8ToCp932(const std::string& utf8) { return ConvertExactly("CP932", "UTF-8", utf8); }

std::optional<std::string> Cp932ToUtf8(const std::string& cp932) { return ConvertExactly("UTF-8", "CP932", cp932); }

}  // namespace pelmot
