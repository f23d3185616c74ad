#include "app/Inventory.h"

#include "inventory/FileDates.h"

namespace torvik::app {

Inventory::Inventory(FileSystem& fs, const AppFolders& folders, ScanHooks& hooks)
    : Facts(fs, Versions, Zone), Cache(fs, Facts, Ansi),
      Pipeline(ScanServices{fs, Links, Facts,
                            [this](uint64_t ft) { return FileTimeToDateTime(Zone, ft); },
                            win32::WindowsDirectory()},
               Lists, Cache, hooks) {
    Pipeline.Folders = ShortcutFoldersOf(folders);
    Cache.FileName = folders.InSettings(L"updater_cache.db");
}

} // namespace torvik::app
