#include "app/update_check_win.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/main_window_description.h"
#include "app/program_texts.h"
#include "app/program_win.h"
#include "app/resource_ids.h"
#include "app/resources_win.h"
#include "text/separate_edit_description.h"
#include "text/separate_edit_texts.h"
#include "ui/dialogs_win.h"
#include "ui/files_win.h"
#include "ui/message_loop_win.h"
#include "ui/text_win.h"
#include "ui/timed_message_win.h"
#include "ui/window_win.h"
#include "update/internet_win.h"
#include "update/manifest.h"
#include "update/update_rules.h"
#include "update/update_server.h"
#include "update/update_texts.h"
#include "update/updater_files_win.h"

namespace app {
namespace {

constexpr UINT nothingNewShownMs = 3000;
constexpr DWORD failureShownMs = 3000;
constexpr UINT offerStyle = MB_OKCANCEL | MB_ICONINFORMATION;
constexpr UINT keepTextStyle = MB_YESNOCANCEL | MB_ICONQUESTION;

// The manifest and its signature are asked for together; a manifest cut short is never judged,
// so its signature is not used.
constexpr update::HttpGetRequest manifestRequests[] = {
    {update::manifestPath, update::maxManifestBytes},
    {update::manifestSignaturePath, update::maxSignatureBytes},
};

// The requests on a thread of their own. The thread shares what it touches with this, so a
// program that ends meanwhile need not wait for the requests' deadline: the thread is left to
// the process's end.
class ManifestFetch {
public:
    explicit ManifestFetch(const update::UpdateServer& server)
        : state_(std::make_shared<State>(server, GetCurrentThreadId())) {
        std::thread([state = state_] { state->Run(); }).detach();
    }

    // Runs the window messages until the bodies are in; false when the program is ending first
    // (its quit request stays queued).
    bool Wait() {
        return ui::RunModalLoop([this] { return state_->done.load(std::memory_order_acquire); });
    }
    // Once Wait has returned true.
    const std::vector<update::HttpBody>& Bodies() const { return state_->bodies; }

private:
    struct State {
        State(const update::UpdateServer& server, DWORD guiThread) : server(server), guiThread(guiThread) {}
        void Run() {
            bodies = update::HttpGetAll(server, manifestRequests);
            done.store(true, std::memory_order_release);
            // Wakes the loop up; should a box's own loop take the message, the flag is read
            // first when that box has gone.
            PostThreadMessageW(guiThread, WM_NULL, 0, 0);
        }

        const update::UpdateServer server;  // a copy: the thread may outlive the program's statics
        const DWORD guiThread;
        std::vector<update::HttpBody> bodies;
        std::atomic<bool> done{false};
    };
    std::shared_ptr<State> state_;
};

// The manifest as the XML parser object keeps it: the bytes before the first zero byte.
std::string DocumentText(const std::vector<std::uint8_t>& body) {
    const auto end = std::find(body.begin(), body.end(), std::uint8_t{0});
    return std::string(body.begin(), end);
}

// Text in the separate-edit window is kept or dropped by the user before the program ends for
// the updater; Cancel keeps everything as it is and the update does not go on. Yes saves it as
// the window's own "保存" does; a failed save is told and stops the update too. The text stays in
// the window until the updater has started.
bool SettleSeparateText(Program& program) {
    ui::Window* window = program.separateEdit.Window();
    if (window == nullptr || window->Text(text::separateEditBox).empty()) return true;
    switch (ui::ShowMessage(ui::Widen(text::savePrompt), {}, keepTextStyle)) {
    case IDYES: return program.separateEdit.SaveForHandOver();
    case IDNO: return true;
    default: return false;
    }
}

void ShowFailure(std::wstring_view text) { ui::ShowTimedMessage(text, ui::promptCaption, MB_OK, failureShownMs); }

// The offer; true when the user takes it and the updater has started.
bool TakeOffer(Program& program, const update::Manifest& manifest) {
    const std::wstring offer = ui::Widen(update::UpdateOfferText(manifest.version, manifest.notes));
    if (ui::ShowMessage(offer, ui::Widen(update::offerCaption), offerStyle) != IDOK) return false;
    // The updater replaces the program's files in place: where they cannot be written it could
    // only fail.
    if (!ui::FolderIsWritable(ui::ProgramDirectory())) {
        ShowFailure(ui::Widen(update::programFolderReadOnlyMessage));
        return false;
    }
    // The program ends for the updater: a job still printing would lose its remaining pages.
    if (program.printer.JobRunning()) {
        ShowFailure(ui::Widen(updateWhilePrintingMessage));
        return false;
    }
    if (!SettleSeparateText(program)) return false;
    if (const DWORD error = update::HandOverToUpdater(manifest); error != ERROR_SUCCESS) {
        ShowFailure(ui::Widen(update::updaterNotStartedMessage) + ui::SystemErrorText(error));
        return false;
    }
    return true;
}

}  // namespace

void CheckForUpdate(ui::Window& main, Program& program) {
    if (program.checkingForUpdate) return;
    program.checkingForUpdate = true;
    const std::unique_ptr<bool, void (*)(bool*)> checkEnds(&program.checkingForUpdate,
                                                          [](bool* checking) { *checking = false; });
    const std::wstring standardTitle = ui::Widen(MainWindowTitle());
    main.SetTimerInterval(titleTimer, 0);  // an earlier "未检测到新版本" gives way
    main.SetTitle(ui::Widen(update::checkingTitle));
    update::PrepareUpdater(ResourceBytes(UPDATER_PAYLOAD_RESOURCE));

    const update::UpdateServer& server = update::BuiltInUpdateServer();
    std::vector<update::HttpBody> bodies;
    {
        ManifestFetch fetch(server);
        // The main window may be closed meanwhile; then nothing is left to report to.
        if (!fetch.Wait() || program.mainWindow != &main) return;
        bodies = fetch.Bodies();
    }
    const update::HttpBody& manifest = bodies[0];
    const update::HttpBody& signature = bodies[1];
    if (!manifest.bytes.empty()) program.xmlParser.Load(DocumentText(manifest.bytes));
    const std::vector<std::uint8_t> noBytes;
    const update::Judgement judgement = update::JudgeManifest(
        manifest.bytes, manifest.complete && signature.complete ? signature.bytes : noBytes,
        server.publicKey, currentVersion);

    switch (judgement.verdict) {
    case update::Verdict::NoServer:
        ui::ShowTimedMessage(ui::Widen(update::noServerMessage), ui::promptCaption, 0);
        if (program.mainWindow == &main) main.SetTitle(standardTitle);
        break;
    case update::Verdict::NothingNew:
        main.SetTitle(ui::Widen(update::nothingNewMessage));
        main.SetTimerInterval(titleTimer, nothingNewShownMs);
        break;
    case update::Verdict::Offer:
        if (TakeOffer(program, judgement.manifest)) {
            DestroyWindow(main.Handle());
            return;
        }
        if (program.mainWindow == &main) main.SetTitle(standardTitle);
        break;
    }
    ui::ProcessPendingMessages();
}

void OnTitleTimerTick(ui::EventArgs& event) {
    event.window.SetTimerInterval(titleTimer, 0);
    event.window.SetTitle(ui::Widen(MainWindowTitle()));
}

}  // namespace app
