#include "updater/update_job_win.h"

#include <windows.h>

#include <array>
#include <optional>
#include <vector>

#include "ui/text_win.h"
#include "update/archive.h"
#include "update/archive_paths.h"
#include "update/download_address.h"
#include "update/internet_win.h"
#include "update/manifest.h"
#include "update/disk_files_win.h"
#include "update/replacement.h"
#include "update/replacement_journal_win.h"
#include "update/update_rules.h"
#include "updater/program_version_win.h"
#include "updater/staging_files_win.h"
#include "updater/updater_texts.h"

namespace updater {
namespace {

// A download may take long on a slow line, but not for ever; closing the window ends it sooner.
constexpr unsigned downloadDeadlineMs = 30 * 60 * 1000;

std::wstring Join(const std::wstring& folder, std::wstring_view name) { return folder + L"\\" + std::wstring(name); }

Failure FailureOf(update::UnpackError error) {
    return error == update::UnpackError::writeFailed ? Failure::writeFailed : Failure::badArchive;
}

Failure FailureOf(update::ReplaceOutcome outcome) {
    switch (outcome) {
    case update::ReplaceOutcome::replaced: return Failure::none;
    case update::ReplaceOutcome::refused: return Failure::badArchive;
    case update::ReplaceOutcome::rolledBack: return Failure::replaceFailed;
    case update::ReplaceOutcome::damaged: break;
    }
    return Failure::damaged;
}

// The manifest's plain file name, for a download that is not an archive.
std::optional<std::wstring> PlainFileName(const std::string& name) {
    std::optional<std::wstring> safe = update::SafeArchivePath(ui::Widen(name));
    if (!safe || safe->find(L'\\') != std::wstring::npos) return std::nullopt;
    return safe;
}

}  // namespace

UpdateJob::UpdateJob(UpdateTask task) : task_(std::move(task)) {
    updaterFolder_ = Join(task_.programDirectory, ui::Widen(update::updaterFolder));
    temp_ = Join(updaterFolder_, tempFolder);
    backup_ = Join(updaterFolder_, backupFolder);
}

UpdateJob::~UpdateJob() {
    Cancel();
    if (thread_.joinable()) thread_.join();
}

void UpdateJob::Start() { thread_ = std::thread([this] { Run(); }); }

Progress UpdateJob::Snapshot() const {
    Progress progress;
    {
        const std::lock_guard lock(mutex_);
        progress.phase = phase_;
        progress.failure = failure_;
    }
    progress.received = received_;
    progress.total = total_;
    if (const std::uint64_t started = started_; started != 0) progress.elapsedMs = GetTickCount64() - started;
    return progress;
}

bool UpdateJob::Cancel() {
    const std::lock_guard lock(mutex_);
    if (phase_ == Phase::replacing || phase_ == Phase::finished) return false;
    cancelled_ = true;
    return true;
}

bool UpdateJob::Cancelled() const {
    const std::lock_guard lock(mutex_);
    return cancelled_;
}

bool UpdateJob::Enter(Phase phase) {
    const std::lock_guard lock(mutex_);
    if (cancelled_) return false;
    phase_ = phase;
    return true;
}

void UpdateJob::Run() {
    const Failure failure = Work();
    // After a replacement that could not be undone the backup holds the only old files, the
    // staging folder the new ones, and the journal tells the next start what is left to undo.
    // Otherwise the journal goes last: a backup left behind by a crash here is still removed by
    // the next start's recovery.
    if (failure != Failure::damaged) update::RemoveTree(temp_);
    if (failure != Failure::damaged && failure != Failure::backupInTheWay && update::RemoveTree(backup_)) {
        DeleteFileW(update::JournalPath(updaterFolder_).c_str());
    }
    const std::lock_guard lock(mutex_);
    failure_ = failure;
    phase_ = Phase::finished;
}

Failure UpdateJob::Work() {
    if (update::RecoverInterruptedReplacement(updaterFolder_) == update::Recovery::damaged) return Failure::damaged;
    const update::UpdateServer& server = update::BuiltInUpdateServer();
    const update::HttpBody body = update::HttpGet(server, update::manifestPath, update::maxManifestBytes);
    if (Cancelled()) return Failure::cancelled;
    const update::HttpBody signature =
        update::HttpGet(server, update::manifestSignaturePath, update::maxSignatureBytes);
    if (Cancelled()) return Failure::cancelled;
    if (!body.complete || !signature.complete) return Failure::notVerified;
    const std::optional<update::Manifest> manifest =
        update::VerifiedManifest(body.bytes, signature.bytes, server.publicKey);
    if (!manifest) return Failure::notVerified;
    const std::optional<update::DownloadCheck> check = update::DownloadCheckOf(*manifest);
    if (!check) return Failure::notVerified;
    // The command line says nothing of what is installed: the program file itself does.
    const std::optional<double> installed = ProgramVersion(task_.programPath);
    if (!installed) return Failure::versionUnknown;
    if (!update::IsNewerVersion(update::VersionNumber(manifest->version), *installed)) return Failure::notNewer;
    if (ui::Widen(manifest->downloadAddress) != task_.downloadAddress) return Failure::taskMismatch;
    const std::optional<update::DownloadAddress> address = update::ParseDownloadAddress(manifest->downloadAddress);
    if (!address) return Failure::downloadFailed;
    const std::optional<std::wstring> fileName = PlainFileName(manifest->fileName);
    total_ = check->size;

    RemoveDirectoryW(backup_.c_str());  // gone unless something is left in it
    if (GetFileAttributesW(backup_.c_str()) != INVALID_FILE_ATTRIBUTES) return Failure::backupInTheWay;
    if (!update::RemoveTree(temp_) || !MakeFolderIfMissing(temp_) || !MakeFolderIfMissing(backup_)) {
        return Failure::writeFailed;
    }
    if (!Enter(Phase::downloading)) return Failure::cancelled;
    const std::wstring downloaded = Join(temp_, downloadFile);
    if (const Failure failure = Download(*address, downloaded, *check); failure != Failure::none) return failure;

    if (!Enter(Phase::unpacking)) return Failure::cancelled;
    const std::wstring staging = Join(temp_, stagingFolder);
    if (!MakeFolderIfMissing(staging)) return Failure::writeFailed;
    std::vector<std::wstring> files;
    bool archive = false;
    {
        FileArchiveSource source(downloaded);
        std::array<std::uint8_t, 4> head{};
        if (!source.Opened()) return Failure::writeFailed;
        archive = source.ReadAt(0, head) == head.size() && update::LooksLikeZip(head);
        if (archive) {
            FolderArchiveSink sink(staging);
            update::UnpackResult unpacked = update::UnpackArchive(source, sink);
            if (unpacked.error != update::UnpackError::none) return FailureOf(unpacked.error);
            files = std::move(unpacked.files);
        }
    }
    if (!archive) {
        if (!fileName) return Failure::badFileName;
        if (!MoveFileExW(downloaded.c_str(), Join(staging, *fileName).c_str(), 0)) return Failure::writeFailed;
        files.push_back(*fileName);
    }
    if (files.empty()) return Failure::badArchive;

    update::JournalFile journal(update::JournalPath(updaterFolder_));
    if (!journal.Opened()) return Failure::writeFailed;
    if (!Enter(Phase::replacing)) return Failure::cancelled;
    update::DiskFiles disk;
    return FailureOf(update::ReplaceFiles(disk, {task_.programDirectory, staging, backup_}, files, &journal));
}

Failure UpdateJob::Download(const update::DownloadAddress& address, const std::wstring& path,
                            const update::DownloadCheck& check) {
    ui::KernelHandle file = CreateNewFile(path);
    if (!file) return Failure::writeFailed;
    const update::UpdateServer& built = update::BuiltInUpdateServer();
    const update::UpdateServer server{address.host, address.port, built.timeoutMs, downloadDeadlineMs,
                                      built.publicKey};
    update::Sha256Hasher hasher;
    bool writeFailed = false;
    started_ = GetTickCount64();
    // Never more than the announced size arrives here: a longer body is TooLarge.
    const update::Transfer transfer =
        update::HttpFetch(server, address.path, check.size, [&](std::span<const std::uint8_t> piece) {
            if (Cancelled()) return false;
            if (!WriteAll(file.get(), piece)) {
                writeFailed = true;
                return false;
            }
            hasher.Add(piece);
            received_ += piece.size();
            return true;
        });
    const bool closed = FlushFileBuffers(file.get()) != FALSE;
    file.reset();
    if (Cancelled()) return Failure::cancelled;
    if (writeFailed || !closed) return Failure::writeFailed;
    if (transfer == update::Transfer::TooLarge) return Failure::downloadMismatch;
    if (transfer != update::Transfer::Complete) return Failure::downloadFailed;
    if (received_ != check.size || hasher.Finish() != check.sha256) return Failure::downloadMismatch;
    return Failure::none;
}

}  // namespace updater
