#pragma once
#include <httplib.h>

#include <stdexcept>
#include <thread>

#include "server/CheckService.h"
#include "server/CommunityService.h"
#include "server/HttpService.h"
#include "server/Storage.h"

namespace torvik::server {

// torvik-service's endpoints over a storage, listening on a free port of
// 127.0.0.1 on a thread of their own for as long as the object lives.
// Import the catalogue before: the check reads it when it is made.
class RunningService {
public:
    explicit RunningService(Storage& storage, ServiceOptions options = {})
        : checks_(storage), community_(storage, checks_),
          service_(checks_, community_, storage, options) {
        service_.Configure(server_);
        port_ = server_.bind_to_any_port("127.0.0.1");
        if (port_ <= 0) {
            throw std::runtime_error("no free port on 127.0.0.1");
        }
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) {
            std::this_thread::yield();
        }
    }
    ~RunningService() {
        server_.stop();
        thread_.join();
    }
    RunningService(const RunningService&) = delete;
    RunningService& operator=(const RunningService&) = delete;

    int Port() const { return port_; }

private:
    CheckService checks_;
    CommunityService community_;
    HttpService service_;
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
};

} // namespace torvik::server
