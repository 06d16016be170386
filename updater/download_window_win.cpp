#include "updater/download_window_win.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string_view>

#include "ui/dialogs_win.h"
#include "ui/text_win.h"
#include "ui/window_win.h"
#include "update/command_line.h"
#include "update/download_progress.h"
#include "updater/updater_texts.h"

namespace updater {
namespace {

enum DownloadWindowId : int {
    taskText = 100,
    sizeText,
    progressText,
    speedText,
    stateText,
    progressTimer,
};

constexpr unsigned progressTickMs = 200;

constexpr std::array controls{
    ui::ControlSpec{taskText, "标签1任务", ui::Kind::Label, taskLabel, {16, 16, 360, 20}},
    ui::ControlSpec{sizeText, "标签2大小", ui::Kind::Label, sizeLabel, {16, 44, 360, 20}},
    ui::ControlSpec{progressText, "标签3进度", ui::Kind::Label, progressLabel, {16, 72, 360, 20}},
    ui::ControlSpec{speedText, "标签4速度", ui::Kind::Label, speedLabel, {16, 100, 360, 20}},
    ui::ControlSpec{stateText, "标签5提示", ui::Kind::Label, waitText, {16, 128, 360, 20}},
    ui::ControlSpec{progressTimer, "时钟1进度", ui::Kind::Timer, "", {}},
};

std::wstring Labelled(std::string_view label, const std::string& value) { return ui::Widen(label) + ui::Widen(value); }

std::string_view StateText(Phase phase) {
    switch (phase) {
    case Phase::unpacking: return unpackingText;
    case Phase::replacing: return replacingText;
    case Phase::checking:
    case Phase::downloading:
    case Phase::finished: break;
    }
    return waitText;
}

std::string_view ReasonOf(Failure failure) {
    switch (failure) {
    case Failure::notVerified: return notVerifiedReason;
    case Failure::taskMismatch: return taskMismatchReason;
    case Failure::badFileName: return badFileNameReason;
    case Failure::downloadFailed: return downloadFailedReason;
    case Failure::downloadMismatch: return downloadMismatchReason;
    case Failure::badArchive: return badArchiveReason;
    case Failure::writeFailed: return writeFailedReason;
    case Failure::replaceFailed: return replaceFailedReason;
    case Failure::notNewer: return notNewerReason;
    case Failure::versionUnknown: return versionUnknownReason;
    case Failure::none:
    case Failure::cancelled:
    case Failure::damaged:
    case Failure::backupInTheWay: break;
    }
    return {};
}

// What the user is told when the update was not installed; nothing for a success or a cancel.
std::wstring FailureMessage(Failure failure) {
    if (failure == Failure::damaged) return ui::Widen(damagedText);
    if (failure == Failure::backupInTheWay) return ui::Widen(backupInTheWayText);
    const std::string_view reason = ReasonOf(failure);
    if (reason.empty()) return {};
    return ui::Widen(reason) + L"\r\n\r\n" + ui::Widen(nothingChangedText);
}

// Started without waiting for it, from its own folder.
void StartProgram(const std::wstring& path) {
    std::wstring commandLine = update::JoinCommandLine(std::array{path});
    const std::wstring folder = path.substr(0, path.rfind(L'\\'));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                       &startup, &started)) {
        const ui::KernelHandle process(started.hProcess);
        const ui::KernelHandle thread(started.hThread);
    }
}

constexpr UINT_PTR sessionHoldId = 1;

// A session ended while files are replaced would leave a mix of old and new ones (the journal
// undoes that at the next start, but better not): the end is refused, and the reason set while
// replacing is shown.
LRESULT CALLBACK HoldSession(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR job) {
    if (message == WM_QUERYENDSESSION && reinterpret_cast<UpdateJob*>(job)->Snapshot().phase == Phase::replacing) {
        return FALSE;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, HoldSession, sessionHoldId);
    return DefSubclassProc(window, message, wParam, lParam);
}

void HoldSessionWhileReplacing(DownloadSession& session, HWND window, Phase phase) {
    const bool replacing = phase == Phase::replacing;
    if (replacing == session.holdingSession) return;
    session.holdingSession = replacing;
    if (replacing) {
        ShutdownBlockReasonCreate(window, ui::Widen(replacingText).c_str());
    } else {
        ShutdownBlockReasonDestroy(window);
    }
}

void OnCreated(ui::EventArgs& event) {
    DownloadSession& session = event.Context<DownloadSession>();
    SetWindowSubclass(event.window.Handle(), HoldSession, sessionHoldId, reinterpret_cast<DWORD_PTR>(&session.job));
    event.window.SetText(taskText, ui::Widen(taskLabel) + session.title);
    event.window.SetTimerInterval(progressTimer, progressTickMs);
    session.job.Start();
}

void OnProgressTick(ui::EventArgs& event) {
    DownloadSession& session = event.Context<DownloadSession>();
    ui::Window& window = event.window;
    const Progress progress = session.job.Snapshot();
    if (progress.total != 0) {
        window.SetText(sizeText, Labelled(sizeLabel, update::SizeText(progress.total)));
        window.SetText(progressText, Labelled(progressLabel, update::PercentText(progress.received, progress.total)));
    }
    if (progress.elapsedMs != 0) {
        window.SetText(speedText, Labelled(speedLabel, update::SpeedText(progress.received, progress.elapsedMs)));
    }
    window.SetText(stateText, ui::Widen(StateText(progress.phase)));
    HoldSessionWhileReplacing(session, window.Handle(), progress.phase);
    if (progress.phase != Phase::finished) return;

    window.SetTimerInterval(progressTimer, 0);  // no second tick while the box is up
    if (const std::wstring message = FailureMessage(progress.failure); !message.empty()) {
        ShowWindow(window.Handle(), SW_HIDE);
        ui::ShowMessage(message, ui::Widen(windowTitle), MB_OK | MB_ICONERROR);
    }
    StartProgram(session.programPath);
    DestroyWindow(window.Handle());
}

// Closing cancels a download; the program files are never left half replaced.
void OnCloseRequested(ui::EventArgs& event) {
    event.refuse = true;
    if (event.Context<DownloadSession>().job.Cancel()) ShowWindow(event.window.Handle(), SW_HIDE);
}

void OnDestroyed(ui::EventArgs&) { PostQuitMessage(0); }

constexpr std::array events{
    ui::Binding{ui::windowItself, ui::Event::Created, OnCreated},
    ui::Binding{ui::windowItself, ui::Event::CloseRequested, OnCloseRequested},
    ui::Binding{ui::windowItself, ui::Event::Destroyed, OnDestroyed},
    ui::Binding{progressTimer, ui::Event::Tick, OnProgressTick},
};

}  // namespace

const ui::WindowSpec& DownloadWindowSpec() {
    static const ui::WindowSpec description{
        "MozhouDownloadManager", windowTitle, 400, 200, ui::fixedBorder | ui::minimizeBox | ui::centered,
        controls, {}, events,
    };
    return description;
}

}  // namespace updater
