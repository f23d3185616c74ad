#pragma once
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/Processes.h"
#include "platform/ShellFolders.h"

namespace torvik::testing {

class FakeShellFolders : public ShellFolders {
public:
    std::map<Csidl, std::wstring> folders;
    std::wstring SpecialFolderPath(Csidl folder) const override {
        const auto it = folders.find(folder);
        return it == folders.end() ? std::wstring() : it->second;
    }
};

// What ExitProcess throws in tests, so that a test can see the process end.
struct ProcessExited {
    unsigned code;
};

class FakeProcesses : public Processes {
public:
    std::wstring exePath = L"C:\\Tools\\X\\updater.exe";
    bool elevated = false;
    struct Start {
        std::wstring exe, params;
        WindowHandle owner;
    };
    std::vector<Start> elevatedStarts;

    std::wstring ExecutablePath() const override { return exePath; }
    bool IsElevated() const override { return elevated; }
    bool RunElevated(const std::wstring& exe, const std::wstring& params,
                     WindowHandle owner) override {
        elevatedStarts.push_back({exe, params, owner});
        return true;
    }
    [[noreturn]] void ExitProcess(unsigned code) override { throw ProcessExited{code}; }
};

// Records every box; answers OK/Cancel and Yes/No questions from one script
// (OK or Yes when the script has run out).
class FakeDialogs : public Dialogs {
public:
    std::vector<std::wstring> messages;
    std::vector<std::wstring> questions;
    std::vector<std::wstring> captions; // of the questions
    std::deque<bool> answers;

    void ShowMessage(const std::wstring& text) override { messages.push_back(text); }
    bool AskOkCancel(WindowHandle, const std::wstring& text, const std::wstring& caption) override {
        return Answer(text, caption);
    }
    bool AskYesNo(WindowHandle, const std::wstring& text, const std::wstring& caption) override {
        return Answer(text, caption);
    }

private:
    bool Answer(const std::wstring& question, const std::wstring& caption) {
        questions.push_back(question);
        captions.push_back(caption);
        if (answers.empty()) {
            return true;
        }
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
};

class FakeDesktop : public Desktop {
public:
    std::map<std::wstring, WindowHandle> windowsByTitle;
    std::vector<std::pair<WindowHandle, unsigned>> sent;
    std::vector<WindowHandle> activated;
    WindowHandle foreground = 0;
    Rect foregroundRect;
    std::wstring foregroundClass = L"SomeApp";
    int screenWidth = 1920, screenHeight = 1080;

    WindowHandle FindTopLevelWindow(const std::wstring& title) const override {
        const auto it = windowsByTitle.find(title);
        return it == windowsByTitle.end() ? 0 : it->second;
    }
    void SendMessageTo(WindowHandle w, unsigned message) override { sent.emplace_back(w, message); }
    bool ForceForegroundWindow(WindowHandle w) override {
        activated.push_back(w);
        return true;
    }
    WindowHandle ForegroundWindow() const override { return foreground; }
    Rect WindowRect(WindowHandle) const override { return foregroundRect; }
    std::wstring WindowClassName(WindowHandle) const override { return foregroundClass; }
    int ScreenWidth() const override { return screenWidth; }
    int ScreenHeight() const override { return screenHeight; }
};

class FakeMutexes : public NamedMutexes {
public:
    std::set<std::wstring> existing;
    std::vector<std::wstring> created;
    bool Exists(const std::wstring& name) const override { return existing.count(name) != 0; }
    bool Create(const std::wstring& name) override {
        created.push_back(name);
        existing.insert(name);
        return true;
    }
};

class FakeClock : public Clock {
public:
    double now = 45000.5;
    double Now() const override { return now; }
};

} // namespace torvik::testing
