#include "server/CommunityModes.h"

#include "server/ProgramLines.h"
#include "server/ProgramPageId.h"
#include "server/ReplyText.h"

namespace torvik::server {
namespace {

// The program of a request, both names given; nothing when a name is
// blank. The fields were checked to be there.
bool NamesProgram(const FormFields& fields) {
    return !Trim(*Field(fields, "program_name")).empty() &&
           !Trim(*Field(fields, "exe_filename")).empty();
}
constexpr const char* kNoProgram = "the program name or file name is empty";

// The client splits a note's line at the first ">>>": none may come
// before the separator, nor after it (the text would be cut there).
std::string WithoutSeparator(std::string text) {
    for (size_t at = text.find(">>>"); at != std::string::npos; at = text.find(">>>", at)) {
        text.insert(at + 2, " ");
    }
    return text;
}

std::string NoteLine(const Note& note) {
    std::string heading = WithoutSeparator(NoteHeading(note));
    if (heading.back() == '>') {
        heading += ' '; // or the separator would begin a character early
    }
    return ReplyLineText(heading + ">>>" + WithoutSeparator(LineBreaksAs(note.comment, "<br>")));
}

} // namespace

CommunityModes::CommunityModes(CommunityService& community, CommunityLimits limits)
    : community_(community), limits_(limits) {}

void CommunityModes::AddTo(std::map<std::string, ModeHandler>& modes) {
    modes["community_get_notes"] = [this](const FormFields& f) { return GetNotes(f); };
    modes["community_post_note"] = [this](const FormFields& f) { return PostNote(f); };
    modes["custom_program_search"] = [this](const FormFields& f) { return Search(f); };
    modes["community_approve_app"] = [this](const FormFields& f) { return ApproveVersion(f); };
    modes["community_approve_app_url"] = [this](const FormFields& f) { return ApproveUrls(f); };
    modes["community_reject_app"] = [this](const FormFields& f) { return Reject(f); };
}

std::string CommunityModes::GetNotes(const FormFields& fields) {
    if (const auto fault =
            FieldFault(fields, {{"program_name", limits_.name}, {"exe_filename", limits_.name}})) {
        return ErrorReply(*fault);
    }
    if (!NamesProgram(fields)) {
        return ErrorReply(kNoProgram);
    }
    const auto details = community_.ProgramDetails(
        std::string(Trim(*Field(fields, "program_name"))),
        std::string(Trim(*Field(fields, "exe_filename"))), InstallationField(fields).value_or(""));
    ReplyText reply;
    reply.Section("community_notes");
    for (const Note& note : details.notes) {
        reply.Line(NoteLine(note));
    }
    reply.ValueSection("product_url", details.entry ? details.entry->productUrl : "");
    reply.ValueSection("download_url", details.entry ? details.entry->downloadUrl : "");
    // The third-party site's data are not kept yet: empty values, which the
    // client shows as no link.
    reply.ValueSection("filehippo_url", "");
    reply.ValueSection("filehippo_version", "");
    reply.ValueSection("program_id_enc", ProgramPageId(details.programName, details.exeFilename));
    reply.Section("new_versions");
    for (const VersionCount& count : details.newer) {
        reply.Line(NewerVersionText(count));
    }
    reply.ValueSection("popularity", PopularityText(details.installations));
    return std::move(reply).Take();
}

std::string CommunityModes::PostNote(const FormFields& fields) {
    const std::optional<std::string> installation = InstallationField(fields);
    if (!installation) {
        return ErrorReply(kNoUserId);
    }
    if (const auto fault = FieldFault(fields, {{"username", limits_.alias},
                                               {"program_name", limits_.name},
                                               {"exe_filename", limits_.name},
                                               {"comment", limits_.comment},
                                               {"tags", limits_.tags},
                                               {"product_url", limits_.url},
                                               {"download_url", limits_.url}})) {
        return ErrorReply(*fault);
    }
    if (!NamesProgram(fields)) {
        return ErrorReply(kNoProgram);
    }
    try {
        if (!community_.Contribute({.installation = *installation,
                                    .alias = *Field(fields, "username"),
                                    .programName = *Field(fields, "program_name"),
                                    .exeFilename = *Field(fields, "exe_filename"),
                                    .comment = *Field(fields, "comment"),
                                    .tags = *Field(fields, "tags"),
                                    .productUrl = *Field(fields, "product_url"),
                                    .downloadUrl = *Field(fields, "download_url")})) {
            return ErrorReply("nothing to store: the comment and both URLs are empty");
        }
    } catch (const StorageError&) {
        return ErrorReply("the post could not be recorded; please try again later");
    }
    return ValueReply("reply", "ok");
}

std::string CommunityModes::Search(const FormFields& fields) {
    if (const auto fault = FieldFault(fields, {{"program_exe_fn", limits_.name},
                                               {"program_exe_path", limits_.name},
                                               {"program_details", limits_.details}})) {
        return ErrorReply(*fault);
    }
    const std::string exe(Trim(*Field(fields, "program_exe_fn")));
    if (exe.empty()) {
        return ErrorReply("the field program_exe_fn is empty");
    }
    const std::optional<std::string> name = community_.FindProgramName(
        exe, *Field(fields, "program_exe_path"), *Field(fields, "program_details"));
    ReplyText reply;
    // One name at most: the client takes the section's whole value as the
    // name of the program it adds.
    reply.ValueSection("search_result", name.value_or(""));
    return std::move(reply).Take();
}

std::string CommunityModes::ApproveVersion(const FormFields& fields) {
    return Moderate(fields, &CommunityService::ApproveVersion, "approve versions");
}

std::string CommunityModes::ApproveUrls(const FormFields& fields) {
    return Moderate(fields, &CommunityService::ApproveUrls, "approve URLs");
}

std::string CommunityModes::Reject(const FormFields& fields) {
    return Moderate(fields, &CommunityService::Reject, "take submissions offline");
}

std::string CommunityModes::Moderate(const FormFields& fields, Decision decision,
                                     const char* what) {
    if (const auto fault =
            FieldFault(fields, {{"program_name", limits_.name}, {"exe_filename", limits_.name}})) {
        return ErrorReply(*fault);
    }
    if (!NamesProgram(fields)) {
        return ErrorReply(kNoProgram);
    }
    const std::optional<std::string> installation = InstallationField(fields);
    try {
        switch ((community_.*decision)(installation.value_or(""),
                                       std::string(Trim(*Field(fields, "program_name"))),
                                       std::string(Trim(*Field(fields, "exe_filename"))))) {
        case CommunityService::Moderated::Done:
            // The client only screens the reply.
            return "";
        case CommunityService::Moderated::NotModerator:
            return ErrorReply(std::string("only moderators may ") + what);
        case CommunityService::Moderated::NothingPending:
            return ErrorReply("nothing of this program is waiting for approval");
        case CommunityService::Moderated::NotInCatalogue:
            return ErrorReply("the program is not in the catalogue; approve a version first");
        }
    } catch (const StorageError&) {
    }
    return ErrorReply("the decision could not be recorded; please try again later");
}

} // namespace torvik::server
