#include "server/HttpService.h"

#include <httplib.h>

#include <array>
#include <thread>

#include "server/Inflate.h"
#include "server/Pages.h"
#include "server/PngCheck.h"
#include "server/ProgramPageId.h"
#include "server/ReplyText.h"

namespace torvik::server {
namespace {

constexpr const char* kTextType = "text/plain; charset=utf-8";

constexpr std::array kPlannedModes = {
    "search_programs",      "get_latest_comments", "get_latest_updates", "get_latest_urls",
    "get_pending_programs", "get_hippo_right",     "get_hippo_left",     "merge_hippo",
};

FormFields FieldsOf(const httplib::Request& request) {
    FormFields fields;
    for (const auto& [name, part] : request.files) {
        fields.emplace(name, part.content);
    }
    for (const auto& [name, value] : request.params) {
        fields.emplace(name, value);
    }
    return fields;
}

} // namespace

bool IsPlannedMode(const std::string& mode) {
    for (const char* planned : kPlannedModes) {
        if (mode == planned) {
            return true;
        }
    }
    return false;
}

std::string SitePathPattern(const std::string& path) {
    std::string pattern = "(?:/[tT][oO][rR][vV][iI][kK][sS][oO][fF][tT][wW][aA][rR][eE])?/";
    for (const char c : path) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            const char lower = static_cast<char>(c | 0x20);
            pattern += std::string("[") + lower + static_cast<char>(lower - 'a' + 'A') + "]";
        } else if (c == '.' || c == '/' || c == '_' || c == '-') {
            pattern += std::string("\\") + c;
        } else {
            pattern += c;
        }
    }
    return pattern;
}

HttpService::HttpService(CheckService& checks, CommunityService& community, Storage& accounts,
                         ServiceOptions options)
    : checks_(checks), community_(community), options_(std::move(options)),
      communityModes_(community), accountModes_(accounts, options_.passwordCost, options_.clock) {
    modes_["check_for_updates"] = [this](const FormFields& f) { return CheckForUpdates(f); };
    modes_["upload_icon"] = [this](const FormFields& f) { return UploadIcon(f); };
    communityModes_.AddTo(modes_);
    accountModes_.AddTo(modes_);
}

std::string HttpService::VersionChecker(const FormFields& fields) {
    if (const auto fault = FieldFault(fields, {{"build"}, {"header"}, {"mode"}})) {
        return ErrorReply(*fault);
    }
    const std::string& mode = *Field(fields, "mode");
    const auto handler = modes_.find(mode);
    if (handler == modes_.end()) {
        // The mode is echoed only when it cannot read as a marker.
        return ErrorReply("unknown mode " +
                          (HoldsErrorMarker(mode) ? std::string("(not shown)") : ReplyField(mode)));
    }
    return handler->second(fields);
}

std::string HttpService::CheckForUpdates(const FormFields& fields) {
    const std::optional<std::string> installation = InstallationField(fields);
    if (!installation) {
        return ErrorReply(kNoUserId);
    }
    const std::string* compressed = Field(fields, "programs_list_zlib_UTF8_nouu");
    if (compressed == nullptr) {
        return ErrorReply("missing field programs_list_zlib_UTF8_nouu");
    }
    const Inflated text = InflateZlib(*compressed, options_.maxInflatedBytes);
    switch (text.outcome) {
    case Inflated::Outcome::Ok:
        break;
    case Inflated::Outcome::TooLarge:
        return ErrorReply("the program list is larger than " +
                          std::to_string(options_.maxInflatedBytes) + " bytes");
    case Inflated::Outcome::NotZlib:
        return ErrorReply("the program list is not a zlib stream");
    }
    std::vector<ProgramLine> programs;
    try {
        programs = ReadProgramLines(text.bytes, options_.lines);
    } catch (const TooManyProgramsError& e) {
        return ErrorReply(e.what());
    }
    try {
        return checks_.Check(*installation, programs);
    } catch (const StorageError&) {
        return ErrorReply("the check could not be recorded; please try again later");
    }
}

