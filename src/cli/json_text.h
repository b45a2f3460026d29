#pragma once

#include <string>

#include <nlohmann/json_fwd.hpp>

// A document as qx7ctl prints it. Strings that are not valid UTF-8 (file
// names in a legacy code page) have their invalid bytes replaced rather than
// ending the run.
std::string jsonText(const nlohmann::json& doc);
