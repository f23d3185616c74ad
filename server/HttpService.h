#pragma once
#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <string>

#include "server/AccountModes.h"
#include "server/CheckService.h"
#include "server/CommunityModes.h"
#include "server/CommunityService.h"
#include "server/FormFields.h"
#include "server/ProgramLines.h"

namespace httplib {
class Server;
}

namespace torvik::server {

// What one request may carry and how the server treats connections.
struct ServiceOptions {
    size_t maxBodyBytes = 4u * 1024 * 1024;      // a request body past this is refused
    size_t maxInflatedBytes = 16u * 1024 * 1024; // a program list inflating past this too
    ProgramLineLimits lines;
    size_t maxIconBytes = 128u * 1024; // an uploaded icon's PNG bytes
    uint32_t maxIconSide = 256;        // and its width and height in pixels
    size_t threads = 64; // one per open keep-alive connection, so room for many clients
    size_t keepAliveRequests = 1000;
    int keepAliveSeconds = 5;
    int readWriteSeconds = 10;
    std::string buildOfPages = "0"; // shown on the pages when no "b=" is given
    // Holds back every reply of "versionchecker.aspx" this long, so that a
    // client's waiting, cancelling and responsiveness can be tested against
    // a slow service. Zero in production.
    std::chrono::milliseconds replyDelay{0};
    // The work of the account passwords' hashes; tests lower it.
    PasswordCost passwordCost = PasswordCost::Interactive();
    // The clock of the failed logins' count; tests move it on by hand.
    LoginThrottle::Clock clock = [] { return std::chrono::steady_clock::now(); };
};

// The service's HTTP side: the routes (paths matched ignoring letter case,
// under the site root and under "/torviksoftware/"), the modes of
// "versionchecker.aspx", the pages, and the server's limits and error
// handlers. Handlers parse, call the domain and format the reply.
class HttpService {
public:
    // The accounts' modes reach accounts directly: no in-memory view holds
    // them.
    HttpService(CheckService& checks, CommunityService& community, Storage& accounts,
                ServiceOptions options);

    // Registers everything on server.
    void Configure(httplib::Server& server);

    // The reply text of one "versionchecker.aspx" request (every failure is
    // an "error: ..." line).
    std::string VersionChecker(const FormFields& fields);

private:
    std::string CheckForUpdates(const FormFields& fields);
    std::string UploadIcon(const FormFields& fields);

    CheckService& checks_;
    CommunityService& community_;
    ServiceOptions options_;
    CommunityModes communityModes_;
    AccountModes accountModes_;
    std::map<std::string, ModeHandler> modes_;
};

// The modes the client knows that this service does not answer yet.
bool IsPlannedMode(const std::string& mode);

// A std::regex that matches path letter-case-blind, at the site root or
// under "/torviksoftware/".
std::string SitePathPattern(const std::string& path);

} // namespace torvik::server
