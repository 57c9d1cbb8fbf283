#include "platform/text_factory.h"

#include "platform/cell_text.h"

namespace pelmot {

std::unique_ptr<TextEngine> MakeWindowFont() { return std::make_unique<CellTextEngine>(); }

}  // namespace pelmot
