"""检测升级 in the test build, which asks the tests' update server on 127.0.0.1: what the title and the boxes
say, what lands in "升级文件", and the hand-over to the updater when the user takes a signed, newer version."""

from __future__ import annotations

import shutil
import time

import pytest

from e2elib import App, ProgramDir, find_window, temp_base, wait_for_equal, wait_until
from e2elib.tmpfs import make_read_only, tmpfs
from e2elib.update_server import MANIFEST_PATH, SIGNATURE_PATH, manifest_xml, sign
from mainwindow import TITLE, MainWindow
from separate_edit import BACKUP_FILE, IDNO, IDYES, SAVE_QUESTION, SeparateEdit, gbk
from test_saving import USER_FOLDER

IDOK, IDCANCEL, WM_ENDSESSION = 1, 2, 0x16
# The test build's deadline for one request, and what a box or a title change may take beyond it.
DEADLINE_S, SLACK_S = 6.0, 4.0


@pytest.fixture
def updater(test_updater) -> bytes:
    return test_updater.read_bytes()


@pytest.fixture
def check(driver, started, test_build):
    """check() -> the test build, started in a fresh directory whose path has a space."""

    def start() -> MainWindow:
        directory = ProgramDir(source=test_build, base=temp_base() / "检测 升级")
        started.directories.append(directory)
        app = directory.start(driver)
        started.apps.append(app)
        return MainWindow(app)

    return start


def choose_check(main: MainWindow) -> float:
    main.app.main_window.press_keys("F10", "Down", "Right", "Enter")  # 菜单 > 升级 > 检测升级
    return time.monotonic()


def expect_no_server(main: MainWindow) -> None:
    box = main.app.message_box("提示信息", timeout=DEADLINE_S + SLACK_S)
    assert box.text == "未接通升级服务器" and box.buttons == ["确定"]
    box.wait_gone(timeout=3 + SLACK_S)  # by itself
    wait_for_equal(lambda: main.window.title, TITLE)


def expect_nothing_new(main: MainWindow, since: float) -> None:
    wait_for_equal(lambda: main.window.title, "未检测到新版本", timeout=DEADLINE_S + SLACK_S)
    assert time.monotonic() - since < DEADLINE_S + SLACK_S
    wait_for_equal(lambda: main.window.title, TITLE, timeout=3 + SLACK_S)


def test_without_a_server_a_box_closes_by_itself_and_the_updater_is_written_anew_when_it_differs(check, updater):
    main = check()
    written = main.app.directory.file("升级文件") / "update.exe"
    choose_check(main)
    expect_no_server(main)
    assert written.read_bytes() == updater

    written.write_bytes(b"MZ planted")
    choose_check(main)
    expect_no_server(main)
    assert written.read_bytes() == updater


def test_the_same_version_a_tampered_manifest_and_servers_that_never_finish_offer_nothing(check, update_server):
    main = check()
    update_server.publish(manifest_xml("3.2"))
    expect_nothing_new(main, choose_check(main))
    assert sorted(update_server.requests) == sorted([MANIFEST_PATH, SIGNATURE_PATH])  # asked together

    newer = manifest_xml("3.3", sha256="ab" * 32, size=10)
    update_server.publish(newer.replace(b"3.3", b"3.4"), signature=sign(newer))
    expect_nothing_new(main, choose_check(main))

    update_server.endless(MANIFEST_PATH)
    expect_nothing_new(main, choose_check(main))

    separate = SeparateEdit.open(main)
    separate.type_text("检测中的文字")
    update_server.silent(MANIFEST_PATH)
    since = choose_check(main)
    wait_for_equal(lambda: main.window.title, "检测升级中...")
    asked = time.monotonic()  # a window that waits for the server itself answers nothing for seconds
    main.app.driver.call("send", main.window, WM_ENDSESSION, 1, 0)
    assert time.monotonic() - asked < 2 and separate.backup.read_bytes() == gbk("检测中的文字")
    main.app.message_box("提示信息", timeout=DEADLINE_S + SLACK_S)
    assert time.monotonic() - since < DEADLINE_S + SLACK_S
    expect_no_server(main)


def test_the_offer_shows_the_version_as_written_and_ok_hands_over_after_the_separate_text_is_settled(
        check, update_server, driver, started, updater):
    main = check()
    published = update_server.publish_release(b"release", version="3.30", notes="修正 若干问题",
                                              title="墨舟 3.30 完整版")
    update_server.silent("/下载/墨舟3.3.zip")  # the updater waits for its download meanwhile
    separate = SeparateEdit.open(main)
    separate.edit_box.type_text("未保存的文字")

    def offer():
        choose_check(main)
        box = main.app.message_box("版本升级", timeout=DEADLINE_S + SLACK_S)
        assert box.text == "发现有新版本可以更新！\r\n\r\n版本号：3.30\r\n下载说明：修正 若干问题"
        return box

    offer().press(IDCANCEL)
    wait_for_equal(lambda: main.window.title, TITLE)
    offer().press(IDOK)
    question = main.app.message_box("信息：")
    assert question.text == SAVE_QUESTION
    question.press(IDCANCEL)
    wait_for_equal(lambda: main.window.title, TITLE)
    assert main.app.running

    offer().press(IDOK)
    main.app.message_box("信息：").press(IDYES)
    assert main.app.wait_exit(timeout=30) == 0
    assert main.app.directory.file(BACKUP_FILE).read_bytes() == gbk("未保存的文字")
    assert (main.app.directory.file("升级文件") / "update.exe").read_bytes() == updater
    window = find_window(driver, text="下载管理器", visible=True, timeout=30)
    started.apps.append(App(driver, window.pid))
    wait_until(lambda: any(published["文件标题"] in c.text for c in window.controls()), message="the task's title")


def test_an_updater_that_cannot_start_is_told_and_the_program_keeps_its_separate_text(check, update_server):
    main = check()
    (main.app.directory.file("升级文件") / "update.exe").mkdir(parents=True)
    update_server.publish_release(b"release")
    separate = SeparateEdit.open(main)
    separate.edit_box.type_text("未保存的文字")
    choose_check(main)
    main.app.message_box("版本升级", timeout=DEADLINE_S + SLACK_S).press(IDOK)
    main.app.message_box("信息：").press(IDNO)
    box = main.app.message_box("提示信息")
    assert box.text.startswith("升级程序无法启动：") and len(box.text) > len("升级程序无法启动：")
    box.wait_gone(timeout=3 + SLACK_S)
    wait_for_equal(lambda: main.window.title, TITLE)
    assert main.app.running and separate.text == "未保存的文字"


def test_a_program_folder_that_cannot_be_written_keeps_the_updater_in_the_users_folder_and_installs_nothing(
        launch, test_build, update_server):
    shutil.rmtree(USER_FOLDER, ignore_errors=True)
    with tmpfs() as mount:
        directory = ProgramDir(source=test_build, base=mount)
        make_read_only(mount)
        main = MainWindow(launch(directory))
        update_server.publish_release(b"release")
        choose_check(main)
        main.app.message_box("版本升级", timeout=DEADLINE_S + SLACK_S).press(IDOK)
        box = main.app.message_box("提示信息")
        assert box.text.startswith("程序所在的文件夹无法写入")
        assert (USER_FOLDER / "升级文件" / "update.exe").is_file()
        box.wait_gone(timeout=3 + SLACK_S)
        wait_for_equal(lambda: main.window.title, TITLE)
        assert main.app.running and update_server.requests.count("/下载/墨舟3.3.zip") == 0
        main.app.kill()
    shutil.rmtree(USER_FOLDER)
