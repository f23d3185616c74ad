// torvik-service: the version-check service and its catalogue.
//
//   torvik-service serve --data DIR [--listen 127.0.0.1:1245] [--reply-delay-ms N]
//   torvik-service seed-demo --data DIR [--community]
//   torvik-service import --data DIR FILE
//   torvik-service user --data DIR NAME [--moderator] [--installation ID]
#include <httplib.h>
#include <signal.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <thread>

#include "server/CatalogueFile.h"
#include "server/CheckService.h"
#include "server/CommunityService.h"
#include "server/DemoCatalogue.h"
#include "server/HttpService.h"
#include "server/SqliteStorage.h"

namespace {

using namespace torvik::server;

struct Address {
    std::string host = "127.0.0.1";
    int port = 1245;
};

bool ParseListen(const std::string& text, Address& address) {
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) {
        return false;
    }
    try {
        size_t used = 0;
        const int port = std::stoi(text.substr(colon + 1), &used);
        if (used != text.size() - colon - 1 || port < 1 || port > 65535) {
            return false;
        }
        address = {text.substr(0, colon), port};
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

int Serve(const std::string& dataDir, const std::string& listen, int replyDelayMs) {
    Address address;
    if (!ParseListen(listen, address)) {
        std::fprintf(stderr, "--listen wants HOST:PORT, for example 127.0.0.1:1245\n");
        return 2;
    }
    // SIGINT and SIGTERM end the server through a thread that waits for
    // them, so that it stops between requests.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    auto storage = SqliteStorage::Open(dataDir);
    CheckService checks(*storage);
    CommunityService community(*storage, checks);
    ServiceOptions options;
    options.replyDelay = std::chrono::milliseconds(replyDelayMs);
    HttpService service(checks, community, *storage, options);
    httplib::Server server;
    service.Configure(server);
    if (!server.bind_to_port(address.host, address.port)) {
        std::fprintf(stderr, "cannot listen on %s:%d\n", address.host.c_str(), address.port);
        return 1;
    }
    std::thread stopper([&server, stopSignals] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.stop();
    });
    std::printf("torvik-service: http://%s:%d/versionchecker.aspx (data in %s)\n",
                address.host.c_str(), address.port, dataDir.c_str());
    std::fflush(stdout);
    server.listen_after_bind();
    // Wake the stopper when the server ended by itself.
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"torvik-service: the version-check service of Torvik Updater"};
    app.require_subcommand(1);
    std::string dataDir, listen = "127.0.0.1:1245", file, name, installation;
    bool moderator = false;
    int replyDelayMs = 0;

    auto* serve = app.add_subcommand("serve", "Answer the program's requests over HTTP");
    serve->add_option("--data", dataDir, "Folder of the database")->required();
    serve->add_option("--listen", listen, "Address and port to listen on")->capture_default_str();
    serve
        ->add_option("--reply-delay-ms", replyDelayMs,
                     "For tests of clients: hold back every versionchecker.aspx reply this "
                     "many milliseconds")
        ->check(CLI::Range(0, 600000))
        ->capture_default_str();

    auto* seed = app.add_subcommand("seed-demo", "Add the demo catalogue");
    seed->add_option("--data", dataDir, "Folder of the database")->required();
    bool community = false;
    seed->add_flag("--community", community,
                   "Also the reports of three other demo installations, newer versions of two "
                   "demo programs");

    auto* import = app.add_subcommand("import", "Add the programs of a catalogue file (JSON)");
    import->add_option("--data", dataDir, "Folder of the database")->required();
    import->add_option("file", file, "The catalogue file")->required()->check(CLI::ExistingFile);

    auto* user = app.add_subcommand("user", "Create an account");
    user->add_option("--data", dataDir, "Folder of the database")->required();
    user->add_option("name", name, "The account's user name")->required();
    user->add_flag("--moderator", moderator, "May approve and reject submissions");
    user->add_option("--installation", installation,
                     "The anonymous user id of the installation the account acts from");

    CLI11_PARSE(app, argc, argv);
    try {
        if (serve->parsed()) {
            return Serve(dataDir, listen, replyDelayMs);
        }
        auto storage = SqliteStorage::Open(dataDir);
        if (seed->parsed()) {
            const auto demo = DemoCatalogue();
            storage->ImportCatalogue(demo);
            std::printf("added %zu demo programs\n", demo.size());
            if (community) {
                SeedDemoCommunity(*storage);
                std::printf("added the reports and notes of other demo installations\n");
            }
        } else if (import->parsed()) {
            const auto entries = ReadCatalogueFile(file);
            storage->ImportCatalogue(entries);
            std::printf("imported %zu programs from %s\n", entries.size(), file.c_str());
        } else if (user->parsed()) {
            storage->AddAccount({name, moderator, installation});
            std::printf("account %s created%s%s\n", name.c_str(), moderator ? " (moderator)" : "",
                        installation.empty() ? "" : ", linked to its installation");
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "torvik-service: %s\n", e.what());
        return 1;
    }
}
