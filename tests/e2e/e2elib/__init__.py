"""End-to-end test kit: drives Windows programs under wine from outside, as a user would."""

from .driver import Driver, DriverError, DriverGone, DriverTimeout
from .gui import (MessageBox, Rect, Window, captions, find_window, find_windows, wait_for_equal,
                  wait_until)
from .paper import Paper, PrintedPdf, Raster
from .paths import exe_required, program_exe, temp_base, windows_path
from .program import App, ProgramDir

__all__ = [
    "App", "Driver", "DriverError", "DriverGone", "DriverTimeout", "MessageBox", "Paper", "PrintedPdf", "ProgramDir",
    "Raster", "Rect", "Window",
    "captions", "exe_required", "find_window", "find_windows", "program_exe", "temp_base", "wait_for_equal",
    "wait_until", "windows_path",
]
