#include "platform/ustar.h"

#include <algorithm>
#include <cstdint>
#include <ctime>

namespace pelmot {
namespace {

constexpr std::size_t kBlock = 512;
constexpr std::size_t kRecord = 20 * kBlock;  // tar's usual record: archives end on one

struct Field {
  std::size_t at;
  std::size_t size;
};
constexpr Field kName{0, 100}, kMode{100, 8}, kUid{108, 8}, kGid{116, 8}, kSize{124, 12}, kMtime{136, 12},
    kChecksum{148, 8}, kType{156, 1}, kMagic{257, 6}, kVersion{263, 2}, kPrefix{345, 155};

std::string_view FieldOf(std::string_view block, Field f) { return block.substr(f.at, f.size); }

// A text field up to its first NUL.
std::string TextOf(std::string_view block, Field f) {
  std::string_view text = FieldOf(block, f);
  return std::string(text.substr(0, std::min(text.find('\0'), text.size())));
}

// An octal number: spaces, digits, then NUL or spaces. Nothing for anything
// else (base-256 sizes included: no data file is near that large).
std::optional<std::uint64_t> OctalOf(std::string_view block, Field f) {
  std::string_view text = FieldOf(block, f);
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::uint64_t value = 0;
  std::size_t digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '7'; ++i, ++digits) value = value * 8 + (text[i] - '0');
  for (; i < text.size(); ++i)
    if (text[i] != '\0' && text[i] != ' ') return std::nullopt;
  if (digits == 0 || digits > 11) return std::nullopt;
  return value;
}

std::uint64_t ChecksumOf(std::string_view block) {
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < kBlock; ++i)
    sum += (i >= kChecksum.at && i < kChecksum.at + kChecksum.size) ? ' ' : static_cast<unsigned char>(block[i]);
  return sum;
}

void PutText(std::string& block, Field f, const std::string& text) {
  block.replace(f.at, std::min(text.size(), f.size), text.substr(0, f.size));
}

// `digits` octal digits then a NUL.
void PutOctal(std::string& block, Field f, std::uint64_t value) {
  std::string text(f.size - 1, '0');
  for (std::size_t i = text.size(); i-- > 0 && value; value /= 8) text[i] = static_cast<char>('0' + value % 8);
  PutText(block, f, text);
}

std::string HeaderFor(const ArchiveMember& m, std::uint64_t mtime) {
  std::string block(kBlock, '\0');
  PutText(block, kName, m.name);
  PutOctal(block, kMode, 0644);
  PutOctal(block, kUid, 0);
  PutOctal(block, kGid, 0);
  PutOctal(block, kSize, m.bytes.size());
  PutOctal(block, kMtime, mtime);
  block[kType.at] = '0';
  PutText(block, kMagic, std::string("ustar\0", 6));
  PutText(block, kVersion, "00");
  std::string sum(6, '0');
  std::uint64_t value = ChecksumOf(block);
  for (std::size_t i = sum.size(); i-- > 0; value /= 8) sum[i] = static_cast<char>('0' + value % 8);
  PutText(block, kChecksum, sum + std::string("\0 ", 2));
  return block;
}

std::size_t Padded(std::size_t size) { return (size + kBlock - 1) / kBlock * kBlock; }

}  // namespace

std::optional<std::string> UstarFormat::Pack(const std::vector<ArchiveMember>& members, std::string& error) {
  std::string out;
  const auto now = static_cast<std::uint64_t>(std::max<std::time_t>(0, std::time(nullptr)));
  for (const ArchiveMember& m : members) {
    if (m.name.empty() || m.name.size() >= kName.size || static_cast<std::uint64_t>(m.bytes.size()) >= (std::uint64_t{1} << 33)) {
      error = "\"" + m.name + "\" cannot be written in a ustar archive";
      return std::nullopt;
    }
    out += HeaderFor(m, now);
    out += m.bytes;
    out.resize(Padded(out.size()), '\0');
  }
  out.resize(out.size() + 2 * kBlock, '\0');
  out.resize((out.size() + kRecord - 1) / kRecord * kRecord, '\0');
  return out;
}

std::optional<std::vector<ArchiveMember>> UstarFormat::Unpack(const std::string& archive, const ArchiveRules& rules,
                                                              std::string& error) {
  std::vector<ArchiveMember> members;
  const std::string_view all(archive);
  for (std::size_t at = 0;;) {
    if (at + kBlock > all.size()) {
      error = members.empty() && all.empty() ? "the file is empty" : "the archive is cut short (it ends before its end mark)";
      return std::nullopt;
    }
    const std::string_view block = all.substr(at, kBlock);
    if (block.find_first_not_of('\0') == std::string_view::npos) return members;
    // POSIX ustar only, as both editions write it (GNU's form keeps other
    // things where ustar has the name's prefix).
    if (FieldOf(block, kMagic) != std::string_view("ustar\0", 6) || FieldOf(block, kVersion) != "00" ||
        OctalOf(block, kChecksum) != ChecksumOf(block)) {
      error = at == 0 ? "not a tar archive" : "a damaged header after " + members.back().name;
      return std::nullopt;
    }
    std::string name = TextOf(block, kName);
    if (const std::string prefix = TextOf(block, kPrefix); !prefix.empty()) name = prefix + "/" + name;
    if (auto problem = MemberNameProblem(name, rules, members)) {
      error = *problem;
      return std::nullopt;
    }
    if (block[kType.at] != '0' && block[kType.at] != '\0') {
      error = name + " is not a plain file (a link, a folder or a device)";
      return std::nullopt;
    }
    const auto size = OctalOf(block, kSize);
    if (!size || *size > *rules.maxBytes(name)) {
      error = name + " is larger than the game's file of that name can be";
      return std::nullopt;
    }
    at += kBlock;
    if (*size > all.size() - at) {
      error = "the archive ends in the middle of " + name;
      return std::nullopt;
    }
    members.push_back({name, std::string(all.substr(at, *size))});
    at += std::min<std::size_t>(Padded(*size), all.size() - at);
  }
}

}  // namespace pelmot
