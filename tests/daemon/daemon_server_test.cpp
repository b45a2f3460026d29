// qx7d on loopback and its Unix socket, against the simulated device.
#include <gtest/gtest.h>

#include <boost/asio/ip/tcp.hpp>

#include "binding/parameter_index.h"
#include "daemon_fixture.h"
#include "support/wait_for.h"
#include "test_http.h"

namespace {

namespace pi = parameterIndex;
using testhttp::Headers;

class DaemonServerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ServerLimits limits;
        limits.queuedBytes = 1024 * 1024;
        s_fixture = new DaemonFixture(limits);
    }
    static void TearDownTestSuite() {
        delete s_fixture;
        s_fixture = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(waitFor([] { return s_fixture->daemon().server().connections() == 0; }));
    }

    static DaemonFixture& f() { return *s_fixture; }
    static testhttp::Reply get(const std::string& target, Headers headers = {}) {
        headers.push_back({"Authorization", f().bearer()});
        return testhttp::tcp(f().port(), "GET", target, {}, headers);
    }
    static testhttp::Reply send(const std::string& method, const std::string& target,
                                const std::string& body) {
        return testhttp::tcp(f().port(), method, target, body, {{"Authorization", f().bearer()}});
    }

    static DaemonFixture* s_fixture;
};

DaemonFixture* DaemonServerTest::s_fixture = nullptr;

TEST_F(DaemonServerTest, TcpRequestsShowTokenHostAndOrigin) {
    const std::string host = "127.0.0.1:" + std::to_string(f().port());
    const std::string good = f().bearer();
    struct Case {
        const char* what;
        Headers headers;
        const char* target;
        int status;
    };
    const Case cases[] = {
        {"no token", {}, "/api/v1/status", 401},
        {"wrong token", {{"Authorization", "Bearer 0123"}}, "/api/v1/status", 401},
        {"token of another length", {{"Authorization", good + "0"}}, "/api/v1/status", 401},
        {"token", {{"Authorization", good}}, "/api/v1/status", 200},
        {"localhost",
         {{"Authorization", good}, {"Host", "localhost:" + std::to_string(f().port())}},
         "/api/v1/status",
         200},
        {"rebound name",
         {{"Authorization", good}, {"Host", "evil.example:" + std::to_string(f().port())}},
         "/api/v1/status",
         403},
        {"other port", {{"Authorization", good}, {"Host", "127.0.0.1:1"}}, "/api/v1/status", 403},
        {"same origin",
         {{"Authorization", good}, {"Origin", "http://" + host}},
         "/api/v1/status",
         200},
        {"other site",
         {{"Authorization", good}, {"Origin", "http://evil.example"}},
         "/api/v1/status",
         403},
        {"page without token", {}, "/", 200},
        {"page from a rebound name", {{"Host", "evil.example"}}, "/", 403},
        {"events without token", {}, "/api/v1/events", 401},
    };
    for (const Case& c : cases)
        EXPECT_EQ(testhttp::tcp(f().port(), "GET", c.target, {}, c.headers).status, c.status)
            << c.what;
    EXPECT_EQ(testhttp::local(f().socket(), "GET", "/api/v1/status").status, 200);
}

