// The community modes take their fields from any client, and what one user
// posts is shown to others. Whatever the fields, each reply must be one
// error line or sections that the client's screening passes and reads as
// written, and a page id must read back to the key it was made of.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "server/CommunityModes.h"
#include "server/ProgramPageId.h"
#include "server/ReplyText.h"
#include "server/SqliteStorage.h"

namespace {

using namespace torvik::server;

constexpr const char* kSections[] = {"[community_notes]", "[product_url]",       "[download_url]",
                                     "[filehippo_url]",   "[filehippo_version]", "[program_id_enc]",
                                     "[new_versions]",    "[popularity]",        "[reply]",
                                     "[search_result]"};

void ExpectSafe(const std::string& reply) {
    if (reply.rfind("error: ", 0) == 0) {
        if (reply.find("\r\n") != reply.size() - 2) {
            std::abort(); // one line
        }
        return;
    }
    size_t start = 0;
    while (start < reply.size()) {
        const size_t end = reply.find("\r\n", start);
        if (end == std::string::npos) {
            std::abort(); // every line ends in CR LF
        }
        const std::string line = reply.substr(start, end - start);
        if (line.find_first_of("\r\n") != std::string::npos || HoldsErrorMarker(line)) {
            std::abort();
        }
        if (!line.empty() && line.front() == '[') {
            bool known = false;
            for (const char* section : kSections) {
                known = known || line == section;
            }
            if (!known) {
                std::abort(); // a user's text opened a section
            }
        }
        start = end + 2;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    // The fields, separated by NUL bytes, in this order.
    const char* names[] = {
        "program_name", "exe_filename", "username",       "comment",          "tags",
        "product_url",  "download_url", "program_exe_fn", "program_exe_path", "program_details"};
    FormFields fields{{"header", "user_FUZZ#Windows"}};
    size_t start = 0;
    for (const char* name : names) {
        if (start > input.size()) {
            break;
        }
        const size_t end = std::min(input.find('\0', start), input.size());
        fields[name] = input.substr(start, end - start);
        start = end + 1;
    }

    auto storage = SqliteStorage::InMemory();
    storage->AddAccount({.name = "Fuzz", .moderator = true, .installation = "user_FUZZ"});
    CheckService checks(*storage);
    CommunityService community(*storage, checks);
    CommunityModes modes(community);
    ExpectSafe(modes.PostNote(fields));
    ExpectSafe(modes.GetNotes(fields));
    ExpectSafe(modes.Search(fields));
    for (const auto& decide :
         {&CommunityModes::ApproveVersion, &CommunityModes::ApproveUrls, &CommunityModes::Reject}) {
        const std::string reply = (modes.*decide)(fields);
        if (!reply.empty()) {
            ExpectSafe(reply);
        }
    }
    ExpectSafe(modes.GetNotes(fields));

    const std::string& id = fields["program_name"];
    if (const auto key = ReadProgramPageId(id)) {
        std::string upper = id;
        for (char& c : upper) {
            c = c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c;
        }
        if (ProgramPageId(key->first, key->second) != upper) {
            std::abort();
        }
    }
    return 0;
}
