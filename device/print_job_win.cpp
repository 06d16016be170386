#include "device/print_job_win.h"

#include <utility>

#include "device/device_texts.h"
#include "device/print_progress_win.h"
#include "ui/paths.h"

namespace device {
namespace {

DWORD LastErrorOr(DWORD fallback) {
    const DWORD error = GetLastError();
    return error != 0 ? error : fallback;
}

// Under Wine a document can fail to start with a sharing violation while another program prints
// at the same moment (their spool files collide); starting it again takes a fresh spool file.
bool StartDocument(HDC dc, const DOCINFOW& info) {
    constexpr int attempts = 4;
    for (int attempt = 1;; ++attempt) {
        if (StartDocW(dc, &info) > 0) return true;
        if (attempt == attempts || GetLastError() != ERROR_SHARING_VIOLATION) return false;
    }
}

}  // namespace

PrintJob::PrintJob(ChosenPrinter printer, std::shared_ptr<const PagePlan> plan, JobSetup setup)
    : printer_(std::move(printer)), renderer_(std::move(plan)), setup_(std::move(setup)) {
    outcome_.pageCount = setup_.pages.size();
}

std::unique_ptr<PrintJob> PrintJob::Start(ChosenPrinter printer,
                                          std::shared_ptr<const PagePlan> plan, JobSetup setup,
                                          JobOutcome& failure) {
    std::unique_ptr<PrintJob> job(new PrintJob(std::move(printer), std::move(plan), std::move(setup)));
    const std::wstring document =
        job->setup_.documentName.empty() ? untitledDocument : job->setup_.documentName;
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = document.c_str();
    const std::wstring& output = job->printer_.outputFile;
    info.lpszOutput = output.empty() ? nullptr : output.c_str();

    if (job->setup_.showProgress) {
        const std::wstring destination =
            output.empty() ? PrinterDestination(job->printer_.device, job->printer_.port)
                           : std::wstring(ui::FileNamePart(output));
        const std::size_t first = job->setup_.pages.empty() ? 0 : job->setup_.pages.front();
        PrintJob* self = job.get();
        job->progress_ = PrintProgressDialog::Show(
            job->setup_.owner, {document, destination, 1, static_cast<int>(first) + 1},
            [self] { self->Abort(); });
    }
    SetLastError(0);
    if (!StartDocument(job->printer_.dc.get(), info)) {
        failure = job->outcome_;
        failure.end = JobEnd::failed;
        failure.error = LastErrorOr(ERROR_PRINT_CANCELLED);
        job->ended_ = true;  // nothing to abort: the document never started
        return nullptr;
    }
    if (job->progress_) job->progress_->Repaint();
    return job;
}

PrintJob::~PrintJob() {
    if (!ended_) AbortDoc(printer_.dc.get());
}

bool PrintJob::Step() {
    if (ended_) return false;
    HDC dc = printer_.dc.get();
    if (!pageOpen_) {
        if (next_ >= setup_.pages.size() || aborting_) {
            progress_.reset();
            return false;
        }
        SetLastError(0);
        if (StartPage(dc) <= 0) {
            Fail(LastErrorOr(ERROR_PRINT_CANCELLED));
            return false;
        }
        pageOpen_ = true;
        step_ = 0;
        stepCount_ = renderer_.StepCount(dc, setup_.pages[next_]);
        if (progress_) progress_->SetPageNumber(static_cast<int>(setup_.pages[next_]) + 1);
    }
    if (step_ < stepCount_) renderer_.DrawStep(dc, DeviceFrame(dc), setup_.pages[next_], step_);
    if (++step_ < stepCount_) return true;
    SetLastError(0);
    if (EndPage(dc) <= 0) {
        Fail(LastErrorOr(ERROR_PRINT_CANCELLED));
        return false;
    }
    pageOpen_ = false;
    ++next_;
    ++outcome_.pagesPrinted;
    return true;
}

// Every page handed over is kept: the document ends with the pages printed so far.
void PrintJob::EndDocument() {
    if (ended_) return;
    ended_ = true;
    SetLastError(0);
    if (EndDoc(printer_.dc.get()) <= 0) {
        outcome_.end = JobEnd::failed;
        outcome_.error = LastErrorOr(ERROR_PRINT_CANCELLED);
        return;
    }
    outcome_.end = next_ < setup_.pages.size() ? JobEnd::aborted : JobEnd::printed;
}

// The printer refused a page: nothing more is sent, and the spooler drops the document.
void PrintJob::Fail(DWORD error) {
    ended_ = true;
    progress_.reset();
    AbortDoc(printer_.dc.get());
    outcome_.end = JobEnd::failed;
    outcome_.error = error;
}

}  // namespace device
