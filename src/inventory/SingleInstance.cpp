#include "inventory/SingleInstance.h"

#include "common/Error.h"
#include "common/PathUtils.h"
#include "common/Text.h"

namespace torvik {

bool SingleInstance::SetSingleInstanceApp() {
    if (title_.empty() || title_ == L"xxx") {
        throw TorvikError(L"The single-instance title has not been set");
    }
    if (args_.IsParam(L"nomutex")) {
        return true;
    }
    if (const WindowHandle other = desktop_.FindTopLevelWindow(title_)) {
        desktop_.SendMessageTo(other, kWmShowSelf);
        desktop_.ForceForegroundWindow(other);
        return false;
    }
    InitMutex();
    return true;
}

std::wstring SingleInstance::MutexName(const std::wstring& name) const {
    // GetModuleFileNameW with a 255-character buffer: a longer path is cut.
    const std::wstring exe = processes_.ExecutablePath().substr(0, 254);
    return L"Global\\" + (name.empty() ? UpperCaseAscii(ExtractFileName(exe)) : name);
}

void SingleInstance::InstallMutex(const std::wstring& name) {
    const std::wstring full = MutexName(name);
    if (mutexes_.Exists(full)) {
        processes_.ExitProcess(0);
    }
    mutexes_.Create(full);
}

} // namespace torvik
