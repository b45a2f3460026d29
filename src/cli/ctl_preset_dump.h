#pragma once

#include <cstdio>
#include <string>

// Decodes a preset file without a device and prints its header fields, time
// stamp and values; problems go to standard error. Returns the exit status:
// 0, 1 for a file that cannot be read or is damaged, 2 for a missing name.
// With json, one JSON document instead of the lines.
int dumpPresetFile(const std::string& file, std::FILE* out, bool json = false);
// What a result of the preset reader means, for messages.
const char* presetProblemText(int result);
