#include "app/ProgramIconUpload.h"

#include "common/Error.h"
#include "platform/win32/IconPng.h"
#include "platform/win32/ShellIcons.h"
#include "service/IEHttp.h"
#include "service/IEHttpTransport.h"

namespace torvik {

void UploadIcon(const IconUploadItem& program, const IconUploadServices& services) {
    if (!services.fs.FileExists(program.exeFile)) {
        return;
    }
    const win32::UniqueIcon icon = win32::FirstIconOfFile(program.exeFile);
    if (!icon) {
        throw TorvikError(L"No icon in " + program.exeFile);
    }
    const MultipartFields form =
        IconUploadRequest(services.build, services.header(), program, win32::IconToPng(icon.get()));
    TIEHttp http(TIEHttp::Services{services.internet, services.ansi, nullptr, nullptr,
                                   services.processMessages});
    IEHttpTransport transport(http);
    PostIconUpload(transport, services.serviceUrl(), form);
}

} // namespace torvik