TEST_F(DaemonServerTest, OversizedAndMalformedRequestsAreRefused) {
    const std::string token = "Authorization: " + f().bearer() + "\r\n";
    std::string manyHeaders;
    for (int i = 0; i < 70; ++i) manyHeaders += "X-" + std::to_string(i) + ": 1\r\n";
    struct Case {
        const char* what;
        std::string request;
        const char* status;
    };
    const Case cases[] = {
        {"body over the limit",
         "PUT /api/v1/preset?confirm=1 HTTP/1.1\r\nHost: 127.0.0.1\r\n" + token +
             "Content-Length: 10000000\r\n\r\n",
         "HTTP/1.1 413"},
        {"headers over the limit",
         "GET /api/v1/status HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Long: " + std::string(9000, 'a') +
             "\r\n\r\n",
         "HTTP/1.1 431"},
        {"too many headers", "GET /api/v1/status HTTP/1.1\r\n" + manyHeaders + "\r\n",
         "HTTP/1.1 431"},
        {"not HTTP", "HELLO THERE\r\n\r\n", "HTTP/1.1 400"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(testhttp::raw(f().port(), c.request).rfind(c.status, 0), 0u) << c.what;
}

TEST_F(DaemonServerTest, ConnectionsPastTheLimitAreClosedUnserved) {
    boost::asio::io_context io;
    std::vector<std::unique_ptr<boost::asio::ip::tcp::socket>> held;
    for (int i = 0; i < 32; ++i) {
        held.push_back(std::make_unique<boost::asio::ip::tcp::socket>(io));
        held.back()->connect(
            {boost::asio::ip::make_address("127.0.0.1"), static_cast<unsigned short>(f().port())});
    }
    ASSERT_TRUE(waitFor([] { return f().daemon().server().connections() == 32; }));
    EXPECT_EQ(get("/api/v1/status").status, 0);
    held.pop_back();
    ASSERT_TRUE(waitFor([] { return f().daemon().server().connections() < 32; }));
    EXPECT_EQ(get("/api/v1/status").status, 200);
}

TEST_F(DaemonServerTest, WritesReachTheDeviceAndRefusalsWriteNothing) {
    struct Case {
        const char* what;
        const char* method;
        std::string target;
        std::string body;
        int status;
        int index;  // checked on the device afterwards
        int value;
    };
    const Case cases[] = {
        {"master", "PUT", "/api/v1/master", R"({"music":37})", 200, pi::MusicVolume, 537},
        {"master over its limit", "PUT", "/api/v1/master", R"({"music":101})", 400, pi::MusicVolume,
         537},
        {"one parameter", "PUT", "/api/v1/parameters/9", R"({"value":45})", 200, 9, 45},
        {"out of range", "PUT", "/api/v1/parameters/9", R"({"value":9999})", 400, 9, 45},
        {"device's own", "PUT", "/api/v1/parameters/0", R"({"value":3})", 400, 0, 22356},
        {"unknown index", "PUT", "/api/v1/parameters/1746", R"({"value":1})", 404, 9, 45},
        {"malformed JSON", "PUT", "/api/v1/parameters/9", R"({"value":)", 400, 9, 45},
        {"malformed batch", "PATCH", "/api/v1/parameters",
         R"({"values":[{"index":9,"value":30},{"index":pi,"value":1}]})", 400, 9, 45},
        {"batch", "PATCH", "/api/v1/parameters",
         R"({"values":[{"index":9,"value":30},{"index":1620,"value":7}]})", 200, 9, 30},
        {"batch with one refused", "PATCH", "/api/v1/parameters",
         R"({"values":[{"index":9,"value":31},{"index":1620,"value":5}]})", 400, 9, 30},
        {"input by name", "PUT", "/api/v1/input", R"({"source":"HDMI2"})", 200, pi::InputSource, 9},
        {"unknown input", "PUT", "/api/v1/input", R"({"source":"VHS"})", 400, pi::InputSource, 9},
        {"preset without confirmation", "PUT", "/api/v1/preset", "anything", 409, 9, 30},
        {"unknown path", "GET", "/api/v1/nothing", "", 404, 9, 30},
        {"wrong method", "DELETE", "/api/v1/master", "", 405, 9, 30},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(send(c.method, c.target, c.body).status, c.status) << c.what;
        // A refused value never reaches the mirror, from which the link sends.
        EXPECT_EQ(get("/api/v1/parameters/" + std::to_string(c.index)).json()["value"], c.value)
            << c.what;
        EXPECT_TRUE(waitFor([&] { return f().device().value(c.index) == c.value; }))
            << c.what << ": the device holds " << f().device().value(c.index);
    }
}

TEST_F(DaemonServerTest, ReadsAnswerFromTheMirror) {
    f().device().changeAndReport(pi::MicVolume, 555);
    ASSERT_TRUE(waitFor([] { return get("/api/v1/master").json().value("mic", -1) == 55; }));
    nlohmann::json range = get("/api/v1/parameters?from=1600&count=10").json();
    EXPECT_EQ(range["from"], 1600);
    EXPECT_EQ(range["values"].size(), 10u);
    EXPECT_EQ(range["values"][3], 555);
    EXPECT_EQ(get("/api/v1/parameters?from=1740&count=100").json()["values"].size(), 6u);
    EXPECT_EQ(get("/api/v1/parameters?from=x").status, 400);
    EXPECT_EQ(get("/api/v1/parameters/1603").json()["value"], 555);
    nlohmann::json status = get("/api/v1/status").json();
    EXPECT_EQ(status["connection"], "connected");
    EXPECT_EQ(status["modes"].size(), 16u);
    EXPECT_EQ(status["transport"], "simulated");
}

TEST_F(DaemonServerTest, ModesAndPresetsGoThroughTheDevicesJobs) {
    nlohmann::json recalled = send("POST", "/api/v1/modes/2/recall", "").json();
    EXPECT_EQ(recalled["mode"], 2);
    EXPECT_EQ(f().device().value(pi::CurrentMode), 2);
    EXPECT_EQ(send("POST", "/api/v1/modes/17/recall", "").status, 404);

    EXPECT_EQ(send("PUT", "/api/v1/modes/3", R"({"name":"Party"})").status, 200);
    EXPECT_EQ(f().device().modeName(3), "Party");
    EXPECT_EQ(send("PUT", "/api/v1/modes/3", R"({"name":"a name far too long for it"})").status,
              400);

    testhttp::Reply preset = get("/api/v1/preset");
    ASSERT_EQ(preset.status, 200);
    EXPECT_EQ(send("PUT", "/api/v1/preset?confirm=1", "not a preset").status, 400);
    EXPECT_EQ(send("PUT", "/api/v1/preset?confirm=1", preset.body).status, 200);
}

TEST_F(DaemonServerTest, EventsReachClientsOfTheDeviceAndOfEachOther) {
    testhttp::Events events(f().port(), DaemonFixture::kToken);
    ASSERT_TRUE(events.open());
    ASSERT_TRUE(waitFor([&] { return events.received("link"); }));
    f().device().changeAndReport(pi::EffectVolume, 523);
    EXPECT_TRUE(waitFor([&] { return events.received("parameter", pi::EffectVolume, 523); }));
    EXPECT_EQ(testhttp::local(f().socket(), "PUT", "/api/v1/master", R"({"micb":12})").status, 200);
    EXPECT_TRUE(waitFor([&] { return events.received("parameter", pi::MicBVolume, 512); }));
    EXPECT_FALSE(testhttp::Events(f().port(), "wrong").open());
}

TEST_F(DaemonServerTest, AClientThatNeverReadsIsDroppedWhileOthersGoOn) {
    testhttp::Events stalled(f().port(), DaemonFixture::kToken, false);
    testhttp::Events reader(f().port(), DaemonFixture::kToken);
    ASSERT_TRUE(stalled.open() && reader.open());
    ASSERT_TRUE(waitFor([] { return f().daemon().server().connections() == 2; }));
    const std::string bulk = R"({"type":"bulk","pad":")" + std::string(64 * 1024, 'x') + "\"}";
    // Paced by the reader, so that only the client that never reads falls behind.
    for (int i = 0; i < 512 && f().daemon().server().connections() == 2; ++i) {
        f().daemon().server().broadcast(bulk);
        ASSERT_TRUE(waitFor([&] { return reader.texts().size() > static_cast<size_t>(i) + 1; }));
    }
    EXPECT_TRUE(waitFor([] { return f().daemon().server().connections() == 1; }));
    f().device().changeAndReport(pi::EffectVolume, 541);
    EXPECT_TRUE(waitFor([&] { return reader.received("parameter", pi::EffectVolume, 541); }));
}

}  // namespace
