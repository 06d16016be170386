"""The update server of the test build: HTTP on 127.0.0.1 at the port the test build asks, serving
what a case puts on it, signed with the tests' throwaway key (the test build accepts only that key)."""

from __future__ import annotations

import hashlib
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from xml.sax.saxutils import quoteattr

from cryptography.hazmat.primitives.asymmetric.ed25519 import Ed25519PrivateKey

TEST_UPDATE_PORT = 47613
MANIFEST_PATH = "/墨舟.xml"
SIGNATURE_PATH = "/墨舟.xml.sig"
# The secret half of the key the test build trusts. It signs nothing outside the tests.
_TEST_SEED = bytes.fromhex("55019bd0f6e038b8d95b18940781fa0e0717cff7fbb456ac4bf6aff6f8b76407")


def sign(data: bytes) -> bytes:
    return Ed25519PrivateKey.from_private_bytes(_TEST_SEED).sign(data)


def manifest_xml(version: str = "3.3", notes: str = "修正若干问题", address: str = "", title: str = "墨舟 3.3",
                 file_name: str = "墨舟3.3.zip", sha256: str | None = None, size: int | str | None = None,
                 encoding: str = "utf-8") -> bytes:
    attributes = {"版本号": version, "升级说明": notes, "下载地址": address, "文件标题": title, "文件名": file_name}
    if sha256 is not None:
        attributes["sha256"] = sha256
    if size is not None:
        attributes["size"] = str(size)
    written = " ".join(f"{name}={quoteattr(value)}" for name, value in attributes.items())
    text = f'<?xml version="1.0" encoding="{encoding}"?>\n<最新版本>\n  <版本信息 {written}/>\n</最新版本>\n'
    return text.encode(encoding)


class _Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    server: "_Server"

    def do_GET(self) -> None:  # noqa: N802 (http.server's name)
        path = urllib.parse.unquote(urllib.parse.urlsplit(self.path).path)
        owner = self.server.owner
        owner.requests.append(path)
        behaviour = owner.behaviours.get(path)
        if behaviour == "silent":
            owner.stopping.wait()
            return
        if behaviour == "endless":
            self.send_response(200)
            self.send_header("Content-Type", "application/octet-stream")
            self.end_headers()
            piece = b"<" * 4096
            try:
                while not owner.stopping.is_set():
                    self.wfile.write(piece)
            except OSError:
                pass
            return
        body = owner.files.get(path)
        if body is None:
            self.send_error(404)
            return
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        try:
            self.wfile.write(body)
        except OSError:
            pass

    def log_message(self, *args) -> None:
        pass


class _Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True
    owner: "UpdateServer"


class UpdateServer:
    """Serves files by path ("/墨舟.xml", unquoted); a path may instead stay silent or send an endless body."""

    def __init__(self, port: int = TEST_UPDATE_PORT):
        self.port = port
        self.files: dict[str, bytes] = {}
        self.behaviours: dict[str, str] = {}
        self.requests: list[str] = []
        self.stopping = threading.Event()
        self._server: _Server | None = None
        self._thread: threading.Thread | None = None

    def start(self) -> "UpdateServer":
        deadline = time.monotonic() + 10
        while True:  # a server of the case before may still hold the port for a moment
            try:
                self._server = _Server(("127.0.0.1", self.port), _Handler)
                break
            except OSError:
                if time.monotonic() > deadline:
                    raise
                time.sleep(0.2)
        self._server.owner = self
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)
        self._thread.start()
        return self

    def stop(self) -> None:
        self.stopping.set()
        if self._server is not None:
            self._server.shutdown()
            self._server.server_close()
            self._server = None

    def url(self, path: str) -> str:
        return f"http://127.0.0.1:{self.port}{urllib.parse.quote(path)}"

    def put(self, path: str, body: bytes) -> None:
        self.behaviours.pop(path, None)
        self.files[path] = body

    def silent(self, path: str) -> None:
        self.behaviours[path] = "silent"

    def endless(self, path: str) -> None:
        self.behaviours[path] = "endless"

    def publish(self, manifest: bytes, signature: bytes | None = None) -> None:
        """The manifest and, unless given otherwise, its valid signature."""
        self.put(MANIFEST_PATH, manifest)
        self.put(SIGNATURE_PATH, sign(manifest) if signature is None else signature)

    def publish_release(self, payload: bytes, version: str = "3.3", notes: str = "修正若干问题",
                        title: str = "墨舟 3.3 完整版", file_name: str = "墨舟3.3.zip",
                        path: str = "/下载/墨舟3.3.zip", served: bytes | None = None) -> dict[str, str]:
        """A signed manifest announcing payload (its SHA-256 and size) at path; the server sends served
        instead when given (a tampered download). Returns the manifest's attributes."""
        address = self.url(path)
        self.put(path, payload if served is None else served)
        self.publish(manifest_xml(version, notes, address, title, file_name,
                                  hashlib.sha256(payload).hexdigest(), len(payload)))
        return {"版本号": version, "升级说明": notes, "下载地址": address, "文件标题": title, "文件名": file_name}
