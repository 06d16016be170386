#include "device/job_runner_win.h"

#include <chrono>
#include <system_error>
#include <utility>

namespace device {
namespace {

constexpr UINT_PTR stepTimer = 1;
// Steps run one after the other for this long before the message loop has its turn again.
constexpr auto stepBudget = std::chrono::milliseconds(30);

}  // namespace

JobRunner::JobRunner()
    : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                              nullptr)) {
    if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

// A job still running is dropped, which aborts its document; one whose document is being ended
// is waited for.
JobRunner::~JobRunner() {
    if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
    WaitForDocumentEnd();
}

bool JobRunner::Run(std::unique_ptr<PrintJob> job, Done done) {
    if (Busy() || !job) return false;
    job_ = std::move(job);
    done_ = std::move(done);
    // The lowest of a loop's messages: input and painting always come first.
    if (!window_ || SetTimer(window_.get(), stepTimer, USER_TIMER_MINIMUM, OnTimer) == 0) {
        Finish();
    }
    return true;
}

void JobRunner::Abort() {
    if (job_) job_->Abort();
}

void JobRunner::Finish() {
    while (job_ && job_->Step()) {
    }
    if (ending_.joinable()) {
        WaitForDocumentEnd();
    } else if (job_) {
        job_->EndDocument();
    }
    End();
}

void JobRunner::WaitForDocumentEnd() {
    if (ending_.joinable()) ending_.join();
}

void CALLBACK JobRunner::OnTimer(HWND window, UINT, UINT_PTR, DWORD) {
    auto* runner = reinterpret_cast<JobRunner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (runner != nullptr) runner->Advance();
}

void JobRunner::Advance() {
    if (!job_) return;
    if (ending_.joinable()) {
        if (!documentEnded_) return;
        WaitForDocumentEnd();
        return End();
    }
    const auto start = std::chrono::steady_clock::now();
    while (job_->Step()) {
        if (std::chrono::steady_clock::now() - start >= stepBudget) return;
    }
    if (job_->Ended()) return End();  // failed on the way
    documentEnded_ = false;
    PrintJob* job = job_.get();
    try {
        ending_ = std::thread([this, job] {
            job->EndDocument();
            documentEnded_ = true;
        });
    } catch (const std::system_error&) {
        job->EndDocument();
        End();
    }
}

// The job is taken out before its caller hears of it, so that the caller may start another.
void JobRunner::End() {
    if (!job_) return;
    if (window_) KillTimer(window_.get(), stepTimer);
    std::unique_ptr<PrintJob> ended = std::move(job_);
    Done done = std::move(done_);
    const JobOutcome outcome = ended->Outcome();
    ended.reset();
    if (done) done(outcome);
}

}  // namespace device
