#pragma once
#include <map>
#include <string>

#include "server/CommunityService.h"
#include "server/FormFields.h"

namespace torvik::server {

// How long each field of the community modes may be, in bytes; a longer
// one gets an error line.
struct CommunityLimits {
    size_t name = 1024; // program name, executable file name and folder
    size_t alias = 100;
    size_t comment = 4000;
    size_t tags = 200;
    size_t url = 1000;
    size_t details = 16384;
};

// The modes of "versionchecker.aspx" around one program: its details, the
// user's posts, the search for a program added by hand, and moderation.
// They check and bound the fields, call the community service and write
// the reply; every user's text in a reply is defused (ReplyLineText).
class CommunityModes {
public:
    explicit CommunityModes(CommunityService& community, CommunityLimits limits = {});

    // Registers every mode under its name.
    void AddTo(std::map<std::string, ModeHandler>& modes);

    std::string GetNotes(const FormFields& fields);
    std::string PostNote(const FormFields& fields);
    std::string Search(const FormFields& fields);
    std::string ApproveVersion(const FormFields& fields);
    std::string ApproveUrls(const FormFields& fields);
    std::string Reject(const FormFields& fields);

private:
    using Decision = CommunityService::Moderated (CommunityService::*)(const std::string&,
                                                                       const std::string&,
                                                                       const std::string&);
    std::string Moderate(const FormFields& fields, Decision decision, const char* what);

    CommunityService& community_;
    CommunityLimits limits_;
};

} // namespace torvik::server
