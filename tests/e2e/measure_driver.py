"""Prints how long the driver takes to start under wine and to answer one command."""

from __future__ import annotations

import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from e2elib import Driver, temp_base  # noqa: E402

ROUND_TRIPS = 200


def average_seconds(driver: Driver, *command) -> float:
    began = time.monotonic()
    for _ in range(ROUND_TRIPS):
        driver.call(*command)
    return (time.monotonic() - began) / ROUND_TRIPS


def main() -> None:
    with Driver(log_path=temp_base() / "driver-stderr.log") as driver:
        print(f"driver start (wine {driver.hello['wine']}, code page {driver.hello['acp']}): "
              f"{driver.startup_seconds * 1000:.0f} ms")
        print(f"round trip, hello: {average_seconds(driver, 'hello') * 1000:.2f} ms")
        print(f"round trip, list top-level windows: {average_seconds(driver, 'windows') * 1000:.2f} ms")


if __name__ == "__main__":
    main()
