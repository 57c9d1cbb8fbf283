#include "platform/common/po_catalogs.h"

#include <gettext-po.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/common/catalog_folder.h"
#include "platform/common/files.h"
#include "platform/common/lazy_library.h"
#include "platform/utf8.h"

namespace pelmot {
namespace {

// Only a translation, or a check of one, reads PO files.
LazyLibrary libgettextpo{PELMOT_LIBGETTEXTPO_SONAME};
PELMOT_LAZY_FUNCTION(libgettextpo, po_file_domains);
PELMOT_LAZY_FUNCTION(libgettextpo, po_file_free);
PELMOT_LAZY_FUNCTION(libgettextpo, po_file_read);
PELMOT_LAZY_FUNCTION(libgettextpo, po_message_is_fuzzy);
PELMOT_LAZY_FUNCTION(libgettextpo, po_message_is_obsolete);
PELMOT_LAZY_FUNCTION(libgettextpo, po_message_iterator);
PELMOT_LAZY_FUNCTION(libgettextpo, po_message_iterator_free);
PELMOT_LAZY_FUNCTION(libgettextpo, po_message_msgctxt);
PELMOT_LAZY_FUNCTION(libgettextpo, po_message_msgid);
PELMOT_LAZY_FUNCTION(libgettextpo, po_message_msgid_plural);
PELMOT_LAZY_FUNCTION(libgettextpo, po_message_msgstr);
PELMOT_LAZY_FUNCTION(libgettextpo, po_message_msgstr_plural);
PELMOT_LAZY_FUNCTION(libgettextpo, po_next_message);

// The first error libgettextpo reports while reading one file. Its handler
// is a plain function, so the reader in progress is a thread's own.
struct ReadErrors {
  std::string path;  // as the player named it, for the messages
  std::string first;
};
thread_local ReadErrors* current = nullptr;

void Record(int severity, const char* file, std::size_t line, const char* text) {
  if (!current || severity == PO_SEVERITY_WARNING || !current->first.empty()) return;
  std::string where = current->path;
  if (file && line != static_cast<std::size_t>(-1)) where += ":" + std::to_string(line);
  current->first = where + ": " + (text ? text : "unreadable");
  while (!current->first.empty() && current->first.back() == '\n') current->first.pop_back();
}

// libgettextpo's default handler ends the program on a fatal error; this
// one only records it, and the reader returns what it has (refused below).
void OnError(int severity, po_message_t, const char* file, std::size_t line, std::size_t, int, const char* text) {
  Record(severity, file, line, text);
}

void OnError2(int severity, po_message_t, const char* file, std::size_t line, std::size_t, int, const char* text,
              po_message_t, const char*, std::size_t, std::size_t, int, const char*) {
  Record(severity, file, line, text);
}

const po_xerror_handler kHandler{OnError, OnError2};

struct PoFileFree {
  void operator()(po_file_t file) const { po_file_free(file); }
};
struct IteratorFree {
  void operator()(po_message_iterator_t it) const { po_message_iterator_free(it); }
};

// The line each entry starts on (its msgctxt, else its msgid), in the
// file's order, which is the order libgettextpo gives them in; obsolete
// "#~" entries count, earlier msgids ("#|") do not.
std::vector<int> EntryLines(std::string_view text) {
  std::vector<int> lines;
  int number = 0, context = 0;
  for (std::size_t from = 0; from < text.size();) {
    std::size_t end = text.find('\n', from);
    if (end == std::string_view::npos) end = text.size();
    std::string_view row = text.substr(from, end - from);
    from = end + 1;
    ++number;
    auto skipSpace = [&row] {
      while (!row.empty() && (row.front() == ' ' || row.front() == '\t')) row.remove_prefix(1);
    };
    skipSpace();
    if (row.starts_with("#~")) {
      row.remove_prefix(2);
      skipSpace();
    }
    auto keyword = [&row](std::string_view word) {
      return row.starts_with(word) && row.size() > word.size() && (row[word.size()] == ' ' || row[word.size()] == '"');
    };
    if (keyword("msgctxt")) {
      context = number;
    } else if (keyword("msgid")) {
      lines.push_back(context ? context : number);
      context = 0;
    }
  }
  return lines;
}

bool IsUtf8(const char* s) {
  const std::string_view text = s ? s : "";
  return EncodeUtf8(DecodeUtf8(text)) == text;
}

// "charset=X" of the header, or "" when it names none.
std::string Charset(const char* header) {
  const char* at = header ? std::strstr(header, "charset=") : nullptr;
  if (!at) return "";
  at += std::strlen("charset=");
  std::string charset;
  while (*at && *at != '\n' && *at != ' ' && *at != ';') charset += *at++;
  return charset;
}

bool IsUtf8Name(std::string name) {
  for (char& c : name) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return name == "UTF-8" || name == "UTF8";
}

std::optional<Catalog> Refuse(std::string& error, const std::string& why) {
  error = why;
  return std::nullopt;
}

// The messages of a file libgettextpo has read without an error.
std::optional<Catalog> Collect(po_file_t file, const std::vector<int>& lines, const std::string& path,
                               std::string& error) {
  const char* const* domains = po_file_domains(file);
  if (domains && domains[0] && (domains[1] || std::strcmp(domains[0], "messages") != 0))
    return Refuse(error, path + ": a catalog of the game has no \"domain\" lines");
  std::unique_ptr<struct po_message_iterator, IteratorFree> it(po_message_iterator(file, nullptr));
  Catalog catalog;
  std::size_t index = 0;
  for (po_message_t m; (m = po_next_message(it.get())) != nullptr; ++index) {
    const int line = index < lines.size() ? lines[index] : 0;
    const char* context = po_message_msgctxt(m);
    const char* original = po_message_msgid(m);
    const char* translation = po_message_msgid_plural(m) ? po_message_msgstr_plural(m, 0) : po_message_msgstr(m);
    const std::string where = path + ":" + std::to_string(line) + ": ";
    if (!context && original && !*original) {
      const std::string charset = Charset(translation);
      if (!charset.empty() && charset != "CHARSET" && !IsUtf8Name(charset))
        return Refuse(error, where + "the catalog is in " + charset + "; the game reads UTF-8 only");
      continue;
    }
    if (!IsUtf8(context) || !IsUtf8(original) || !IsUtf8(translation))
      return Refuse(error, where + "the entry is not valid UTF-8");
    catalog.entries.push_back({context ? context : "", original ? original : "", translation ? translation : "",
                               po_message_is_fuzzy(m) != 0, po_message_is_obsolete(m) != 0, line});
  }
  return catalog;
}

// The bytes in a file of their own in memory, which libgettextpo reads by
// name; -1 when there is none.
int MemoryFile(const std::string& bytes) {
  const int fd = ::memfd_create("catalog", MFD_CLOEXEC);
  if (fd < 0) return -1;
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) {
      ::close(fd);
      return -1;
    }
    done += static_cast<std::size_t>(n);
  }
  return fd;
}

}  // namespace

