// The API apart from the server: what it refuses before the device is read,
// and its OpenAPI document against the routes it serves.
#include <gtest/gtest.h>

#include <set>

#include <nlohmann/json.hpp>

#include "binding/parameter_index.h"
#include "daemon/api_document.h"
#include "daemon/api_router.h"
#include "daemon/daemon_ui.h"
#include "link/link.h"
#include "link/link_event.h"
#include "link/preset_jobs.h"
#include "platform/clock.h"

namespace {

class ApiRouterTest : public ::testing::Test {
protected:
    int status(const std::string& method, const std::string& target, const std::string& body = {}) {
        return m_router.handle({method, target, body}).response.status;
    }

    DaemonUi m_ui;
    Link m_link{m_ui, Clock::system()};
    PresetJobs m_jobs{m_link};
    ApiRouter m_router{m_link, m_jobs, m_ui, "", "/nonexistent"};
};

TEST_F(ApiRouterTest, NothingIsWrittenBeforeTheDevicesValuesAreRead) {
    const std::string write = R"({"music":10})";
    EXPECT_EQ(status("GET", "/api/v1/status"), 200);
    EXPECT_EQ(status("PUT", "/api/v1/master", write), 503);
    m_ui.sendEvent(LinkEvent::ConnectionState, LinkEvent::Connection::Connected);
    EXPECT_EQ(status("PUT", "/api/v1/master", write), 409);
    EXPECT_EQ(status("GET", "/api/v1/parameters"), 409);
    EXPECT_FALSE(m_link.mirror().pending(parameterIndex::MusicVolume));
    m_ui.postEvent(LinkEvent::ReadComplete, 0);
    EXPECT_EQ(status("PUT", "/api/v1/master", write), 200);
    EXPECT_TRUE(m_link.mirror().pending(parameterIndex::MusicVolume));
    m_ui.sendEvent(LinkEvent::ConnectionState, LinkEvent::Connection::Searching);
    EXPECT_EQ(status("GET", "/api/v1/master"), 503);
}

TEST_F(ApiRouterTest, ValuesAreCheckedWithTheWindowsRanges) {
    m_ui.sendEvent(LinkEvent::ConnectionState, LinkEvent::Connection::Connected);
    m_ui.postEvent(LinkEvent::ReadComplete, 0);
    struct Case {
        int index;
        int value;
        int status;
    };
    const Case cases[] = {
        {0, 1, 400},                                         // the device's mark
        {1625, 1, 400},                                      // a password
        {1602, 499, 400},                                    // a master volume below its 500
        {1602, 600, 200}, {1602, 601, 400}, {1620, 5, 400},  // no input source has code 5
        {1620, 10, 200},  {9, 600, 200},                     // an output level, muted
        {9, 601, 400},    {-1, 0, 404},     {1746, 0, 404},
    };
    for (const Case& c : cases)
        EXPECT_EQ(status("PUT", "/api/v1/parameters/" + std::to_string(c.index),
                         "{\"value\":" + std::to_string(c.value) + "}"),
                  c.status)
            << c.index << "=" << c.value;
}

TEST(ApiDocumentTest, DocumentsEveryRouteAndNoOther) {
    nlohmann::json doc = nlohmann::json::parse(ApiDocument::text());
    EXPECT_EQ(doc["openapi"].get<std::string>().substr(0, 2), "3.");
    std::set<std::string> served;
    for (const ApiRouter::Route& r : ApiRouter::routes()) {
        std::string method = r.method;
        for (char& c : method) c = static_cast<char>(std::tolower(c));
        served.insert(method + " " + r.pattern);
        EXPECT_EQ(doc["paths"][r.pattern][method].contains("security") &&
                      doc["paths"][r.pattern][method]["security"].empty(),
                  !r.needsToken)
            << r.pattern;
    }
    std::set<std::string> documented;
    for (const auto& [path, item] : doc["paths"].items())
        for (const auto& [method, operation] : item.items())
            if (method != "parameters") documented.insert(method + " " + path);
    EXPECT_EQ(served, documented);
}

}  // namespace
