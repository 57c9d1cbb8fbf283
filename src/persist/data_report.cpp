#include "persist/data_report.h"

#include <ostream>

#include "game/run_flow.h"
#include "persist/data_files.h"
#include "persist/stamps.h"
#include "platform/services.h"

namespace pelmot {
namespace {

std::string BaseName(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return s;
}

void PrintSlot(const std::string& name, const std::string& bytes, std::ostream& out) {
  auto r = DecodeSlot(bytes);
  out << name << ": a save slot, " << bytes.size() << " bytes";
  if (!r) {
    out << " (too short: a slot holds 30 bytes; it cannot be loaded)\n";
    return;
  }
  out << (bytes.size() > 30 ? " (bytes after the 30th are never read)" : "") << "\n";
  const char* mode = r->ResumeMode == kModeScene    ? " (scene play)"
                     : r->ResumeMode == kModeChoice ? " (waiting for a choice)"
                                                    : " (not a mode a game resumes in)";
  out << "  ResumeMode  " << r->ResumeMode << mode << "\n"
      << "  SavedScene  " << r->SavedScene << "\n"
      << "  SceneStep   " << r->SceneStep << "\n"
      << "  SavedPic    " << r->SavedPic << (r->SavedPic == kNoPicture ? " (none)" : "") << "\n"
      << "  Reserved    " << r->Reserved4 << " " << r->Reserved5 << " " << r->Reserved7 << " " << r->Reserved8 << "\n"
      << "  LastChoice  " << r->LastChoice << "\n"
      << "  DayNo       " << r->DayNo << "\n"
      << "  Params      " << r->Params[0] << " " << r->Params[1] << " " << r->Params[2] << " " << r->Params[3] << "\n"
      << "  Condition   " << r->Condition << "\n";
}

void PrintStamps(const std::string& name, const std::string& bytes, CodePage& codePage, std::ostream& out) {
  const Stamps stamps = DecodeSaveDate(bytes, codePage);
  out << name << ": time stamps, " << bytes.size() << " bytes\n";
  for (int i = 0; i < 11; ++i) {
    const std::string label = i < 10 ? "  slot " + std::to_string(i + 1) : "  last play";
    out << label << std::string(12 - label.size(), ' ');
    if (stamps[i].empty())
      out << "(empty)\n";
    else if (!ParseStamp(stamps[i]))
      out << "(unreadable) " << stamps[i] << "\n";
    else
      out << stamps[i].substr(3) << "\n";
  }
}

void PrintSeenFlags(const std::string& name, const std::string& bytes, std::ostream& out) {
  const SeenFlags flags = DecodeCgSeen(bytes);
  std::string seen;
  int count = 0;
  for (int n = 0; n < 135; ++n) {
    if (!flags[n]) continue;
    seen += (count++ ? " " : "") + std::to_string(n);
  }
  out << name << ": seen pictures and the last ending, " << bytes.size() << " bytes\n"
      << "  seen " << count << " of 135 pictures" << (count ? ": " + seen : "") << "\n";
  const int ending = flags[135];
  out << "  EndingNo " << ending;
  if (ending == 0)
    out << " (no ending reached yet)";
  else if (ending <= 10)
    out << " (ending " << ending << " reached; the next greeting has not seen it)";
  else if (ending == 11)
    out << " (an ending was reached and greeted)";
  out << "\n";
}

}  // namespace

int InspectDataFile(Files& files, CodePage& codePage, const std::string& path, std::ostream& out, std::ostream& err) {
  std::string error;
  auto bytes = files.ReadWhole(path, kMaxDataFileBytes, error);
  if (!bytes) {
    err << "pelmot: cannot read " << error << "\n";
    return 1;
  }
  const std::string name = BaseName(path);
  const std::string upper = Upper(name);
  if (upper == "SAVEDATE.DAT")
    PrintStamps(name, *bytes, codePage, out);
  else if (upper == "SAVEDATA.DAT")
    PrintSeenFlags(name, *bytes, out);
  else if (upper.rfind("PELMOTDAT", 0) == 0 || upper == "PELMOTQUICK.DAT" || bytes->size() == 30)
    PrintSlot(name, *bytes, out);
  else {
    err << "pelmot: " << path
        << " is not SAVEDATE.DAT, SAVEDATA.DAT, a PELMOTDATnn.DAT slot or the quick save PELMOTQUICK.DAT\n";
    return 1;
  }
  return 0;
}

}  // namespace pelmot
