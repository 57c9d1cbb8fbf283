#include "scenes/scenario_parser.h"

#include <algorithm>
#include <charconv>

namespace pelmot {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr const char* kHeaderWords = "sN, p0, p1, C<n>, pic=N or bg=K";

std::string_view TrimSpaces(std::string_view s) {
  const auto begin = s.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  const auto end = s.find_last_not_of(" \t");
  return s.substr(begin, end - begin + 1);
}

std::optional<int> Number(std::string_view digits) {
  if (digits.empty() || digits.size() > 6) return std::nullopt;
  int value = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size() || value < 0) return std::nullopt;
  return value;
}

// "0", "0,3": Condition values 0 ... 7.
std::optional<ConditionSet> Conditions(std::string_view list) {
  unsigned bits = 0;
  std::size_t i = 0;
  while (i <= list.size()) {
    const auto comma = std::min(list.find(',', i), list.size());
    auto value = Number(list.substr(i, comma - i));
    if (!value || *value > 7) return std::nullopt;
    bits |= 1u << *value;
    i = comma + 1;
  }
  return ConditionSet::FromBits(static_cast<std::uint8_t>(bits));
}

std::vector<std::string_view> Words(std::string_view header) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < header.size()) {
    while (i < header.size() && (header[i] == ' ' || header[i] == '\t')) ++i;
    std::size_t j = i;
    while (j < header.size() && header[j] != ' ' && header[j] != '\t') ++j;
    if (j > i) words.push_back(header.substr(i, j - i));
    i = j;
  }
  return words;
}

class LineReader {
 public:
  LineReader(ParsedScenario& out, int line) : out_(out), line_(line) {}

  void Read(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos || text[first] == '#') return;
    if (!IsValidUtf8(text)) {
      Problem("the line is not UTF-8 text");
      return;
    }
    const auto cut = text.find_first_of("|>");
    if (cut == std::string_view::npos) {
      Problem("expected a header, then \"|\" and the line, or \">\" and the options");
      return;
    }
    entry_.line = line_;
    entry_.kind = text[cut] == '>' ? ScenarioEntry::Kind::Choice : ScenarioEntry::Kind::Line;
    if (!ReadHeader(Words(text.substr(0, cut)))) return;
    if (!ReadBody(text.substr(cut + 1))) return;
    out_.entries.push_back(std::move(entry_));
  }

 private:
  bool Problem(const std::string& message) {
    out_.problems.push_back({line_, message});
    return false;
  }

  bool ReadHeader(const std::vector<std::string_view>& words) {
    if (words.empty()) return Problem("the header is empty; it starts with a scene number or \"greeting\"");
    if (words[0] == "greeting") return ReadGreetingHeader(words);
    auto scene = Number(words[0]);
    if (!scene)
      return Problem("the header starts with a scene number or \"greeting\", not \"" + std::string(words[0]) + "\"");
    entry_.scene = *scene;
    for (std::size_t i = 1; i < words.size(); ++i)
      if (!ReadWord(words[i])) return false;
    if (entry_.step < 0) return Problem("the header names no step (s0, s1, ...)");
    return true;
  }

  bool ReadGreetingHeader(const std::vector<std::string_view>& words) {
    std::optional<int> picture = words.size() == 2 ? Number(words[1]) : std::nullopt;
    if (!picture) return Problem("expected \"greeting N\" with the number N of a greeting picture");
    if (entry_.kind != ScenarioEntry::Kind::Line) return Problem("a greeting is one line: write it after \"|\"");
    entry_.kind = ScenarioEntry::Kind::Greeting;
    entry_.greeting = *picture;
    return true;
  }

  bool ReadWord(std::string_view w) {
    const std::string word(w);
    if (w.size() > 1 && w[0] == 's') {
      auto step = Number(w.substr(1));
      if (!step) return Problem("\"" + word + "\" is not a step; write s0, s1, ...");
      if (entry_.step >= 0) return Problem("the header names two steps");
      entry_.step = *step;
    } else if (w == "p0" || w == "p1") {
      if (entry_.pick != kAnyPick) return Problem("the header names two pick lanes");
      entry_.pick = w[1] - '0';
    } else if (w.size() > 1 && w[0] == 'C') {
      auto set = Conditions(w.substr(1));
      if (!set) return Problem("\"" + word + "\" is not a Condition list; write C0 ... C7 or a list such as C0,3");
      if (entry_.conditions) return Problem("the header names Condition twice");
      entry_.conditions = set;
    } else if (w.substr(0, 4) == "pic=") {
      entry_.picture = Number(w.substr(4));
      if (!entry_.picture) return Problem("\"" + word + "\": expected pic=N with a picture number N");
    } else if (w.substr(0, 3) == "bg=") {
      entry_.background = Number(w.substr(3));
      if (!entry_.background) return Problem("\"" + word + "\": expected bg=K with a background number K");
    } else {
      return Problem("unknown word \"" + word + "\" in the header (expected " + kHeaderWords + ")");
    }
    return true;
  }

  bool ReadBody(std::string_view body) {
    if (entry_.kind != ScenarioEntry::Kind::Choice) {
      entry_.text = std::string(TrimSpaces(body));
      return true;
    }
    std::size_t i = 0;
    while (i <= body.size()) {
      const auto bar = std::min(body.find('|', i), body.size());
      std::string_view option = TrimSpaces(body.substr(i, bar - i));
      if (option.empty()) return Problem("option " + std::to_string(entry_.options.size() + 1) + " is empty");
      entry_.options.emplace_back(option);
      i = bar + 1;
    }
    return true;
  }

  ParsedScenario& out_;
  int line_;
  ScenarioEntry entry_;
};

}  // namespace

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t cp = 0;
    if (c < 0x80)
      extra = 0, cp = c;
    else if ((c & 0xE0) == 0xC0)
      extra = 1, cp = c & 0x1F;
    else if ((c & 0xF0) == 0xE0)
      extra = 2, cp = c & 0x0F;
    else if ((c & 0xF8) == 0xF0)
      extra = 3, cp = c & 0x07;
    else
      return false;
    if (extra > 0 && i + extra >= text.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      const auto d = static_cast<unsigned char>(text[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

ParsedScenario ParseScenario(std::string_view text) {
  ParsedScenario out;
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
  int line = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto end = std::min(text.find('\n', i), text.size());
    std::string_view row = text.substr(i, end - i);
    if (!row.empty() && row.back() == '\r') row.remove_suffix(1);
    LineReader(out, ++line).Read(row);
    i = end + 1;
  }
  out.lineCount = line;
  return out;
}

}  // namespace pelmot
