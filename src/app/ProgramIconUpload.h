#pragma once
#include <functional>
#include <string>

#include "exchange/IconUpload.h"
#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"
#include "platform/InternetApi.h"

namespace torvik {

struct IconUploadServices {
    InternetApi& internet;
    const AnsiCodePage& ansi;
    const FileSystem& fs;
    std::function<void()> processMessages; // while the request waits
    std::wstring build;
    std::function<std::wstring()> header;     // the "header" field
    std::function<std::wstring()> serviceUrl; // as the settings hold it now
};

// Sends the first icon of a program's executable as PNG ("upload_icon"),
// through a TIEHttp of its own that keeps the window responsive while it
// waits. Does nothing when the executable is missing. Throws TorvikError
// when the file has no icon, the icon cannot be encoded, the request fails
// or the reply is an error.
void UploadIcon(const IconUploadItem& program, const IconUploadServices& services);

} // namespace torvik
