"""Serves a signed manifest announcing a newer version on the tests' update server (127.0.0.1) until
it is ended, for bench_update_check."""

import signal
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))
from e2elib.update_server import UpdateServer, manifest_xml  # noqa: E402

server = UpdateServer().start()
server.publish(manifest_xml("3.3", address=server.url("/下载/墨舟3.3.zip"), sha256="ab" * 32, size=1024))
signal.sigwait({signal.SIGTERM, signal.SIGINT})
server.stop()