std::optional<Catalog> ReadPoFile(const std::string& path, std::string& error) {
  // The file is read once, within the size limit, and libgettextpo parses
  // exactly those bytes from memory: a file that changes meanwhile, or grows
  // without end, is never what it reads.
  auto text = ReadWholeFile(path, kMaxScenarioBytes, error);
  if (!text) return std::nullopt;
  if (!libgettextpo.Loads(error)) return Refuse(error, path + ": " + error);
  const int fd = MemoryFile(*text);
  if (fd < 0) return Refuse(error, path + ": " + std::strerror(errno));
  ReadErrors errors{path, ""};
  current = &errors;
  std::unique_ptr<struct po_file, PoFileFree> file(
      po_file_read(("/proc/self/fd/" + std::to_string(fd)).c_str(), &kHandler));
  current = nullptr;
  ::close(fd);
  if (!errors.first.empty()) return Refuse(error, errors.first);
  if (!file) return Refuse(error, path + ": cannot be read as a PO file");
  return Collect(file.get(), EntryLines(*text), path, error);
}

std::vector<std::string> PoCatalogs::Languages() { return CatalogCodesIn(contentDir_, ".po"); }

std::optional<Catalog> PoCatalogs::Load(const std::string& code, std::string& error) {
  if (!IsCatalogCode(code)) return Refuse(error, "\"" + code + "\" is no language code (letters, digits, _ and -)");
  if (code == kOriginalLanguage) return Refuse(error, code + " is the original language; it has no catalog");
  return ReadPoFile(CatalogPath(contentDir_, code, ".po"), error);
}

}  // namespace pelmot
