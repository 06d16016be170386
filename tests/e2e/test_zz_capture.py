from mainwindow import MainWindow, choose_text_printing, paste_text
from test_print_preview import open_preview
import subprocess


def test_capture_preview(app, paper):
    main = MainWindow(app)
    choose_text_printing(main)
    paste_text(main, "\n".join(f"line {n:03d} 墨舟打印预览 text" for n in range(1, 301)))
    preview, count = open_preview(main, 40)
    subprocess.run(["import", "-window", "root", "/tmp/capture/preview.png"], check=True)
    preview.control("100%").click()
    subprocess.run(["import", "-window", "root", "/tmp/capture/preview100.png"], check=True)
    preview.press_keys("Escape")
