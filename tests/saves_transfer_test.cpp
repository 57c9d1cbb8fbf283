// Saves leave and come back: `pelmot --export-saves` writes the data files
// of a data root into one tar archive and `--import-saves` brings them back,
// each checked as a load checks it, all or nothing, never under a running
// game; an import cut short is finished at the next start. Both editions'
// archive readers (libarchive, and the browser's own ustar) refuse the same
// damaged archives.
#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "app/saves_transfer.h"
#include "game_fixture.h"
#include "persist/data_files.h"
#include "platform/common/codepage.h"
#include "platform/common/instance_lock.h"
#include "platform/common/libarchive_format.h"
#include "platform/common/staged_import.h"
#include "platform/ustar.h"

namespace pelmot {
namespace {

namespace fs = std::filesystem;
using testing::CommandRun;
using testing::FileBytes;
using testing::RunCommand;
using testing::TempDir;
using testing::WriteBytes;

using Outcome = CommandRun;

// The program with `args`, standard input not a terminal.
Outcome Pelmot(const std::string& args) {
  return RunCommand("ASAN_OPTIONS=detect_leaks=0 " + std::string(PELMOT_OUTPUT_DIR) + "/pelmot " + args +
                    " </dev/null");
}

// A headless script on `dataRoot`; its standard output (the states printed).
Outcome Play(const std::string& dataRoot, const std::string& script) {
  TempDir scratch;
  const std::string path = scratch.path() + "/script.txt";
  std::ofstream(path) << script;
  return Pelmot("--headless --script " + path + " --data-dir " + dataRoot + " --content " + PELMOT_OUTPUT_DIR);
}

// A new game, a few lines on, a save to slot 3 through the system menu, a
// line on, a quick save (F5).
const char* const kPlayAndSave =
    "now 2026-12-06 10:00:00\n"
    "click 400 300\nclick 400 300\npick 0\n"
    "click 400 300\nclick 400 300\nclick 400 300\n"
    "rclick 400 300\nrclick 400 300\npick 0\npick 2\npick 0\n"
    "click 400 300\nclick 400 300\nkey f5\n";
// Slot 3 loaded from the title menu; then the quick save loaded with F9.
const char* const kLoadSlot3 = "click 400 300\nclick 400 300\npick 1\npick 2\npick 0\nstate\n";
const char* const kQuickLoad = "click 400 300\nclick 400 300\nkey f9\nstate\n";

// Where a state stands in the story, from its JSON.
std::string StoryPoint(const std::string& json) {
  std::string point;
  for (const char* field : {"FlowMode", "SceneNo", "LineNo", "PendingText", "DayNo", "Params", "Condition"}) {
    std::smatch m;
    const std::regex value(std::string("\"") + field + "\":(\\[[^\\]]*\\]|-?\\d+|\"[^\"]*\")");
    point += std::string(field) + "=" + (std::regex_search(json, m, value) ? m[1].str() : "?") + " ";
  }
  std::smatch m;
  std::regex_search(json, m, std::regex("\"StepNo\":\\[\\d+,(\\d+)"));
  return point + "step=" + m[1].str();
}

std::string Folder(const std::string& dataRoot) { return DataFolderBelow(dataRoot); }

// Every file of a folder by name, with its bytes.
std::map<std::string, std::string> FolderFiles(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::ostringstream bytes;
    if (entry.is_regular_file()) bytes << std::ifstream(entry.path(), std::ios::binary).rdbuf();
    files[entry.path().filename().string()] = entry.is_regular_file() ? bytes.str() : "(not a file)";
  }
  return files;
}

// An archive written by libarchive itself, with any member it can hold
// (`link` makes the member a symbolic link to it).
struct RawMember {
  std::string name;
  std::string bytes;
  std::string link;
};
std::string RawTar(const std::vector<RawMember>& members) {
  std::string out;
  archive* a = archive_write_new();
  archive_write_set_format_ustar(a);
  archive_write_open(
      a, &out, nullptr,
      [](archive*, void* to, const void* data, size_t n) -> la_ssize_t {
        static_cast<std::string*>(to)->append(static_cast<const char*>(data), n);
        return static_cast<la_ssize_t>(n);
      },
      nullptr);
  for (const RawMember& m : members) {
    archive_entry* e = archive_entry_new();
    archive_entry_set_pathname(e, m.name.c_str());
    archive_entry_set_perm(e, 0644);
    if (m.link.empty()) {
      archive_entry_set_filetype(e, AE_IFREG);
      archive_entry_set_size(e, static_cast<la_int64_t>(m.bytes.size()));
    } else {
      archive_entry_set_filetype(e, AE_IFLNK);
      archive_entry_set_symlink(e, m.link.c_str());
    }
    archive_write_header(a, e);
    if (!m.bytes.empty() && m.link.empty()) archive_write_data(a, m.bytes.data(), m.bytes.size());
    archive_entry_free(e);
  }
  archive_write_close(a);
  archive_write_free(a);
  return out;
}

TEST(SavesTransfer, APlayedGameLeavesAndComesBackToTheSameLine) {
  TempDir played, fresh, scratch;
  const Outcome play = Play(played.path(), kPlayAndSave);
  ASSERT_EQ(play.status, 0) << play.err;
  // Where the two saves load on the machine they were made on.
  const std::string saved = StoryPoint(Play(played.path(), kLoadSlot3).out);
  const std::string quick = StoryPoint(Play(played.path(), kQuickLoad).out);
  ASSERT_NE(saved.find("FlowMode=1 "), std::string::npos) << saved;
  ASSERT_NE(saved, quick);
  const std::string archive = scratch.path() + "/saves.tar";

  const Outcome exported = Pelmot("--export-saves " + archive + " --data-dir " + played.path());
  ASSERT_EQ(exported.status, 0) << exported.err;
  EXPECT_NE(exported.out.find("PELMOTDAT03.DAT, PELMOTQUICK.DAT, SAVEDATE.DAT"), std::string::npos) << exported.out;
  // libarchive reads it back to the same files, the lock file left out.
  std::string error;
  auto members = LibarchiveFormat().Unpack(FileBytes(archive), SavesArchiveRules(), error);
  ASSERT_TRUE(members) << error;
  auto files = FolderFiles(Folder(played.path()));
  files.erase("pelmot.lock");
  ASSERT_EQ(members->size(), files.size());
  for (const ArchiveMember& m : *members) EXPECT_EQ(files[m.name], m.bytes) << m.name;

  // Into a data root of its own: nothing is replaced, so nothing is asked.
  const Outcome imported = Pelmot("--import-saves " + archive + " --data-dir " + fresh.path());
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_NE(imported.out.find("added PELMOTDAT03.DAT"), std::string::npos) << imported.out;
  auto brought = FolderFiles(Folder(fresh.path()));
  brought.erase("pelmot.lock");
  EXPECT_EQ(brought, files);
  EXPECT_EQ(StoryPoint(Play(fresh.path(), kLoadSlot3).out), saved);
  EXPECT_EQ(StoryPoint(Play(fresh.path(), kQuickLoad).out), quick);

  // Back into the first root after playing on there: the changed files are
  // named, and replaced only with --yes (no terminal to ask on here).
  ASSERT_EQ(Play(played.path(), "click 400 300\nclick 400 300\npick 0\nkey f5\n").status, 0);
  const auto changed = FolderFiles(Folder(played.path()));
  const Outcome refused = Pelmot("--import-saves " + archive + " --data-dir " + played.path());
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("pelmot: refused: the import would replace PELMOTQUICK.DAT"), std::string::npos)
      << refused.err;
  EXPECT_NE(refused.err.find("--yes"), std::string::npos);
  EXPECT_EQ(FolderFiles(Folder(played.path())), changed);
  // On a terminal (util-linux's script makes one) it asks, and "n" keeps them.
  if (std::system("command -v script >/dev/null") == 0) {
    const Outcome no = RunCommand("echo n | script -qec '" + std::string(PELMOT_OUTPUT_DIR) + "/pelmot --import-saves " +
                                  archive + " --data-dir " + played.path() + "' /dev/null");
    EXPECT_EQ(no.status, 1);
    EXPECT_NE(no.out.find("The import would replace PELMOTQUICK.DAT"), std::string::npos) << no.out;
    EXPECT_NE(no.out.find("Replace them? [y/N]"), std::string::npos) << no.out;
    EXPECT_EQ(FolderFiles(Folder(played.path())), changed);
  }
  const Outcome replaced = Pelmot("--import-saves " + archive + " --data-dir " + played.path() + " --yes");
  EXPECT_EQ(replaced.status, 0) << replaced.err;
  EXPECT_EQ(StoryPoint(Play(played.path(), kQuickLoad).out), quick);
}

