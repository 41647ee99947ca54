#include "app/qt/program.h"
#include "util/huge_pages.h"

int main(int argc, char** argv) {
  tavrin::UseHugePages(argv);
  return tavrin::RunProgram(argc, argv);
}
