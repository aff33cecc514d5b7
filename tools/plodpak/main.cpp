#include <iostream>
#include <string>
#include <vector>

#include "plodpak/Cli.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return plodpak::Run(args, std::cin, std::cout, std::cerr);
}
