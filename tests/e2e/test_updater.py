"""The updater "升级文件\\update.exe" of the test build, started as the program starts it: it checks the
signed manifest for itself, installs a ZIP all or nothing, and starts the program again."""

from __future__ import annotations

import io
import subprocess
import zipfile

import pytest

from e2elib import App, ProgramDir, temp_base, wait_until
from e2elib.gui import find_window
from e2elib.timing import patient

CAPTION = "下载管理器"
TOKEN = "接力口令"
NEW_FILE = "资源/说明 新.txt"
UPDATE_WAIT_S = 30.0


@pytest.fixture
def installed(started, test_build, test_updater) -> ProgramDir:
    """The test build of the program and its updater in a directory whose path has a space."""
    directory = ProgramDir(source=test_build, base=temp_base() / "程序 目录")
    started.directories.append(directory)
    (directory.path / "升级文件").mkdir()
    (directory.path / "升级文件" / "update.exe").write_bytes(test_updater.read_bytes())
    return directory


def start_updater(driver, started, directory: ProgramDir, *arguments: str) -> App:
    app = App.launch(driver, directory.windows_path("升级文件\\update.exe"), cwd=directory.windows_path(),
                     args=subprocess.list2cmdline(arguments), main_window={"text": CAPTION})
    started.apps.append(app)
    return app


def release(directory: ProgramDir) -> bytes:
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as archive:
        archive.writestr("墨舟.exe", directory.exe.read_bytes() + b"\0new version")
        archive.writestr(NEW_FILE, "新版本的说明".encode())
    return buffer.getvalue()


def tree(directory: ProgramDir) -> dict[str, bytes]:
    return {str(p.relative_to(directory.path)): p.read_bytes() for p in directory.path.rglob("*") if p.is_file()}


def task(published: dict[str, str]) -> list[str]:
    return [TOKEN, published["下载地址"], published["文件标题"], "运行", "墨舟.exe", published["文件名"],
            *published["升级说明"].split()]


def wait_for_program(driver, directory: ProgramDir, started):
    """The program's main window, started again from the program directory."""
    window = find_window(driver, prefix="墨舟", visible=True, timeout=patient(UPDATE_WAIT_S))
    started.apps.append(App(driver, window.pid, directory))
    return window


def test_a_call_without_the_token_is_refused(driver, started, installed):
    updater = start_updater(driver, started, installed, "口令", "http://127.0.0.1/x", "t", "运行", "墨舟.exe", "f")
    box = updater.message_box(CAPTION)
    assert box.text == "程序调用参数错误！"
    box.press(1)
    updater.wait_exit()


def test_a_signed_zip_replaces_the_files_and_the_program_starts_again(driver, started, installed, update_server):
    payload = release(installed)
    published = update_server.publish_release(payload, notes="修正 打印 问题")
    updater = start_updater(driver, started, installed, *task(published))
    updater.wait_exit(patient(UPDATE_WAIT_S))

    with zipfile.ZipFile(io.BytesIO(payload)) as archive:
        for name in archive.namelist():
            assert installed.file(name).read_bytes() == archive.read(name), name
    assert sorted(p.name for p in (installed.path / "升级文件").iterdir()) == ["update.exe"]
    assert update_server.requests[-1] == "/下载/墨舟3.3.zip"
    wait_for_program(driver, installed, started)


def test_a_tampered_zip_is_refused_and_nothing_changes(driver, started, installed, update_server):
    payload = release(installed)
    tampered = bytearray(payload)
    tampered[len(payload) // 2] ^= 1
    published = update_server.publish_release(payload, served=bytes(tampered))
    before = tree(installed)
    updater = start_updater(driver, started, installed, *task(published))
    box = updater.message_box(CAPTION, timeout=patient(UPDATE_WAIT_S))
    assert "升级未安装" in box.text and "没有任何改动" in box.text
    assert tree(installed) == before
    box.press(1)
    wait_for_program(driver, installed, started)


def test_an_older_signed_version_is_refused_before_anything_is_downloaded(driver, started, installed, update_server):
    published = update_server.publish_release(release(installed), version="3.1")
    before = tree(installed)
    updater = start_updater(driver, started, installed, *task(published))
    box = updater.message_box(CAPTION, timeout=patient(UPDATE_WAIT_S))
    assert "不比已安装的程序新" in box.text and "没有任何改动" in box.text
    assert tree(installed) == before and "/下载/墨舟3.3.zip" not in update_server.requests
    box.press(1)
    wait_for_program(driver, installed, started)


def test_a_replacement_cut_short_is_undone_when_the_program_starts(driver, started, installed):
    folder = installed.path / "升级文件"
    (folder / "backup").mkdir()
    (folder / "temp" / "staging").mkdir(parents=True)
    (installed.path / "说明.txt").write_bytes(b"new")
    (folder / "backup" / "说明.txt").write_bytes(b"old")
    journal = [f"{kind} {installed.windows_path(name)}" for kind, name in
               [("program", ""), ("staging", "升级文件/temp/staging"), ("backup", "升级文件/backup")]]
    journal += ["saved 说明.txt", "placed 说明.txt"]  # the power went before "done"
    (folder / "replacement.journal").write_bytes("".join(line + "\n" for line in journal).encode("utf-16-le"))
    started.apps.append(installed.start(driver))
    assert installed.file("说明.txt").read_bytes() == b"old"
    assert sorted(p.name for p in folder.iterdir()) == ["temp", "update.exe"]


def test_closing_the_window_mid_download_cancels_and_starts_the_old_program(driver, started, installed, update_server):
    published = update_server.publish_release(release(installed))
    update_server.silent("/下载/墨舟3.3.zip")
    before = tree(installed)
    updater = start_updater(driver, started, installed, *task(published))
    assert "请等待下载完成..." in [c.text for c in updater.main_window.controls()]
    wait_until(lambda: "/下载/墨舟3.3.zip" in update_server.requests)
    updater.close()
    assert updater.wait_exit(patient(UPDATE_WAIT_S)) == 0 and not updater.message_boxes()
    wait_for_program(driver, installed, started)
    assert {k: v for k, v in tree(installed).items() if k != "打印机图"} == before
