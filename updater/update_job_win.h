// The updater's work, on a thread of its own: the manifest fetched and checked again, the
// download streamed, checked and unpacked, and the program's files replaced, all or nothing.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "update/download_address.h"
#include "update/manifest.h"

namespace updater {

// What the command line asks for; nothing in it is trusted beyond naming the task.
struct UpdateTask {
    std::wstring programDirectory;  // the parent of the updater's own folder
    std::wstring downloadAddress;   // must be the one the signed manifest names
    std::wstring programPath;       // the program the update replaces, in programDirectory
};

enum class Phase { checking, downloading, unpacking, replacing, finished };

enum class Failure {
    none,
    cancelled,
    notVerified,       // no manifest, or one not signed with the built-in key
    taskMismatch,      // the command line's address is not the manifest's
    badFileName,       // the manifest's 文件名 is no plain file name
    downloadFailed,
    downloadMismatch,  // size or SHA-256 not as announced
    badArchive,
    writeFailed,
    replaceFailed,     // rolled back: the program is as it was
    damaged,           // rolled back only in part
    backupInTheWay,    // an earlier update that could not be undone left its backup
    notNewer,          // the manifest's version is not later than the program's
    versionUnknown,    // the program's version information cannot be read
};

struct Progress {
    Phase phase = Phase::checking;
    Failure failure = Failure::none;
    std::uint64_t received = 0;
    std::uint64_t total = 0;  // announced by the manifest, 0 until it is read
    std::uint64_t elapsedMs = 0;  // since the download began
};

class UpdateJob {
public:
    explicit UpdateJob(UpdateTask task);
    UpdateJob(const UpdateJob&) = delete;
    UpdateJob& operator=(const UpdateJob&) = delete;
    // Cancels and waits for the thread.
    ~UpdateJob();

    void Start();
    Progress Snapshot() const;
    // Stops the work before the replacement begins; false once it has begun.
    bool Cancel();

private:
    void Run();
    Failure Work();
    Failure Download(const update::DownloadAddress& address, const std::wstring& path,
                     const update::DownloadCheck& check);
    // Moves on to the phase unless the work was cancelled.
    bool Enter(Phase phase);
    bool Cancelled() const;

    UpdateTask task_;
    std::wstring temp_;    // 升级文件\temp: the download and its staging folder
    std::wstring backup_;  // 升级文件\backup: what the replacement moved away
    std::wstring updaterFolder_;
    mutable std::mutex mutex_;
    Phase phase_ = Phase::checking;
    Failure failure_ = Failure::none;
    bool cancelled_ = false;
    std::atomic<std::uint64_t> received_{0};
    std::atomic<std::uint64_t> total_{0};
    std::atomic<std::uint64_t> started_{0};  // GetTickCount64 when the download began
    std::thread thread_;
};

}  // namespace updater
