#pragma once
#include "inventory/AppFolders.h"
#include "inventory/CachedLibrary.h"
#include "inventory/ExecutableFacts.h"
#include "inventory/ProgramLists.h"
#include "inventory/ScanPipeline.h"
#include "platform/win32/Win32Locale.h"
#include "platform/win32/Win32ShellLinks.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32VersionInfo.h"

namespace torvik::app {

// The inventory the main window owns: the program lists, the cached library
// and the scan, over the Windows implementations.
class Inventory {
public:
    Inventory(FileSystem& fs, const AppFolders& folders, ScanHooks& hooks);

    ProgramLists Lists;
    win32::Win32ShellLinks Links;
    win32::Win32VersionInfo Versions;
    win32::Win32TimeZone Zone;
    PlatformExecutableFacts Facts;
    win32::Win32AnsiCodePage Ansi;
    TCachedLibrary Cache;
    ScanPipeline Pipeline;
};

} // namespace torvik::app