TEST(SavesTransfer, ADamagedArchiveIsRefusedWithEveryFileUnchanged) {
  TempDir data, scratch;
  ASSERT_EQ(Play(data.path(), kPlayAndSave).status, 0);
  const std::string folder = Folder(data.path());
  const auto before = FolderFiles(folder);
  const std::string slot = before.at("PELMOTDAT03.DAT");
  const std::string good = RawTar({{"SAVEDATA.DAT", std::string(136, '\1'), ""}, {"PELMOTDAT03.DAT", slot, ""}});
  const std::map<std::string, std::string> damaged = {
      {"truncated", good.substr(0, 700)},
      {"not an archive", "PELMOTDAT03.DAT\n"},
      {"empty", RawTar({})},
      {"a member with a path", RawTar({{"TORMVEL/PELMOT/PELMOTDAT03.DAT", slot, ""}})},
      {"a member above its folder", RawTar({{"../PELMOTDAT03.DAT", slot, ""}})},
      {"a link", RawTar({{"PELMOTDAT03.DAT", "", "/etc/passwd"}})},
      {"a name the game does not keep", RawTar({{"evil.sh", "rm -rf ~", ""}})},
      {"a slot twice", RawTar({{"PELMOTDAT03.DAT", slot, ""}, {"PELMOTDAT03.DAT", slot, ""}})},
      {"settings far too large", RawTar({{"SETTINGS.TXT", std::string(100000, '#'), ""}})},
      // Sound files beside one the game would refuse: none of them comes in.
      {"a slot with bad bytes",
       RawTar({{"SAVEDATA.DAT", std::string(136, '\1'), ""}, {"PELMOTDAT03.DAT", std::string(30, '\xff'), ""}})},
      {"a short slot", RawTar({{"PELMOTDAT01.DAT", slot.substr(0, 20), ""}})},
      {"stamps that are no dates", RawTar({{"SAVEDATE.DAT", std::string("\x04\x00" "abcd", 6), ""}})},
      {"damaged settings", RawTar({{"SETTINGS.TXT", "skip=sometimes\n", ""}})},
  };
  Cp932CodePage codePage;
  for (const auto& [what, bytes] : damaged) {
    // Both editions' readers refuse it.
    std::string error;
    LibarchiveFormat desktop;
    UstarFormat browser;
    auto byDesktop = CheckedSaves(desktop, bytes, codePage, error);
    auto byBrowser = CheckedSaves(browser, bytes, codePage, error);
    EXPECT_TRUE(!byDesktop || byDesktop->empty()) << what;
    EXPECT_TRUE(!byBrowser || byBrowser->empty()) << what;
    // And the program says so and changes nothing.
    const std::string path = scratch.path() + "/damaged.tar";
    WriteBytes(path, bytes);
    const Outcome run = Pelmot("--import-saves " + path + " --data-dir " + data.path() + " --yes");
    EXPECT_EQ(run.status, 1) << what;
    EXPECT_EQ(run.err.rfind("pelmot: refused ", 0), 0u) << what << ": " << run.err;
    EXPECT_NE(run.err.find("nothing was changed"), std::string::npos) << what << ": " << run.err;
    EXPECT_EQ(FolderFiles(folder), before) << what;
  }
  // The sound archive itself comes in whole.
  WriteBytes(scratch.path() + "/good.tar", good);
  EXPECT_EQ(Pelmot("--import-saves " + scratch.path() + "/good.tar --data-dir " + data.path() + " --yes").status, 0);
  EXPECT_EQ(FileBytes(folder + "/SAVEDATA.DAT"), std::string(136, '\1'));
}

