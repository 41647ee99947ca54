#include "app/qt/program.h"
#include "util/memory_setup.h"

int main(int argc, char** argv) {
  tavrin::SetUpMemory();
  return tavrin::RunProgram(argc, argv);
}
