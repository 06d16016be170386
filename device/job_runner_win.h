// Runs one print job at a time, a step at a time, from whatever message loop is running: no job
// ever pumps messages itself, so no handler of another window runs inside a job, and the
// progress dialog's abort button answers between two steps.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "device/print_job_win.h"
#include "ui/handles_win.h"

namespace device {

class JobRunner {
public:
    using Done = std::function<void(const JobOutcome&)>;

    JobRunner();
    ~JobRunner();
    JobRunner(const JobRunner&) = delete;
    JobRunner& operator=(const JobRunner&) = delete;

    // A job is under way: no other may start.
    bool Busy() const { return static_cast<bool>(job_); }
    // Runs the job; done is called once it has ended, printed, aborted or failed. False (and
    // the job dropped) when another one is still running.
    bool Run(std::unique_ptr<PrintJob> job, Done done);
    // Stops the running job after the page under way.
    void Abort();
    // Runs the job's steps one after the other until it ends, without waiting for the message
    // loop: for a program that is about to end.
    void Finish();

private:
    static void CALLBACK OnTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
    void Advance();
    void End();
    void WaitForDocumentEnd();

    ui::UniqueHandle<ui::NullableTraits<HWND, DestroyWindow>> window_;  // message-only; its timer drives the job
    std::unique_ptr<PrintJob> job_;
    Done done_;
    // Ends the document of a job whose pages are all printed, off the message loop.
    std::thread ending_;
    std::atomic<bool> documentEnded_{false};
};

}  // namespace device
