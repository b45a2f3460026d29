#pragma once

#include <string>

// The API's OpenAPI 3 description, as served at /api/v1/openapi.json.
class ApiDocument {
public:
    static const std::string& text();
};
