// `pelmot --inspect-save FILE`: a data file in words, for players and bug
// reports.
#pragma once

#include <iosfwd>
#include <string>

namespace pelmot {

class CodePage;
class Files;

// Prints a slot file, SAVEDATE.DAT or SAVEDATA.DAT. Returns 0, or 1 when the
// file cannot be read or is not one of them.
int InspectDataFile(Files& files, CodePage& codePage, const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace pelmot
