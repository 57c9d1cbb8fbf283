// A translation catalog: the same bytes read as a compiled .mo file (the
// browser's) and as a translator's PO file through libgettextpo.
#include "fuzz_input.h"
#include "platform/catalog.h"
#include "platform/common/po_catalogs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes = pelmot::fuzz::Bytes(data, size);
  std::string error;
  pelmot::ParseMoCatalog(bytes, error);
  pelmot::ReadPoFile(pelmot::fuzz::WriteScratchFile("xx.po", bytes), error);
  return 0;
}
