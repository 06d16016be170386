#include "app/update_check_win.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

#include "app/program_texts.h"
#include "app/program_win.h"
#include "app/resource_ids.h"
#include "app/resources_win.h"
#include "text/separate_edit_description.h"
#include "text/separate_edit_texts.h"
#include "ui/dialogs_win.h"
#include "ui/text_win.h"
#include "ui/timed_message_win.h"
#include "ui/window_win.h"
#include "update/internet_win.h"
#include "update/manifest.h"
#include "update/update_rules.h"
#include "update/update_server.h"
#include "update/updater_files_win.h"

namespace app {
namespace {

constexpr DWORD nothingNewShownMs = 3000;
constexpr UINT offerStyle = MB_OKCANCEL | MB_ICONINFORMATION;
constexpr UINT keepTextStyle = MB_YESNOCANCEL | MB_ICONQUESTION;

// The manifest as the XML parser object keeps it: the bytes before the first zero byte.
std::string DocumentText(const std::vector<std::uint8_t>& body) {
    const auto end = std::find(body.begin(), body.end(), std::uint8_t{0});
    return std::string(body.begin(), end);
}

// Text in the separate-edit window is kept or dropped by the user before the program ends for
// the updater; Cancel keeps everything as it is and the update does not go on. Yes saves it as
// the window's own "保存" does; a failed save is told and stops the update too.
bool SettleSeparateText(Program& program) {
    ui::Window* window = program.separateEdit.Window();
    if (window == nullptr || window->Text(text::separateEditBox).empty()) return true;
    switch (ui::ShowMessage(ui::Widen(text::savePrompt), {}, keepTextStyle)) {
    case IDYES: return program.separateEdit.SaveForHandOver();
    case IDNO: return true;
    default: return false;
    }
}

// The offer; true when the user takes it and the updater has been started (or failed to start:
// the program ends all the same).
bool TakeOffer(Program& program, const update::Manifest& manifest) {
    const std::wstring offer = ui::Widen(update::UpdateOfferText(manifest.version, manifest.notes));
    if (ui::ShowMessage(offer, ui::Widen(update::offerCaption), offerStyle) != IDOK) return false;
    if (!SettleSeparateText(program)) return false;
    update::HandOverToUpdater(manifest);
    return true;
}

}  // namespace

void CheckForUpdate(ui::Window& main, Program& program) {
    if (program.checkingForUpdate) return;
    program.checkingForUpdate = true;
    const std::unique_ptr<bool, void (*)(bool*)> checkEnds(&program.checkingForUpdate,
                                                          [](bool* checking) { *checking = false; });
    const std::wstring standardTitle = ui::Widen(MainWindowTitle());
    main.SetTitle(ui::Widen(update::checkingTitle));
    update::PrepareUpdater(ResourceBytes(UPDATER_PAYLOAD_RESOURCE));

    const update::UpdateServer& server = update::BuiltInUpdateServer();
    // The manifest and its signature are asked for together; a manifest cut short is never
    // judged, so its signature is not used.
    const update::HttpGetRequest requests[] = {
        {update::manifestPath, update::maxManifestBytes},
        {update::manifestSignaturePath, update::maxSignatureBytes},
    };
    const std::vector<update::HttpBody> bodies = update::HttpGetAll(server, requests);
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
        main.SetTitle(standardTitle);
        break;
    case update::Verdict::NothingNew:
        main.SetTitle(ui::Widen(update::nothingNewMessage));
        Sleep(nothingNewShownMs);
        main.SetTitle(standardTitle);
        break;
    case update::Verdict::Offer:
        if (TakeOffer(program, judgement.manifest)) {
            DestroyWindow(main.Handle());
        } else {
            main.SetTitle(standardTitle);
        }
        break;
    }
    ui::ProcessPendingMessages();
}

}  // namespace app
