// The saves' archive: the same bytes read by libarchive (the desktop) and
// by the browser edition's own ustar reader, each under the import's rules,
// and every member they accept checked as an import checks it. What the two
// accept must be the same files.
#include "app/saves_transfer.h"
#include "fuzz_input.h"
#include "platform/common/codepage.h"
#include "platform/common/libarchive_format.h"
#include "platform/ustar.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static pelmot::Cp932CodePage codePage;
  const std::string bytes = pelmot::fuzz::Bytes(data, size);
  pelmot::LibarchiveFormat desktop;
  pelmot::UstarFormat browser;
  std::string error;
  const auto byDesktop = desktop.Unpack(bytes, pelmot::SavesArchiveRules(), error);
  const auto byBrowser = browser.Unpack(bytes, pelmot::SavesArchiveRules(), error);
  // libarchive is the more forgiving reader (pax headers, GNU forms, no end
  // mark), so only what ours accepts must read the same there.
  if (byBrowser && byDesktop && *byBrowser != *byDesktop) __builtin_trap();
  pelmot::CheckedSaves(browser, bytes, codePage, error);
  return 0;
}
