#pragma once
// The program entry: the application object, its title, the fonts, the
// main window and the message loop.

namespace tavrin {

// Runs the program; returns the process exit code.
int RunProgram(int argc, char** argv);

}  // namespace tavrin
