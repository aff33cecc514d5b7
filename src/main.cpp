#include <cstdio>

int main() {
  std::fputs("The editor window is not built yet.\n", stderr);
  return 1;
}
