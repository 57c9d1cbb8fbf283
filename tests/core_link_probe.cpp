// A program of the game core alone, for core_links_no_platform_libraries:
// whatever the core's link line holds becomes a needed library of it.
#include "persist/data_files.h"

int main() { return pelmot::EncodeSlot({}).size() == 30 ? 0 : 1; }
