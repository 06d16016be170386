"""How patient the waits are. On a busy machine (a build beside the tests on two cores) Wine runs
several times slower; waits that only bound how long a failure takes to show are multiplied by
MOZHOU_E2E_SLOWDOWN (default 3). Waits that measure the program's own timing are not."""

from __future__ import annotations

import os

DEFAULT_SLOWDOWN = 3.0


def slowdown() -> float:
    try:
        return max(1.0, float(os.environ.get("MOZHOU_E2E_SLOWDOWN", DEFAULT_SLOWDOWN)))
    except ValueError:
        return DEFAULT_SLOWDOWN


def patient(seconds: float) -> float:
    """A bound for something that takes longer when the machine is busy."""
    return seconds * slowdown()
