// Answers from a second process whether a named mutex exists: exit code 1
// when it does, 0 when it does not, 2 on bad usage.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        return 2;
    }
    HANDLE h = ::OpenMutexW(MUTEX_ALL_ACCESS, FALSE, argv[1]);
    if (h == nullptr) {
        return 0;
    }
    ::CloseHandle(h);
    return 1;
}