std::string HttpService::UploadIcon(const FormFields& fields) {
    const std::optional<std::string> installation = InstallationField(fields);
    if (!installation) {
        return ErrorReply(kNoUserId);
    }
    if (const auto fault =
            FieldFault(fields, {{"program_name"}, {"exe_filename"}, {"icon_contents"}})) {
        return ErrorReply(*fault);
    }
    const std::string& png = *Field(fields, "icon_contents");
    if (png.size() > options_.maxIconBytes) {
        return ErrorReply("the icon is larger than " + std::to_string(options_.maxIconBytes) +
                          " bytes");
    }
    if (const auto fault = PngFault(png, options_.maxIconSide)) {
        return ErrorReply("the icon is not a valid PNG image: " + ReplyField(*fault));
    }
    try {
        switch (
            checks_.SaveIcon(*Field(fields, "program_name"), *Field(fields, "exe_filename"), png)) {
        case CheckService::IconOutcome::NotInCatalogue:
            return ErrorReply("the program is not in the catalogue");
        case CheckService::IconOutcome::Kept:
        case CheckService::IconOutcome::HadOne:
            break;
        }
    } catch (const StorageError&) {
        return ErrorReply("the icon could not be recorded; please try again later");
    }
    return ValueReply("reply", "ok");
}

void HttpService::Configure(httplib::Server& server) {
    const size_t threads = options_.threads;
    // The server owns and deletes the queue it is given.
    server.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
    server.set_tcp_nodelay(true);
    server.set_keep_alive_max_count(options_.keepAliveRequests);
    server.set_keep_alive_timeout(options_.keepAliveSeconds);
    server.set_read_timeout(options_.readWriteSeconds);
    server.set_write_timeout(options_.readWriteSeconds);
    server.set_payload_max_length(options_.maxBodyBytes);

    server.Post(SitePathPattern("versionchecker.aspx"),
                [this](const httplib::Request& request, httplib::Response& response) {
                    std::string reply = VersionChecker(FieldsOf(request));
                    std::this_thread::sleep_for(options_.replyDelay);
                    response.set_content(std::move(reply), kTextType);
                });
    server.Get(SitePathPattern("versionchecker.aspx"),
               [](const httplib::Request&, httplib::Response& response) {
                   response.set_content(ErrorReply("the service takes POST requests"), kTextType);
               });
    server.Get(SitePathPattern("AppFrame_Updater.aspx"), [this](const httplib::Request& request,
                                                                httplib::Response& response) {
        const std::string build =
            request.has_param("b") ? request.get_param_value("b") : options_.buildOfPages;
        const std::string mode = request.has_param("mode") ? request.get_param_value("mode") : "1";
        response.set_content(mode == "2" ? UpdatesPage(checks_.NewerThanCatalogue(), build)
                                         : CataloguePage(checks_.Catalogue(), build),
                             kHtmlType);
    });
    // For load balancers and benchmarks: answers without touching the data.
    server.Get(SitePathPattern("health"), [](const httplib::Request&, httplib::Response& response) {
        response.set_content("ok", kTextType);
    });
    server.Get(SitePathPattern("program.aspx"),
               [this](const httplib::Request& request, httplib::Response& response) {
                   const auto key = ReadProgramPageId(request.get_param_value("id"));
                   const auto program = key ? community_.ProgramDetails(key->first, key->second)
                                            : CommunityService::Details{};
                   if (!program.Known()) {
                       response.status = 404;
                       response.set_content(ProgramNotFoundPage(), kHtmlType);
                       return;
                   }
                   response.set_content(ProgramPage(program), kHtmlType);
               });
    server.Get(SitePathPattern("ForumThreads.aspx"),
               [](const httplib::Request&, httplib::Response& response) {
                   response.set_content(ForumPage(), kHtmlType);
               });

    server.set_exception_handler([](const httplib::Request&, httplib::Response& response,
                                    std::exception_ptr) {
        response.status = 500;
        response.set_content(ErrorReply("the service failed; please try again later"), kTextType);
    });
    server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (response.body.empty()) {
            response.set_content(
                ErrorReply(response.status == 413
                               ? "the request is too large"
                               : "no such page (" + std::to_string(response.status) + ")"),
                kTextType);
        }
    });
}

} // namespace torvik::server
