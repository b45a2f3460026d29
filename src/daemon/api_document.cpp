#include "daemon/api_document.h"

namespace {

// clang-format off
const char* const kDocument = R"json({
  "openapi": "3.0.3",
  "info": {
    "title": "qx7d",
    "version": "1",
    "description": "The audio processor through qx7d. Every request over TCP carries the bearer token that qx7d prints at start (the Unix socket needs none). Values are read from the device first: until then requests that touch its values answer 409, and 503 while no device is connected."
  },
  "components": {
    "securitySchemes": {"bearer": {"type": "http", "scheme": "bearer"}},
    "schemas": {
      "Error": {"type": "object", "required": ["error"], "properties": {"error": {"type": "object",
        "properties": {"code": {"type": "string"}, "message": {"type": "string"}}}}},
      "Parameter": {"type": "object", "required": ["index", "value"], "properties": {
        "index": {"type": "integer", "minimum": 0, "maximum": 1745},
        "value": {"type": "integer", "minimum": 0, "maximum": 65535}}},
      "Master": {"type": "object", "description": "Master volumes in per cent, each up to its limit.", "properties": {
        "music": {"type": "integer"}, "mic": {"type": "integer"}, "effect": {"type": "integer"}, "micb": {"type": "integer"},
        "limits": {"type": "object", "readOnly": true}}},
      "Input": {"type": "object", "properties": {"source": {"type": "string",
        "enum": ["AUX1", "AUX2", "OPT", "COA", "BT", "eARC", "HDMI1", "HDMI2", "HDMI3"]},
        "sources": {"type": "array", "items": {"type": "string"}, "readOnly": true}}}
    },
    "responses": {
      "Error": {"description": "What went wrong", "content": {"application/json": {"schema": {"$ref": "#/components/schemas/Error"}}}}
    }
  },
  "security": [{"bearer": []}],
  "paths": {
    "/": {"get": {"summary": "The phone page", "security": [],
      "responses": {"200": {"description": "HTML", "content": {"text/html": {}}}}}},
    "/api/v1/openapi.json": {"get": {"summary": "This document",
      "responses": {"200": {"description": "OpenAPI 3", "content": {"application/json": {}}}, "401": {"$ref": "#/components/responses/Error"}}}},
    "/api/v1/texts": {"get": {"summary": "The phone page's texts in its three languages", "security": [],
      "responses": {"200": {"description": "Texts by key", "content": {"application/json": {}}}, "401": {"$ref": "#/components/responses/Error"}}}},
    "/api/v1/status": {"get": {"summary": "Connection, transport, device, current mode, the 16 mode names, read progress",
      "responses": {"200": {"description": "Status", "content": {"application/json": {}}}, "401": {"$ref": "#/components/responses/Error"}}}},
    "/api/v1/events": {"get": {"summary": "WebSocket of events",
      "description": "Texts {\"type\":\"parameter\",\"index\":…,\"value\":…}, {\"type\":\"link\",…}, {\"type\":\"progress\",…}, {\"type\":\"message\",…}, {\"type\":\"values_replaced\"}. Browsers may give the token as ?token=. A client that does not read fast enough is dropped.",
      "parameters": [{"name": "token", "in": "query", "required": false, "schema": {"type": "string"}}],
      "responses": {"101": {"description": "Switching to WebSocket"}, "400": {"$ref": "#/components/responses/Error"}, "401": {"$ref": "#/components/responses/Error"}}}},
    "/api/v1/parameters": {
      "get": {"summary": "Parameter values, all or a range",
        "parameters": [{"name": "from", "in": "query", "schema": {"type": "integer", "minimum": 0, "maximum": 1745}},
                       {"name": "count", "in": "query", "schema": {"type": "integer", "minimum": 1, "maximum": 1746}}],
        "responses": {"200": {"description": "{\"from\":…,\"values\":[…]}", "content": {"application/json": {}}},
          "400": {"$ref": "#/components/responses/Error"}, "409": {"$ref": "#/components/responses/Error"}, "503": {"$ref": "#/components/responses/Error"}}},
      "patch": {"summary": "Write several parameters; nothing is written when one is refused",
        "requestBody": {"required": true, "content": {"application/json": {"schema": {"type": "object",
          "properties": {"values": {"type": "array", "items": {"$ref": "#/components/schemas/Parameter"}}}}}}},
        "responses": {"200": {"description": "The values written", "content": {"application/json": {}}},
          "400": {"$ref": "#/components/responses/Error"}, "409": {"$ref": "#/components/responses/Error"}, "503": {"$ref": "#/components/responses/Error"}}}},
    "/api/v1/parameters/{index}": {
      "parameters": [{"name": "index", "in": "path", "required": true, "schema": {"type": "integer", "minimum": 0, "maximum": 1745}}],
      "get": {"summary": "One parameter",
        "responses": {"200": {"description": "The value", "content": {"application/json": {"schema": {"$ref": "#/components/schemas/Parameter"}}}},
          "404": {"$ref": "#/components/responses/Error"}, "409": {"$ref": "#/components/responses/Error"}, "503": {"$ref": "#/components/responses/Error"}}},
      "put": {"summary": "Write one parameter, in the range the window allows",
        "requestBody": {"required": true, "content": {"application/json": {"schema": {"type": "object", "properties": {"value": {"type": "integer"}}}}}},
        "responses": {"200": {"description": "Written", "content": {"application/json": {"schema": {"$ref": "#/components/schemas/Parameter"}}}},
          "400": {"$ref": "#/components/responses/Error"}, "404": {"$ref": "#/components/responses/Error"}, "409": {"$ref": "#/components/responses/Error"}, "503": {"$ref": "#/components/responses/Error"}}}},
    "/api/v1/master": {
      "get": {"summary": "Master volumes", "responses": {"200": {"description": "Volumes", "content": {"application/json": {"schema": {"$ref": "#/components/schemas/Master"}}}},
        "409": {"$ref": "#/components/responses/Error"}, "503": {"$ref": "#/components/responses/Error"}}},
      "put": {"summary": "Set one or more master volumes",
        "requestBody": {"required": true, "content": {"application/json": {"schema": {"$ref": "#/components/schemas/Master"}}}},
        "responses": {"200": {"description": "Volumes", "content": {"application/json": {"schema": {"$ref": "#/components/schemas/Master"}}}},
          "400": {"$ref": "#/components/responses/Error"}, "409": {"$ref": "#/components/responses/Error"}, "503": {"$ref": "#/components/responses/Error"}}}},
    "/api/v1/input": {
      "get": {"summary": "Input source", "responses": {"200": {"description": "Source", "content": {"application/json": {"schema": {"$ref": "#/components/schemas/Input"}}}},
        "409": {"$ref": "#/components/responses/Error"}, "503": {"$ref": "#/components/responses/Error"}}},
      "put": {"summary": "Choose the input source by name",
        "requestBody": {"required": true, "content": {"application/json": {"schema": {"$ref": "#/components/schemas/Input"}}}},
        "responses": {"200": {"description": "Source", "content": {"application/json": {"schema": {"$ref": "#/components/schemas/Input"}}}},
          "400": {"$ref": "#/components/responses/Error"}, "409": {"$ref": "#/components/responses/Error"}, "503": {"$ref": "#/components/responses/Error"}}}},
    "/api/v1/modes/{n}/recall": {
      "parameters": [{"name": "n", "in": "path", "required": true, "schema": {"type": "integer", "minimum": 1, "maximum": 16}}],
      "post": {"summary": "Recall a mode; answers when the device has loaded it",
        "responses": {"200": {"description": "Recalled", "content": {"application/json": {}}}, "404": {"$ref": "#/components/responses/Error"},
          "409": {"$ref": "#/components/responses/Error"}, "503": {"$ref": "#/components/responses/Error"}}}},
    "/api/v1/modes/{n}": {
      "parameters": [{"name": "n", "in": "path", "required": true, "schema": {"type": "integer", "minimum": 1, "maximum": 16}}],
      "put": {"summary": "Save the current values as mode n under a name",
        "requestBody": {"required": true, "content": {"application/json": {"schema": {"type": "object",
          "properties": {"name": {"type": "string", "minLength": 1, "maxLength": 20}}}}}},
        "responses": {"200": {"description": "Saved", "content": {"application/json": {}}}, "400": {"$ref": "#/components/responses/Error"},
          "404": {"$ref": "#/components/responses/Error"}, "409": {"$ref": "#/components/responses/Error"}, "503": {"$ref": "#/components/responses/Error"}}}},
    "/api/v1/preset": {
      "get": {"summary": "The device's values as a .qmx preset file",
        "responses": {"200": {"description": "The file", "content": {"application/octet-stream": {}}},
          "409": {"$ref": "#/components/responses/Error"}, "503": {"$ref": "#/components/responses/Error"}}},
      "put": {"summary": "Send a .qmx preset file to the device; it overwrites the device's values, so confirm=1 is required",
        "parameters": [{"name": "confirm", "in": "query", "required": true, "schema": {"type": "integer", "enum": [1]}}],
        "requestBody": {"required": true, "content": {"application/octet-stream": {}}},
        "responses": {"200": {"description": "Sent", "content": {"application/json": {}}}, "400": {"$ref": "#/components/responses/Error"},
          "409": {"$ref": "#/components/responses/Error"}, "413": {"$ref": "#/components/responses/Error"}, "503": {"$ref": "#/components/responses/Error"}}}}
  }
})json";
// clang-format on

}  // namespace

const std::string& ApiDocument::text() {
    static const std::string kText = kDocument;
    return kText;
}
