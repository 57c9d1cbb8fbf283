#include "platform/web/web_codepage.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "sjis_table.h"

namespace pelmot {
namespace {

constexpr char32_t kNone = 0xFFFFFFFF;

bool IsLead(unsigned byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xEF); }
bool IsHalfWidthKana(unsigned byte) { return byte >= 0xA1 && byte <= 0xDF; }

// The character of two Shift_JIS bytes, kNone when they name none.
char32_t FromPair(unsigned lead, unsigned trail) {
  if (trail < 0x40 || trail > 0xFC || trail == 0x7F) return kNone;
  const unsigned rowPair = lead <= 0x9F ? lead - 0x81 : lead - 0xC1;
  const bool evenRow = trail >= 0x9F;
  const unsigned row = rowPair * 2 + (evenRow ? 1 : 0);  // from 0
  const unsigned cell = evenRow ? trail - 0x9F : trail - (trail >= 0x80 ? 0x41 : 0x40);
  const std::uint16_t code = kJis0208ToUnicode[row * 94 + cell];
  return code ? code : kNone;
}

void PutUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// How many bytes follow a UTF-8 sequence's first byte; -1 for a byte no
// sequence starts with.
int FollowingBytes(unsigned first) {
  if (first < 0x80) return 0;
  if (first >= 0xC2 && first <= 0xDF) return 1;
  if (first >= 0xE0 && first <= 0xEF) return 2;
  return first >= 0xF0 && first <= 0xF4 ? 3 : -1;
}

// The next character of strict UTF-8 at `at` (moved past it), kNone for a
// malformed, overlong or surrogate sequence.
char32_t TakeUtf8(const std::string& in, std::size_t& at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(in[i]); };
  const unsigned first = byte(at);
  const int more = FollowingBytes(first);
  if (more < 0 || in.size() - at <= static_cast<std::size_t>(more)) return kNone;
  char32_t c = more == 0 ? first : first & (0x3F >> more);
  for (int i = 1; i <= more; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return kNone;
    c = (c << 6) | (byte(at + i) & 0x3F);
  }
  constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (c < kSmallest[more] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kNone;
  at += static_cast<std::size_t>(more) + 1;
  return c;
}

// Each table character and its two bytes, ordered by character, made at
// the first conversion to Shift_JIS.
const std::vector<std::pair<char16_t, std::uint16_t>>& ByCharacter() {
  static const auto table = [] {
    std::vector<std::pair<char16_t, std::uint16_t>> pairs;
    for (unsigned lead = 0x81; lead <= 0xEF; ++lead) {
      if (!IsLead(lead)) continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        const char32_t c = FromPair(lead, trail);
        if (c != kNone) pairs.emplace_back(static_cast<char16_t>(c), static_cast<std::uint16_t>(lead << 8 | trail));
      }
    }
    std::sort(pairs.begin(), pairs.end());
    return pairs;
  }();
  return table;
}

}  // namespace

std::optional<std::string> WebCodePage::FromUtf8(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const char32_t c = TakeUtf8(utf8, at);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c >= 0xFF61 && c <= 0xFF9F) {
      out += static_cast<char>(c - 0xFF61 + 0xA1);
    } else {
      const auto& table = ByCharacter();
      const auto it = std::lower_bound(table.begin(), table.end(), std::make_pair(static_cast<char16_t>(c), std::uint16_t{0}));
      if (c > 0xFFFF || it == table.end() || it->first != c) return std::nullopt;
      out += static_cast<char>(it->second >> 8);
      out += static_cast<char>(it->second & 0xFF);
    }
  }
  return out;
}

std::optional<std::string> WebCodePage::ToUtf8(const std::string& cp932) {
  std::string out;
  out.reserve(cp932.size() * 3 / 2);
  for (std::size_t at = 0; at < cp932.size(); ++at) {
    const unsigned byte = static_cast<unsigned char>(cp932[at]);
    char32_t c = kNone;
    if (byte < 0x80) {
      c = byte;
    } else if (IsHalfWidthKana(byte)) {
      c = byte - 0xA1 + 0xFF61;
    } else if (IsLead(byte) && at + 1 < cp932.size()) {
      c = FromPair(byte, static_cast<unsigned char>(cp932[++at]));
    }
    if (c == kNone) return std::nullopt;
    PutUtf8(c, out);
  }
  return out;
}

}  // namespace pelmot
