#include "cli/json_text.h"

#include <nlohmann/json.hpp>

std::string jsonText(const nlohmann::json& doc) {
    return doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}
