#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/TextFile.h"
#include "platform/FileSystem.h"
#include "platform/TimeZone.h"
#include "ui/SettingsStore.h"

namespace torvik {

// The window whose controls and place the settings keep.
class ProjectOwner {
public:
    virtual ~ProjectOwner() = default;
    virtual ControlRegistry& Controls() = 0;
    virtual FormPlacement Placement() const = 0;
    // A maximized placement maximizes the window and then puts it at 0, 0
    // with the work area's size; a width or height of 0 keeps the current.
    virtual void Place(const FormPlacement& placement) = 0;
    // The primary screen without the task bar.
    virtual WorkArea PrimaryWorkArea() const = 0;
};

// What the store needs from outside: files, their times, and the boxes it
// shows (both modal, on the window's thread).
struct ProjectServices {
    FileSystem& fs;
    const TimeZone& zone;
    UnmarkedTextDecoder unmarked;
    std::function<void(const std::wstring&)> showMessage;
    std::function<void(const std::wstring&)> showError;
    // Waits between attempts on a file another program holds for a moment.
    std::function<void(unsigned milliseconds)> sleep;
    // Midnight of the current day, for a date that cannot be read.
    std::function<double()> today;
};

enum class DocumentAnswer { Yes, No, Cancel };

// What a window that opens, saves and closes named project documents needs
// besides ProjectServices. Windows that keep one settings file leave these
// empty.
struct DocumentServices {
    // File dialogs: the chosen file, or nothing when cancelled.
    std::function<std::optional<std::wstring>(
        const std::wstring&filter, const std::wstring&fileName, const std::wstring&folder)>
        openFile, saveFile;
    // Yes, No and Cancel with the warning icon.
    std::function<DocumentAnswer(const std::wstring& text)> askYesNoCancel;
    std::function<bool()> shiftHeld;
    // A line of text, or nothing when cancelled.
    std::function<std::optional<std::wstring>(const std::wstring& prompt,
                                              const std::wstring& title)>
        inputBox;
    std::function<void(const std::wstring& program, const std::wstring& parameters)> run;
    std::function<void(const std::wstring& caption)> setCaption;
    std::function<std::wstring()> currentDirectory; // ending in a backslash
    std::wstring tempFolder;                        // ending in a backslash
    unsigned processId = 0;
    std::function<double()> now;
    // The mutex that marks a document as open in some window of any process.
    std::function<bool(const std::wstring& name)> mutexExists;
    std::function<bool(const std::wstring& name)> holdMutex;
    std::function<void()> releaseMutex;
};

// The file dialogs' filter: "Projects" when empty; "|*" + extension added
// when it has no "|"; every ".." made ".".
std::wstring ProjectFilter(const std::wstring& filter, const std::wstring& extension);
// Every line that is not a header gets the header above it in front, so
// that two files can be compared line by line after sorting.
std::vector<std::wstring> QualifySectionLines(const std::vector<std::wstring>& lines);
// A missing file has no lines.
bool SameSettingsFiles(const ProjectServices& services, const std::wstring& a,
                       const std::wstring& b, bool sort);
// "Global\" + name unless it holds that prefix, lower-cased, its first
// character made "G".
std::wstring ProjectMutexName(const std::wstring& projectName);
// Letters, digits, "-", "_" and "~" only (so no extension).
bool IsValidProjectName(const std::wstring& name);
// tempFolder + "intermediate-PID_yyyymmdd_hhnnss_zzz.ini".
std::wstring ChangeDetectionFileName(const std::wstring& tempFolder, unsigned processId,
                                     double now);

// The files of one program's settings, named after its executable.
struct ProjectFileNames {
    std::wstring settings;        // "updater.ini"
    std::wstring session;         // "updater.Session.ini": the window's place
    std::wstring legacyPositions; // "updater.positions.ini" of older versions
};
ProjectFileNames ProjectFileNamesFor(const std::wstring& settingsFolder,
                                     const std::wstring& exeName);

// Whole-file reads and writes that try again while another process (an
// antivirus, a second copy, a synchronising tool) holds the file: 11
// attempts 200 ms apart. A missing file reads as no lines; nullopt when an
// existing file could not be read. Files are written as UTF-8 with a byte-
// order mark and CR LF, replaced atomically.
std::optional<std::vector<std::wstring>> LoadLinesRetrying(const ProjectServices& services,
                                                           const std::wstring& path);
bool SaveLinesRetrying(const ProjectServices& services, const std::wstring& path,
                       const std::vector<std::wstring>& lines);

// Keeps the values of a window's listed controls ("control.property" lines)
// in one settings file named after the executable, and the window's position
// and size in a session file beside it. The window calls HandleFormShow
// before its own first-show code and HandleFormCloseQuery when it is about
// to close; values are written only when SaveSettingsX is called.
//
// In document mode (after SetMultiProject or LoadProject) the window works
// on named project files instead, one window per file, asking before
// changes are lost; in session mode the session file holds the values too
// and they are saved when the window closes.
class TTorvikProject {
public:
    static constexpr const wchar_t* kFormPositionSection = L"[Form Position and Size]";

