// Files that the running check has made and removes itself when it is done.
// Should the program end in the middle of that check, the end removes them.
#pragma once

#include <string>
#include <vector>

void NoteFileMadeByCheck(const std::string& path);
void ForgetFileMadeByCheck(const std::string& path);

// The files noted and not yet forgotten, oldest first.
std::vector<std::string> FilesMadeByCheck();
