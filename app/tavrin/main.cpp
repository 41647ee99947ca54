#include "app/qt/program.h"

int main(int argc, char** argv) { return tavrin::RunProgram(argc, argv); }
