// pelmot --export-saves FILE and --import-saves FILE [--yes].
#pragma once

#include <iosfwd>

#include "app/options.h"

namespace pelmot {

// 0 when the archive is written, 1 when not.
int ExportSaves(const Options& options, std::ostream& out, std::ostream& err);
// 0 when every file is in place (or already was), 1 when refused or failed:
// then nothing was changed.
int ImportSaves(const Options& options, std::ostream& out, std::ostream& err);

}  // namespace pelmot
