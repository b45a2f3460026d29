// The token file and the guard's rules, without a server.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "daemon/access_token.h"
#include "daemon/daemon_options.h"
#include "daemon/request_guard.h"
#include "support/temp_folder.h"

namespace {

mode_t modeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 0777;
}

TEST(AccessTokenTest, IsMadeOnceKeptPrivateAndRenewedOnRequest) {
    TempFolder folder;
    const std::string path = folder.path("qx7d.token");
    std::string error;
    std::string first = AccessToken::loadOrCreate(path, false, error);
    ASSERT_EQ(first.size(), AccessToken::kLength) << error;
    EXPECT_EQ(modeOf(path), 0600u);
    EXPECT_EQ(AccessToken::loadOrCreate(path, false, error), first);
    std::string renewed = AccessToken::loadOrCreate(path, true, error);
    EXPECT_NE(renewed, first);
    EXPECT_EQ(AccessToken::loadOrCreate(path, false, error), renewed);
    TempFolder::write(path, "short\n");
    EXPECT_EQ(AccessToken::loadOrCreate(path, false, error).size(), AccessToken::kLength);
    EXPECT_TRUE(
        AccessToken::loadOrCreate(folder.path("missing/folder/token"), false, error).empty());
    EXPECT_FALSE(error.empty());
}

TEST(RequestGuardTest, AcceptsOnlyListenNamesTheirOriginAndTheToken) {
    const std::string token(64, 'b');
    RequestGuard guard(token, RequestGuard::hostsFor("127.0.0.1", 8437));
    guard.addHosts(RequestGuard::hostsFor("0.0.0.0", 9000));
    const std::string bearer = "Bearer " + token;
    using V = RequestGuard::Verdict;
    struct Case {
        const char* host;
        const char* origin;
        std::string authorization;
        const char* queryToken;
        V verdict;
    };
    const Case cases[] = {
        {"127.0.0.1:8437", "", bearer, "", V::Allowed},
        {"LOCALHOST:8437", "", bearer, "", V::Allowed},
        {"127.0.0.1:8437", "", "bearer " + token, "", V::Allowed},
        {"127.0.0.1:8437", "", "", "", V::NoToken},
        {"127.0.0.1:8437", "", "Basic " + token, "", V::NoToken},
        {"127.0.0.1:8437", "", "", token.c_str(), V::Allowed},
        {"127.0.0.1:8437", "http://127.0.0.1:8437", bearer, "", V::Allowed},
        {"127.0.0.1:8437", "https://127.0.0.1:8437", bearer, "", V::BadOrigin},
        {"127.0.0.1:8437", "null", bearer, "", V::BadOrigin},
        {"127.0.0.1:8437", "http://localhost:8437", bearer, "", V::BadOrigin},
        {"attacker.example:8437", "", bearer, "", V::BadHost},
        {"", "", bearer, "", V::BadHost},
        {"192.168.1.5:9000", "", bearer, "", V::Allowed},  // any address written as numbers
        {"[fd00::5]:9000", "", bearer, "", V::Allowed},
        {"nas.home:9000", "", bearer, "", V::BadHost},  // a name could be rebound
        {"192.168.1.5:8437", "", bearer, "", V::BadHost},
    };
    for (const Case& c : cases)
        EXPECT_EQ(guard.check({c.host, c.origin, c.authorization, c.queryToken, true}), c.verdict)
            << c.host << " " << c.origin << " " << c.authorization;
}

TEST(DaemonOptionsTest, ListenTakesNumericAddressesWithAPort) {
    struct Case {
        const char* text;
        bool ok;
    };
    const Case cases[] = {{"127.0.0.1:8437", true}, {"[::1]:80", true},  {"0.0.0.0:0", true},
                          {"localhost:80", false},  {"1.2.3.4:", false}, {"1.2.3.4:65536", false},
                          {"1.2.3.4:8x", false},    {"1.2.3.4", false}};
    for (const Case& c : cases) {
        HttpServer::Listen listen;
        EXPECT_EQ(DaemonOptions::parseListen(c.text, listen), c.ok) << c.text;
    }
}

}  // namespace
