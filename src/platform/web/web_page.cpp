#include "platform/web/web_page.h"

#include <emscripten.h>

namespace pelmot {

void TellPage(const char* phase) {
  EM_ASM({ if (Module.pelmotTell) Module.pelmotTell(UTF8ToString($0)); }, phase);
}

}  // namespace pelmot
