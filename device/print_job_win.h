// One print job on a chosen printer: it owns the printer's device context and what is selected
// into it, starts the document, prints a plan's pages a step at a time and ends the document.
// A job dropped before it has ended is aborted, so no path leaves a document open.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "device/page_plan.h"
#include "device/page_renderer_win.h"
#include "device/printer_chooser_win.h"

namespace device {

class PrintProgressDialog;

struct JobSetup {
    std::wstring documentName;        // empty: "未命名打印作业"
    std::vector<std::size_t> pages;   // the plan's pages in the order they are printed
    bool showProgress = true;
    HWND owner = nullptr;             // of the progress dialog
};

enum class JobEnd { printed, aborted, failed };

struct JobOutcome {
    JobEnd end = JobEnd::printed;
    std::size_t pagesPrinted = 0;  // whole pages handed to the spooler
    std::size_t pageCount = 0;     // pages the job was to print
    DWORD error = 0;               // when failed: the reason Windows gave
};

class PrintJob {
public:
    // Starts the document on the chosen printer and shows the progress dialog; null when the
    // document could not be started, with the reason in failure.
    static std::unique_ptr<PrintJob> Start(ChosenPrinter printer,
                                           std::shared_ptr<const PagePlan> plan, JobSetup setup,
                                           JobOutcome& failure);
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    // Prints the next step: a few of a page's text lines, or a band of one of its pictures,
    // ending the page after its last step. False once no page is left to print; the document
    // is then still to be ended.
    bool Step();
    // Ends the document, which hands it to the spooler: under Wine that takes as long as sending
    // the whole spool file on, so it may be called on another thread, the job untouched
    // meanwhile.
    void EndDocument();
    // The user's abort: the page under way is finished, and the document ends with it.
    void Abort() { aborting_ = true; }
    bool Ended() const { return ended_; }
    const JobOutcome& Outcome() const { return outcome_; }

private:
    PrintJob(ChosenPrinter printer, std::shared_ptr<const PagePlan> plan, JobSetup setup);
    void Fail(DWORD error);

    ChosenPrinter printer_;
    PageRenderer renderer_;
    JobSetup setup_;
    std::unique_ptr<PrintProgressDialog> progress_;
    JobOutcome outcome_;
    std::size_t next_ = 0;      // index into setup_.pages
    std::size_t step_ = 0;      // of the page under way
    std::size_t stepCount_ = 0;
    bool pageOpen_ = false;
    bool aborting_ = false;
    bool ended_ = false;
};

}  // namespace device