TEST(SavesTransfer, BothEditionsReadEachOthersArchives) {
  const std::vector<ArchiveMember> members = {
      {"PELMOTDAT10.DAT", std::string(30, '\0')}, {"SAVEDATA.DAT", ""}, {"READLINES.TXT", std::string(4000, 'x')}};
  LibarchiveFormat desktop;
  UstarFormat browser;
  for (ArchiveFormat* writer : std::initializer_list<ArchiveFormat*>{&desktop, &browser}) {
    std::string error;
    const auto archive = writer->Pack(members, error);
    ASSERT_TRUE(archive) << error;
    EXPECT_EQ(archive->size() % 10240, 0u);
    for (ArchiveFormat* reader : std::initializer_list<ArchiveFormat*>{&desktop, &browser}) {
      const auto read = reader->Unpack(*archive, SavesArchiveRules(), error);
      ASSERT_TRUE(read) << error;
      EXPECT_EQ(*read, members);
    }
  }
}

TEST(SavesTransfer, AnImportCutShortIsFinishedAtTheNextStart) {
  TempDir data;
  ASSERT_EQ(Play(data.path(), kPlayAndSave).status, 0);
  const std::string folder = Folder(data.path());
  const std::string slot = FileBytes(folder + "/PELMOTDAT03.DAT");
  const std::string stamps = FileBytes(folder + "/SAVEDATE.DAT");
  // Slot 3 copied to slot 7 with its stamp, staged; the program killed after
  // the journal, with the stamps already moved into place.
  Cp932CodePage codePage;
  Stamps newStamps = DecodeSaveDate(stamps, codePage);
  newStamps[6] = newStamps[2];
  std::string error;
  ASSERT_TRUE(StageImport(folder,
                          {{"PELMOTDAT07.DAT", slot}, {"SAVEDATE.DAT", *EncodeSaveDate(newStamps, codePage)}}, error))
      << error;
  fs::rename(folder + "/" + kImportStagingName + "/SAVEDATE.DAT", folder + "/SAVEDATE.DAT");

  const Outcome next = Play(data.path(), "click 400 300\nclick 400 300\npick 1\npick 6\npick 0\nstate\n");
  EXPECT_EQ(next.status, 0) << next.err;
  EXPECT_NE(next.err.find("was cut short; it is finished now"), std::string::npos) << next.err;
  EXPECT_EQ(FileBytes(folder + "/PELMOTDAT07.DAT"), slot);
  EXPECT_FALSE(fs::exists(folder + "/" + kImportJournalName));
  EXPECT_FALSE(fs::exists(folder + "/" + kImportStagingName));
  EXPECT_EQ(StoryPoint(next.out), StoryPoint(Play(data.path(), kLoadSlot3).out))
      << "slot 7 loads where slot 3 does";

  // Cut short before its journal was written: the next start undoes it.
  fs::create_directory(folder + "/" + kImportStagingName);
  WriteBytes(folder + "/" + kImportStagingName + "/PELMOTDAT03.DAT", std::string(30, '\0'));
  const Outcome start = Play(data.path(), "state\n");
  EXPECT_NE(start.err.find("before it was complete; it is undone"), std::string::npos) << start.err;
  EXPECT_FALSE(fs::exists(folder + "/" + kImportStagingName));
  EXPECT_EQ(FileBytes(folder + "/PELMOTDAT03.DAT"), slot);
}

