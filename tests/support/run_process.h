#pragma once

#include <string>
#include <vector>

// Runs a program to its end and collects what it printed.
struct ProcessResult {
    int exitCode = -1;  // -1 when it did not end normally
    std::string out;
    std::string err;
};

// argv[0] is the program's path; folder is the working folder (empty: this one).
ProcessResult runProcess(const std::vector<std::string>& argv, const std::string& folder = {});
