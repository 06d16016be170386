import json
from mainwindow import MainWindow, choose_text_printing, paste_text, start_printing


def test_capture_paging(app, paper):
    main = MainWindow(app)
    choose_text_printing(main)
    out = {}
    numbered = "\n".join(f"line {n:03d}" for n in range(1, 301))
    big = "\n".join(f"{n:05d}" + "x" * 80 for n in range(1, 12001))
    for name, text, cpl in (("n20", numbered, 20), ("n98", numbered, 98), ("big98", big, 98)):
        paste_text(main, text)
        start_printing(main, cpl)
        printed = paper.printed(timeout=900)
        status = main.status_message()
        out[name] = {"status": status, "pages": printed.pages,
                     "first": [p[0] if p else "" for p in printed.page_lines()],
                     "counts": [len(p) for p in printed.page_lines()]}
        paper.clear()
        open("/tmp/capture/paging.json", "w").write(json.dumps(out, ensure_ascii=False))
    open("/tmp/capture/paging.json", "w").write(json.dumps(out, ensure_ascii=False))
