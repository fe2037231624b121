"""Message boxes and windows on a real X server: a message box (its one
button reading "确定" when Qt's Chinese catalogue is installed) dismissed with
Enter, with Space and with the mouse, and Esc closing each window.

Each case starts from a fresh program."""

import os

from desktop_session import Session, expect, main, run_table, wait_until
import main_window as mw

MESSAGE_CAPTION = "信息："
MISSING_DIAMETER = "请输入圆的直径"
FORMULA_TITLE, ABOUT_TITLE = "运算公式", "关于"


def ok_words():
    """The message box's button: Qt's own word, in Chinese when its catalogue
    is installed."""
    catalogue = "/usr/share/qt6/translations/qtbase_zh_CN.qm"
    return "确定" if os.path.exists(catalogue) else "OK"


def body(program):
    with Session(program) as s:
        def main_frame():
            return s.frame(mw.TITLE)

        def show_message():
            s.click_control(mw.find(s, "圆计算"))
            box = s.wait_frame(MESSAGE_CAPTION)
            s.wait_window(MESSAGE_CAPTION)
            texts = [a.name for a in s._walk(box) if s.has_role(a, "label") and a.name]
            assert texts == [MISSING_DIAMETER], f"message texts {texts}"
            buttons = [a.name for a in s._walk(box) if s.has_role(a, "push button")]
            assert buttons == [ok_words()], f"buttons {buttons}"
            # Task-modal: the main window takes no click and no key meanwhile.
            diameter = mw.find(s, "圆直径编辑框")
            s.click_control(diameter)
            s.type_text("5", settle=0.3)
            assert s.text(diameter) == "", "the main window took input under the box"
            assert s.windows(MESSAGE_CAPTION), "the box went away"
            return box

        def dismissed():
            s.window_gone(MESSAGE_CAPTION, 5)
            # The window takes input again.
            box = mw.find(s, "圆直径编辑框")
            s.click_control(box)
            s.type_text("7")
            expect(lambda: s.text(box), "7", "typing after the box")

        def by_key(key):
            def run():
                show_message()
                s.key(key)
                dismissed()
            return run

        def by_mouse():
            show_message()
            button = s.control(ok_words(), within=MESSAGE_CAPTION, role="push button")
            s.click_control(button)
            dismissed()

        def open_from_menu(item):
            s.click_control(s.control("帮助", role="menu item"))
            s.click_control(wait_until(lambda: (s.controls(item, role="menu item") or [None])[0],
                                       5, what=f"menu item {item}"))

        def escape_main():
            frame = main_frame()
            x, y, w, h = s.extents(frame)
            s.click(x + w - 20, y + h - 20)  # the empty area: gives the window the focus
            s.key("Escape")
            code = s.wait_program_end(10)
            assert code == 0, f"exit code {code}"

        def escape_formula():
            open_from_menu("查看运算公式")
            s.wait_window(FORMULA_TITLE)
            s.wait_frame(FORMULA_TITLE)
            s.key("Escape")
            s.window_gone(FORMULA_TITLE, 5)
            assert s.windows(mw.TITLE), "the main window closed too"
            assert s.program_process.poll() is None, "the program ended"

        def escape_about():
            open_from_menu("关于")
            s.wait_window(ABOUT_TITLE)
            expect(lambda: s.is_enabled(main_frame()), False, "main window disabled by About")
            s.key("Escape")
            s.window_gone(ABOUT_TITLE, 5)
            expect(lambda: s.is_enabled(main_frame()), True, "main window enabled again")

        cases = [
            ("message box: Enter dismisses it", by_key("Return")),
            ("message box: Space dismisses it", by_key("space")),
            ("message box: a click on the button dismisses it", by_mouse),
            ("Esc closes the formula window only", escape_formula),
            ("Esc closes the About window and enables the main window", escape_about),
            ("Esc closes the main window and ends the program with 0", escape_main),
        ]

        return run_table("windows", cases, lambda case: case[1](), s.restart_program)


if __name__ == "__main__":
    main(body)
