#pragma once

#include <cstdio>
#include <string>

// What `qx7ctl inspect` shows of a file: a preset file in full, else a
// firmware package's type and image size. Problems go to standard error.
// Returns the exit status: 0, 1 for a file that is neither, 2 for a missing name.
int inspectFile(const std::string& file, std::FILE* out, bool json = false);