    // Forms the file names, brings the session file's name on disk to its
    // exact letter case and merges a legacy positions file into it. Raises
    // TorvikError "ReadFromFile_s_5x failed: NAME" when the legacy file
    // cannot be read.
    TTorvikProject(ProjectOwner& owner, ProjectServices services, std::wstring settingsFolder,
                   const std::wstring& exeName, std::vector<std::wstring> propertiesList);

    bool saveFormSize = true;
    // Document mode.
    std::wstring captionHeader;
    std::wstring filter;
    bool autoSave = false;
    bool flagSaveAlways = false;
    bool ignoreChangesOnExit = false;
    bool forceSaveChanges = false;
    bool forceNomutex = false;
    bool forceNocaptionchange = false;
    bool modified = false;
    std::function<void()> onProjectBeforeSave;
    std::function<void()> onProjectClose;
    // Fired when the settings file does not exist yet, so the window can
    // put its first-run values in place.
    std::function<void()> onSetProjectDefaultValues;
    std::function<void()> onProjectLoad;
    std::function<void()> onProjectSave;

    // The first call applies the settings file to the controls and puts
    // the window in its stored place; later calls do nothing.
    void HandleFormShow();
    // Stores the window's place (a settings file is not written on close;
    // a session is). False when a document's owner declined to close.
    bool HandleFormCloseQuery();

    void SetSingleProject();
    // Writes the settings file now. A file that existed but could not be
    // read when it was loaded is never replaced: it still holds the user's
    // values, which this run's controls never received.
    void SaveSettingsX() { SaveProjectX(); }
    // Writes the open file; with none open, asks where (document mode).
    void SaveProjectX();
    // Applies the file to the controls again; false when it does not exist.
    bool ReloadProject();
    // The file changed on disk since it was last loaded or written (a clock
    // change of one hour does not count).
    bool ProjectModifiedExternally() const;

    void FormSize_Save();
    void FormSize_Load();

    void SetDocumentServices(DocumentServices services) { documents_ = std::move(services); }
    bool IsMultiProject() const { return !singleMode_ && !sessionMode_; }
    bool IsSessionProject() const { return sessionMode_; }
    // Whether the controls hold other values than the open document.
    bool IsProjectChanged();
    // Asks about unsaved changes; false when the user cancelled.
    bool ProjectCanClose();
    void ShowDifferences();
    bool LoadProject(const std::wstring& fileName);
    bool LoadProject();
    void SaveProjectAs();
    void NewProject();
    void CloseProject(bool ignoreChanges);
    void SetMultiProject(const std::wstring& fileName) { OpenProjectFile(fileName); }
    void SetSessionProject(const std::wstring& oldFileName);

    const std::wstring& ProjectFn() const { return projectFn_; }
    const std::wstring& SessionFn() const { return files_.session; }
    const std::wstring& ProjectName() const { return projectName_; }
    double LastLoadedFileDt() const { return lastLoadedFileDt_; }

private:
    void FixNameCaseOnDisk(const std::wstring& path);
    void MergeLegacyPositions();
    void OpenProjectFile(std::wstring fileName);
    bool AcquireProjectMutex(const std::wstring& projectName);
    void ReleaseProjectMutex();
    std::vector<std::wstring> ProjectText();
    void ApplySettingsFile(const std::wstring& fileName);
    double FileTime(const std::wstring& path) const;
    SettingsContext Context();

    ProjectOwner& owner_;
    ProjectServices services_;
    DocumentServices documents_;
    std::wstring settingsFolder_;
    std::vector<std::wstring> propertiesList_;
    ProjectFileNames files_;
    std::wstring extension_ = L".ini";
    std::wstring projectFn_;
    std::wstring projectName_;
    double lastLoadedFileDt_ = 0;
    bool formInitialized_ = false;
    bool singleProjectInitialized_ = false;
    bool unreadableOnLoad_ = false;
    bool singleMode_ = false;
    bool sessionMode_ = false;
    bool holdingMutex_ = false;
};

} // namespace torvik
