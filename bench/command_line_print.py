"""Printing a 600-line text from the command line (墨舟.exe /p), timed from the process's start until it
has ended (its job handed to the spooler), beside the same text printed from the running program's
print button, timed from the click until the status bar reports the job, with the width prompt and
the print dialog answered as soon as they show. Both print at 80 bytes a line on the default printer,
in turns, several rounds; the medians count.

Usage (inside the test environment, see tools/run-bench.sh): command_line_print.py <program.exe> [rounds]
"""

from __future__ import annotations

import statistics
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))

from e2elib import App, Driver, Paper, ProgramDir, wait_until, windows_path  # noqa: E402
from mainwindow import IDCANCEL, MainWindow, ask_chars_per_line, paste_text, print_text  # noqa: E402

LINES = 600
WIDTH = 80
GOAL = 1.2
LINE = "墨舟打印测试 text line {:04d}，中文与 ASCII 混排，每行约八十五个字节 print page GBK。"


def from_command_line(driver: Driver, directory: ProgramDir, text_file: Path) -> float:
    started = time.perf_counter()
    app = App.launch(driver, windows_path(directory.exe), cwd=directory.windows_path(),
                     args=f'/p "{windows_path(text_file)}" /w {WIDTH}')
    code = app.wait_exit(600)
    elapsed = time.perf_counter() - started
    if code != 0:
        raise RuntimeError(f"/p ended with {code}")
    return elapsed


def from_print_button(main: MainWindow) -> float:
    # The report is the same every time: the status bar is first made to say something else, by a
    # print cancelled at its width prompt.
    ask_chars_per_line(main).press(IDCANCEL)
    wait_until(lambda: main.status_message() == "取消打印", message="the cancelled print")
    started = time.perf_counter()
    message = print_text(main, WIDTH, timeout=600)
    elapsed = time.perf_counter() - started
    if "打印份数" not in message:
        raise RuntimeError(f"the print button's job ended with {message!r}")
    return elapsed


def main() -> int:
    program = Path(sys.argv[1]).resolve()
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    text = "\r\n".join(LINE.format(n) for n in range(LINES))
    work = Path(tempfile.mkdtemp(prefix="command-line-print-", dir=program.parent))
    text_file = work / "bench-command-line.txt"
    text_file.write_bytes(text.encode("gbk"))

    driver = Driver().start()
    directory = ProgramDir(program.name, source=program)
    line_runs, button_runs = [], []
    app = directory.start(driver)
    try:
        main_window = MainWindow(app)
        main_window.text_option.click()
        main_window.keep_spaces.click()
        paste_text(main_window, text)
        for round_number in range(rounds):
            turns = (from_command_line, from_print_button) if round_number % 2 == 0 else (from_print_button, from_command_line)
            for turn in turns:
                if turn is from_command_line:
                    line_runs.append(from_command_line(driver, directory, text_file))
                else:
                    button_runs.append(from_print_button(main_window))
            print(f"  round {round_number + 1}  /p {line_runs[-1]:.3f} s  print button {button_runs[-1]:.3f} s", flush=True)
    finally:
        app.kill()
        driver.close()
        directory.remove()
        text_file.unlink()
        work.rmdir()
        Paper().clear()

    line_median, button_median = statistics.median(line_runs), statistics.median(button_runs)
    ratio = line_median / button_median
    print(f"printing {LINES} lines at {WIDTH} bytes a line, median of {rounds} rounds")
    print(f"  /p, start to end of process   {line_median:8.3f} s")
    print(f"  print button, click to report {button_median:8.3f} s")
    print(f"  ratio                         {ratio:8.2f}   (goal: at most {GOAL})")
    return 0 if ratio <= GOAL else 1


if __name__ == "__main__":
    sys.exit(main())
