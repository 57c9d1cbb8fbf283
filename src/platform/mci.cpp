#include "platform/mci.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include "platform/ui_text.h"

namespace pelmot {
namespace {

bool IEquals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

// A word of the command, or a double-quoted string taken whole: a quoted
// name never counts as a keyword, whatever words it holds.
struct Token {
  std::size_t begin = 0, end = 0;  // in the command's text, quotes included
  bool quoted = false;
};

// The words of `text`. A quote opens a string only at the start of a word
// and closes it at a quote followed by a space or the end, so a name may
// even hold a quote of its own.
bool Tokenise(std::string_view text, std::vector<Token>& tokens, std::string& error) {
  std::size_t at = 0;
  while (true) {
    while (at < text.size() && text[at] == ' ') ++at;
    if (at == text.size()) return true;
    Token t{at, at, text[at] == '"'};
    if (t.quoted) {
      std::size_t close = at + 1;
      while (close < text.size() && !(text[close] == '"' && (close + 1 == text.size() || text[close + 1] == ' ')))
        ++close;
      if (close == text.size()) {
        error = "a quoted name has no closing quote";
        return false;
      }
      t.end = close + 1;
    } else {
      t.end = std::min(text.find(' ', at), text.size());
    }
    tokens.push_back(t);
    at = t.end;
  }
}

class Words {
 public:
  Words(std::string_view text, std::vector<Token> tokens) : text_(text), tokens_(std::move(tokens)) {}
  std::size_t size() const { return tokens_.size(); }
  // Token i as written (quotes included).
  std::string_view Raw(std::size_t i) const {
    return text_.substr(tokens_[i].begin, tokens_[i].end - tokens_[i].begin);
  }
  // An unquoted keyword at i.
  bool IsKeyword(std::size_t i, std::string_view keyword) const {
    return !tokens_[i].quoted && IEquals(Raw(i), keyword);
  }
  // Tokens [from, to) as one name: a lone quoted string without its quotes,
  // else the text as written, spaces and all.
  std::string Name(std::size_t from, std::size_t to) const {
    if (from >= to) return {};
    if (to - from == 1 && tokens_[from].quoted) {
      const std::string_view raw = Raw(from);
      return std::string(raw.substr(1, raw.size() - 2));
    }
    return std::string(text_.substr(tokens_[from].begin, tokens_[to - 1].end - tokens_[from].begin));
  }

 private:
  std::string_view text_;
  std::vector<Token> tokens_;
};

// "<file> alias <name>" in tokens [0, n): the file and the name may both
// contain spaces, and even the word "alias"; the game names a device after
// its own file, so a split with the same name on both sides wins, else the
// last "alias".
void SplitAlias(const Words& w, std::size_t n, MciCommand& c) {
  std::optional<std::size_t> last, agreeing;
  for (std::size_t k = 1; k + 1 < n; ++k) {
    if (!w.IsKeyword(k, "alias")) continue;
    last = k;
    if (w.Name(0, k) == w.Name(k + 1, n)) agreeing = k;
  }
  const std::optional<std::size_t> split = agreeing ? agreeing : last;
  if (!split) {
    c.device = w.Name(0, n);
    return;
  }
  c.device = w.Name(0, *split);
  c.alias = w.Name(*split + 1, n);
}

bool ParseOpen(const Words& w, MciCommand& c, std::string& error) {
  // Peel the trailing clauses: "parent <handle>", "style <kind>", "type <kind>".
  std::size_t n = w.size();
  while (n >= 3) {
    const std::string_view value = w.Raw(n - 1);
    if (w.IsKeyword(n - 2, "parent")) {
      if (!AllDigits(value) || value.size() > 18) {
        error = "the window handle after \"parent\" must be a number, not \"" + std::string(value) + "\"";
        return false;
      }
      c.parent = std::stoll(std::string(value));
    } else if (!w.IsKeyword(n - 2, "style") && !w.IsKeyword(n - 2, "type")) {
      break;
    }
    n -= 2;
  }
  SplitAlias(w, n, c);
  if (c.device.empty()) {
    error = "open needs a file name";
    return false;
  }
  return true;
}

bool ParsePlay(const Words& w, MciCommand& c, std::string& error) {
  std::size_t n = w.size();
  for (; n >= 2; --n) {
    if (w.IsKeyword(n - 1, "window")) {
      c.inWindow = true;
    } else if (w.IsKeyword(n - 1, "wait")) {
      c.wait = true;
    } else if (!w.IsKeyword(n - 1, "notify")) {
      break;
    }
  }
  c.device = w.Name(0, n);
  if (c.device.empty()) {
    error = "play needs a device name";
    return false;
  }
  return true;
}

}  // namespace

std::optional<MciCommand> ParseMciCommand(std::string_view text, std::string& error) {
  std::vector<Token> tokens;
  if (!Tokenise(text, tokens, error)) return std::nullopt;
  if (tokens.empty()) {
    error = "an empty multimedia command";
    return std::nullopt;
  }
  const std::string_view verb = text.substr(tokens[0].begin, tokens[0].end - tokens[0].begin);
  tokens.erase(tokens.begin());
  const Words args(text, std::move(tokens));
  MciCommand c;
  if (IEquals(verb, "open")) {
    c.verb = MciCommand::Verb::kOpen;
    if (!ParseOpen(args, c, error)) return std::nullopt;
  } else if (IEquals(verb, "play")) {
    c.verb = MciCommand::Verb::kPlay;
    if (!ParsePlay(args, c, error)) return std::nullopt;
  } else if (IEquals(verb, "close")) {
    c.verb = MciCommand::Verb::kClose;
    c.device = args.Name(0, args.size());
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

std::string MovieFailureMessage(const std::string& file, const std::string& reason) { return file + "\n\n" + reason; }

std::string MissingFileReason() { return Ui(UiText::movie_file_missing); }

std::string UnknownDeviceReason() { return Ui(UiText::movie_device_not_open); }

}  // namespace pelmot
