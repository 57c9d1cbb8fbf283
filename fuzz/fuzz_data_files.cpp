// The data files: the decoders of the three byte layouts, and the report of
// `--inspect-save`, which reads the file from disk under each of its names.
#include <sstream>

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
  for (const char* name : {"PELMOTDAT01.DAT", "SAVEDATE.DAT", "SAVEDATA.DAT"}) {
    std::ostringstream out, err;
    pelmot::InspectDataFile(files, codePage, pelmot::fuzz::WriteScratchFile(name, bytes), out, err);
  }
  return 0;
}
