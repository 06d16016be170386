"""Client of e2e-driver.exe: one long-lived driver under wine, one JSON answer per command."""

from __future__ import annotations

import json
import os
import queue
import shutil
import subprocess
import threading
import time
from pathlib import Path
from typing import Any

from .paths import driver_exe
from .timing import patient

# Wine may have to set up its prefix on the first start.
START_TIMEOUT_S = 180.0
# Time allowed for an answer on top of any waiting the command itself was asked to do. The driver
# bounds its own waits (a font read: 5 s for the window, 15 s for the probe in the program), so a
# command still unanswered after this has hung the driver.
ANSWER_MARGIN_S = 30.0
QUIT_TIMEOUT_S = 10.0
# A driver that answers this quickly between cases is not hung.
PING_TIMEOUT_S = 10.0
# Failures of a read that a busy program causes by answering late; asked again until this passes.
LATE_ANSWERS = ("did not answer", "did not finish", "no answer in time", "(error 1460")
READ_PATIENCE_S = 10.0
READ_RETRY_PAUSE_S = 0.2
WAIT_KEYS = ("timeout", "wait", "delay")
MS_PER_S = 1000.0


class DriverError(RuntimeError):
    """The driver answered {"ok": false}: the command could not be carried out."""

    def __init__(self, command: str, error: str):
        super().__init__(f"{error}\n    command: {command}")
        self.command = command
        self.error = error


class DriverTimeout(DriverError):
    """No answer in time; the driver is stopped and the next test starts a new one."""


class DriverGone(DriverError):
    """The driver process ended."""


def _word(value: Any) -> str:
    if isinstance(value, bool):
        return "1" if value else "0"
    if isinstance(value, int):
        return str(value)
    hwnd = getattr(value, "hwnd", None)
    if isinstance(hwnd, int):
        return str(hwnd)
    if isinstance(value, (str, os.PathLike)):
        return json.dumps(os.fspath(value), ensure_ascii=False)
    raise TypeError(f"cannot pass {value!r} to the driver")


def _key(name: str) -> str:
    return "class" if name == "cls" else name.rstrip("_")


def format_command(command: str, args: tuple, named: dict) -> str:
    words = [command, *(_word(a) for a in args)]
    words += [f"{_key(k)}={_word(v)}" for k, v in named.items() if v is not None]
    return " ".join(words)


class Driver:
    def __init__(self, exe: Path | None = None, wine: str | None = None, log_path: Path | None = None):
        self.exe = Path(exe) if exe else driver_exe()
        self.wine = wine or os.environ.get("MOZHOU_WINE") or os.environ.get("WINE", "wine")
        self.log_path = log_path
        self.startup_seconds: float | None = None
        self.hello: dict | None = None
        self._process: subprocess.Popen | None = None
        self._answers: queue.Queue[bytes | None] = queue.Queue()
        self._log = None

    # -- lifecycle -------------------------------------------------------

    def start(self) -> "Driver":
        if shutil.which(self.wine) is None:
            raise FileNotFoundError(f"'{self.wine}' not found; set MOZHOU_WINE (tools/harness.sh does)")
        env = dict(os.environ)
        env.setdefault("WINEDEBUG", "-all")
        if self.log_path:
            self.log_path.parent.mkdir(parents=True, exist_ok=True)
            self._log = open(self.log_path, "ab")
        began = time.monotonic()
        self._process = subprocess.Popen(
            [self.wine, str(self.exe)],
            stdin=subprocess.PIPE,
            stdout=subprocess.PIPE,
            stderr=self._log or subprocess.DEVNULL,
            env=env,
        )
        self._answers = queue.Queue()  # an earlier process's end is not this one's
        threading.Thread(target=self._read_answers, args=(self._process.stdout, self._answers), daemon=True).start()
        self.hello = self.call("hello", answer_timeout=START_TIMEOUT_S)
        self.startup_seconds = time.monotonic() - began
        return self

    @property
    def alive(self) -> bool:
        return self._process is not None and self._process.poll() is None

    @property
    def pid(self) -> int | None:
        """The driver's Linux process id while it runs."""
        return self._process.pid if self.alive else None

    def responsive(self) -> bool:
        """Alive and answering; one that does not answer in time is stopped."""
        if not self.alive:
            return False
        try:
            self.call("hello", answer_timeout=patient(PING_TIMEOUT_S))
            return True
        except DriverError:
            return False

    def close(self) -> None:
        process, self._process = self._process, None
        if process is None:
            return
        try:
            if process.poll() is None:
                process.stdin.write(b"quit\n")
                process.stdin.flush()
                process.stdin.close()
                process.wait(QUIT_TIMEOUT_S)
        except (OSError, subprocess.TimeoutExpired):
            process.kill()
            process.wait()
        finally:
            if self._log:
                self._log.close()
                self._log = None

    def __enter__(self) -> "Driver":
        return self.start() if self._process is None else self

    def __exit__(self, *exc) -> None:
        self.close()

    # -- commands --------------------------------------------------------

    def call(self, command: str, *args: Any, answer_timeout: float | None = None, **named: Any) -> dict:
        """Runs one command; returns its answer, raises DriverError when it failed."""
        line = format_command(command, args, named)
        if not self.alive:
            raise DriverGone(line, "the driver is not running")
        if answer_timeout is None:
            answer_timeout = patient(ANSWER_MARGIN_S) + self._requested_wait(command, args, named)
        try:
            self._process.stdin.write(line.encode("utf-8") + b"\n")
            self._process.stdin.flush()
        except OSError as error:
            raise DriverGone(line, f"cannot write to the driver: {error}") from error
        try:
            raw = self._answers.get(timeout=answer_timeout)
        except queue.Empty:
            self._abandon()
            raise DriverTimeout(line, f"no answer within {answer_timeout:.0f} s; driver stopped") from None
        if raw is None:
            raise DriverGone(line, f"the driver ended (exit code {self._process.wait()})")
        answer = json.loads(raw.decode("utf-8", errors="replace"))
        if not answer.get("ok"):
            raise DriverError(line, answer.get("error", "unknown error"))
        return answer

    def read(self, command: str, *args: Any, settled=None, **named: Any) -> dict:
        """A command that only reads. A busy program may answer too late, or a control answer
        nothing while the program is still busy: the question is asked again for a while.
        settled(answer) tells whether an answer is complete."""
        deadline = time.monotonic() + patient(READ_PATIENCE_S)
        while True:
            try:
                answer = self.call(command, *args, **named)
                if settled is None or settled(answer) or time.monotonic() >= deadline:
                    return answer
            except (DriverTimeout, DriverGone):
                raise
            except DriverError as error:
                if not any(late in error.error for late in LATE_ANSWERS) or time.monotonic() >= deadline:
                    raise
            time.sleep(READ_RETRY_PAUSE_S)

    @staticmethod
    def _requested_wait(command: str, args: tuple, named: dict) -> float:
        waited = sum(int(named.get(key) or 0) for key in WAIT_KEYS) / MS_PER_S
        if command == "sleep" and args:
            waited += int(args[0]) / MS_PER_S
        if command == "key":
            waited *= max(1, len(args))
        return waited

    @staticmethod
    def _read_answers(stream, answers: queue.Queue) -> None:
        for line in stream:
            answers.put(line)
        answers.put(None)

    def _abandon(self) -> None:
        process, self._process = self._process, None
        if process and process.poll() is None:
            process.kill()
            process.wait()
