#include "platform/mci.h"

#include <cctype>
#include <vector>

namespace pelmot {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

bool IEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// The last word of s, and s without it.
std::string_view LastWord(std::string_view s, std::string_view* rest) {
  s = Trim(s);
  const std::size_t space = s.rfind(' ');
  if (space == std::string_view::npos) {
    *rest = {};
    return s;
  }
  *rest = Trim(s.substr(0, space));
  return s.substr(space + 1);
}

std::string Unquote(std::string_view s) {
  s = Trim(s);
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
  return std::string(s);
}

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

// "<file> alias <name>": the file and the name may both contain spaces, and
// even the word "alias"; the game names a device after its own file, so a
// split with the same text on both sides wins, else the last " alias ".
void SplitAlias(std::string_view text, MciCommand& c) {
  constexpr std::string_view kAlias = " alias ";
  std::vector<std::size_t> at;
  for (std::size_t p = text.find(kAlias); p != std::string_view::npos; p = text.find(kAlias, p + 1))
    at.push_back(p);
  if (at.empty()) {
    c.device = Unquote(text);
    return;
  }
  std::size_t split = at.back();
  for (std::size_t p : at)
    if (Trim(text.substr(0, p)) == Trim(text.substr(p + kAlias.size()))) split = p;
  c.device = Unquote(text.substr(0, split));
  c.alias = Unquote(text.substr(split + kAlias.size()));
}

bool ParseOpen(std::string_view args, MciCommand& c, std::string& error) {
  // Peel the trailing clauses: "parent <handle>", "style <kind>", "type <kind>".
  while (true) {
    std::string_view rest;
    std::string_view last = LastWord(args, &rest);
    std::string_view before;
    std::string_view keyword = LastWord(rest, &before);
    if (IEquals(keyword, "parent")) {
      if (!AllDigits(last)) {
        error = "the window handle after \"parent\" must be a number, not \"" + std::string(last) + "\"";
        return false;
      }
      c.parent = std::stoll(std::string(last));
    } else if (!IEquals(keyword, "style") && !IEquals(keyword, "type")) {
      break;
    }
    args = before;
  }
  SplitAlias(Trim(args), c);
  if (c.device.empty()) {
    error = "open needs a file name";
    return false;
  }
  return true;
}

bool ParsePlay(std::string_view args, MciCommand& c, std::string& error) {
  while (true) {
    std::string_view rest;
    std::string_view last = LastWord(args, &rest);
    if (rest.empty()) break;
    if (IEquals(last, "window")) {
      c.inWindow = true;
    } else if (IEquals(last, "wait")) {
      c.wait = true;
    } else if (!IEquals(last, "notify")) {
      break;
    }
    args = rest;
  }
  c.device = Unquote(args);
  if (c.device.empty()) {
    error = "play needs a device name";
    return false;
  }
  return true;
}

}  // namespace

std::optional<MciCommand> ParseMciCommand(std::string_view text, std::string& error) {
  text = Trim(text);
  const std::size_t space = text.find(' ');
  const std::string_view verb = text.substr(0, space);
  const std::string_view args = space == std::string_view::npos ? std::string_view{} : Trim(text.substr(space));
  MciCommand c;
  if (IEquals(verb, "open")) {
    c.verb = MciCommand::Verb::kOpen;
    if (!ParseOpen(args, c, error)) return std::nullopt;
  } else if (IEquals(verb, "play")) {
    c.verb = MciCommand::Verb::kPlay;
    if (!ParsePlay(args, c, error)) return std::nullopt;
  } else if (IEquals(verb, "close")) {
    c.verb = MciCommand::Verb::kClose;
    c.device = Unquote(args);
    if (c.device.empty()) {
      error = "close needs a device name";
      return std::nullopt;
    }
  } else {
    error = "unknown multimedia command \"" + std::string(verb) + "\"";
    return std::nullopt;
  }
  return c;
}

std::string MovieFailureMessage(const std::string& file, const std::string& reason) {
  return file + "\n\n" + reason;
}

std::string MissingFileReason() {
  return "指定されたファイルが見つかりません。\nパスとファイル名を確認してください。";
}

std::string UnknownDeviceReason() { return "指定されたデバイスは開かれていません。"; }

}  // namespace pelmot
