#pragma once
#include <string>
#include <vector>

#include "inventory/ProgramLists.h"
#include "protocol/Multipart.h"
#include "service/ServiceTransport.h"

namespace torvik {

// A program whose icon the service asked for, copied out of its record so
// that an upload pass does not depend on the list staying as it was while
// window messages are processed.
struct IconUploadItem {
    std::wstring programName;
    std::wstring exeFilename;
    std::wstring exeFile; // folder joined with file name
    bool operator==(const IconUploadItem&) const = default;
};

// The programs of a list, in list order, whose icon the last check's reply
// asked for (IconNeeded).
std::vector<IconUploadItem> ProgramsWantingIcons(const ProgramLists::RecordList& programs);

// The "upload_icon" form: build, header, mode, "program_name",
// "exe_filename", then the PNG bytes as the file part "icon_contents" with
// the file name "x".
MultipartFields IconUploadRequest(const std::wstring& build, const std::wstring& header,
                                  const IconUploadItem& program, const std::string& png);

// Posts the form and screens the reply (ScreenReply); no other part of the
// reply is read. Throws ServiceTransportError or the screening's error; a
// cancelled request passes silently.
void PostIconUpload(ServiceTransport& transport, const std::wstring& url,
                    const MultipartFields& form);

} // namespace torvik
