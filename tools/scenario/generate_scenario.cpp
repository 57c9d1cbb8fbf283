// Writes the placeholder scenario into the content folder:
//   generate_scenario OUTPUT_FILE
#include <fstream>
#include <iostream>

#include "scenes/default_scenario.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: generate_scenario OUTPUT_FILE\n";
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out << pelmot::DefaultScenarioText();
  out.close();
  if (!out) {
    std::cerr << "generate_scenario: cannot write " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
