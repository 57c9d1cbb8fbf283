// The data files: the decoders of the three byte layouts, the report of
// `--inspect-save`, which reads the file from disk under each of its names,
// and the comforts' own files (settings, lines read, routes reached).
#include <sstream>

#include "comforts/read_record.h"
#include "comforts/route_record.h"
#include "comforts/settings.h"
#include "fuzz_input.h"
#include "persist/data_files.h"
#include "persist/data_report.h"
#include "platform/common/codepage.h"
#include "platform/common/files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static pelmot::Cp932CodePage codePage;
  static pelmot::SystemFiles files;
  const std::string bytes = pelmot::fuzz::Bytes(data, size);
  pelmot::DecodeSaveDate(bytes, codePage);
  pelmot::DecodeCgSeen(bytes);
  pelmot::DecodeSlot(bytes);
  pelmot::ParseSettings(bytes);
  pelmot::ReadRecord::Decode(bytes);
  // What decodes must encode to itself.
  if (auto routes = pelmot::RouteRecord::Decode(bytes)) {
    const std::string again = routes->Encode();
    if (pelmot::RouteRecord::Decode(again)->Encode() != again) __builtin_trap();
  }
  for (const char* name : {"PELMOTDAT01.DAT", "SAVEDATE.DAT", "SAVEDATA.DAT"}) {
    std::ostringstream out, err;
    pelmot::InspectDataFile(files, codePage, pelmot::fuzz::WriteScratchFile(name, bytes), out, err);
  }
  return 0;
}
