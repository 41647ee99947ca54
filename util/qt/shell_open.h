#pragma once
// Opening a document with the program the desktop associates with it.
#include <string>

class QWidget;

namespace tavrin {

// Makes the document's folder (FolderOf) the current folder, then asks the
// desktop to open the document; false when the desktop has no way to open
// it (no program to hand it to). Throws
// std::filesystem::filesystem_error when the folder cannot be made current.
// The path is a UTF-8 file path; a relative one is taken from the current
// folder at the call. The owner window is unused here.
bool OpenWithShell(QWidget* owner, const std::string& document);

// Opens a text file (UTF-8 path) in the desktop's editor through xdg-open,
// which returns at once; false when xdg-open cannot be started.
bool OpenInEditor(const std::string& path);

}  // namespace tavrin
