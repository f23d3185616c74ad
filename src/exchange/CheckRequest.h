#pragma once
#include <string>
#include <vector>

#include "inventory/ProgramLists.h"
#include "protocol/Multipart.h"

namespace torvik {

// The inventory as the version check sends it: one line per program, twelve
// fields joined by "|" and nothing escaped (a "|" in a name makes a
// thirteenth field; the service matches such a program only when it echoes
// the name). The Program Files folder (no trailing backslash) is removed
// from the path, letter case ignored; details travel only while the record's
// FlagSendDetailsToServer is set, their line breaks as "<br>".
std::wstring ProgramLine(const TProgramRecord& record, const std::wstring& programFilesFolder);

// The lines of every record that may be sent (Status 0 or more), in list
// order: excluded (-1) and missing (-2) programs never leave the computer.
std::vector<std::wstring> CheckProgramLines(const ProgramLists::RecordList& programs,
                                            const std::wstring& programFilesFolder);

// The "check_for_updates" form: build, header, mode, then the lines (each
// followed by CR LF) as compressed UTF-8 in the file part
// "programs_list_zlib_UTF8_nouu" with an empty file name.
MultipartFields CheckForUpdatesRequest(const std::wstring& build, const std::wstring& header,
                                       const std::vector<std::wstring>& programLines);

} // namespace torvik
