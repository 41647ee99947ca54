#pragma once
// Opening a document with the program Windows associates with it, or a
// text file in Notepad.
#include <windows.h>

#include <string>

namespace tavrin {

// Makes the document's folder the current folder, then asks the shell to
// open the document (ShellExecuteW, "open"); false when nothing opens it
// (no file, no associated program). Throws std::system_error when the
// folder cannot be made current. The path is UTF-8; a relative one is
// taken from the current folder at the call.
bool OpenWithShell(HWND owner, const std::string& document);

// Opens a text file (UTF-8 path) in Notepad, whatever program .txt files are
// associated with; false when Notepad does not start.
bool OpenInNotepad(HWND owner, const std::string& path);

}  // namespace tavrin