TEST(SavesTransfer, NoImportWhileAGameRunsOnTheDataRoot) {
  TempDir data, scratch;
  ASSERT_EQ(Play(data.path(), kPlayAndSave).status, 0);
  const std::string folder = Folder(data.path());
  const std::string archive = scratch.path() + "/saves.tar";
  ASSERT_EQ(Pelmot("--export-saves " + archive + " --data-dir " + data.path()).status, 0);
  WriteBytes(folder + "/PELMOTDAT03.DAT", std::string(30, '\0'));
  const auto before = FolderFiles(folder);
  // The lock a running game holds.
  FileInstanceLock game;
  ASSERT_EQ(game.Acquire(folder), InstanceLock::Result::kAcquired);
  const Outcome run = Pelmot("--import-saves " + archive + " --data-dir " + data.path() + " --yes");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("pelmot: refused: the game runs on the data root " + data.path()), std::string::npos)
      << run.err;
  EXPECT_EQ(FolderFiles(folder), before);
  // Exporting while it runs is fine: every file is replaced whole.
  EXPECT_EQ(Pelmot("--export-saves " + scratch.path() + "/b.tar --data-dir " + data.path()).status, 0);
  game.Release();
  EXPECT_EQ(Pelmot("--import-saves " + archive + " --data-dir " + data.path() + " --yes").status, 0);
}

}  // namespace
}  // namespace pelmot
