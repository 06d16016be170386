"""The separate-edit window's text in a program folder that refuses it, and characters GBK lacks."""

from __future__ import annotations

import getpass
import os
import shutil
from pathlib import Path

from e2elib import ProgramDir, wait_for_equal, wait_until
from e2elib.tmpfs import fill, make_read_only, tmpfs
from mainwindow import IDOK, MainWindow
from separate_edit import BACKUP_FILE, IDYES, SeparateEdit, contents, gbk, wait_for_contents
from test_pictures import PICTURE_BOX, colours_in, screenshot_pixels

EXE_NAME = f"墨舟{os.getpid()}.exe"
TEXT = "墨舟 kept 乗丂\r\n第二行"
USER_FOLDER = Path(os.environ.get("WINEPREFIX", "")) / "drive_c/users" / getpass.getuser() / "AppData/Local/墨舟"


def save_clear_and_append(separate: SeparateEdit, text: str, backup: Path, saved: bytes) -> None:
    separate.edit_box.set_text(text)
    for item in ("保存", "全部删除", "加入打印备份"):
        separate.choose(item)
        wait_for_contents(backup, saved)
    wait_for_equal(lambda: separate.text, text)


def test_a_full_program_folder_fails_saves_aloud_a_read_only_one_leaves_them_to_the_user(launch, program_exe_path, tmp_path):
    shutil.rmtree(USER_FOLDER, ignore_errors=True)
    with tmpfs() as mount:
        directory = ProgramDir(EXE_NAME, source=program_exe_path, base=mount)
        directory.file(BACKUP_FILE).write_bytes(gbk("旧的备份"))
        fill(mount)
        app = launch(directory)
        separate = SeparateEdit.open(MainWindow(app))
        separate.edit_box.set_text(TEXT)
        separate.ask_to_close().press(IDYES)
        failure = wait_until(lambda: [b for b in app.message_boxes() if b.text.startswith("保存失败：") and b.text[5:]])
        failure[0].press(IDOK)  # it gave the system's reason
        assert separate.text == TEXT and contents(directory.file(BACKUP_FILE)) == gbk("旧的备份")
        libraries = [p.name for p in program_exe_path.parent.glob("*.dll")]  # copied with the program
        assert sorted(p.name for p in directory.path.iterdir()) == sorted([EXE_NAME, BACKUP_FILE, *libraries])
        app.driver.call("send", app.main_window, 0x16, 1, 0)  # WM_ENDSESSION: the text goes to the user's folder
        assert contents(USER_FOLDER / BACKUP_FILE) == TEXT.encode("gbk")
        app.kill()

        make_read_only(mount)
        app = launch(directory)
        wait_until((USER_FOLDER / "打印机图").exists, message="the background picture in the user's folder")
        save_clear_and_append(SeparateEdit.open(MainWindow(app)), TEXT, USER_FOLDER / BACKUP_FILE, TEXT.encode("gbk"))
        app.kill()
        main = MainWindow(launch(directory))
        assert len(colours_in(screenshot_pixels(main, main.by_id(PICTURE_BOX), tmp_path / "box.bmp")[2])) > 200
        main.app.kill()
    shutil.rmtree(USER_FOLDER)


def test_characters_gbk_cannot_hold_are_saved_as_utf8_and_read_back(launch):
    separate = SeparateEdit.open(MainWindow(launch(exe_name=EXE_NAME)))
    text = "表情 😀 한글 𠀀\r\n末行"
    save_clear_and_append(separate, text, separate.backup, b"\xef\xbb\xbf" + text.encode("utf-8"))
