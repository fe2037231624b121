"""The program's windows under a window manager (openbox on Xvfb), read back
through what the window manager itself says about them (its frame extents,
stacking list and active window, and the EWMH properties it sets).

- each window's outer frame (frame included) has its definition's size and
  is centred on the screen;
- About and a message box are transient for the main window, a window the
  user sees, are dialogs, and are modal;
- neither can be maximised, and the Motif functions offer neither minimise
  nor maximise; openbox still lists minimise for every dialog (it ignores
  those two Motif bits on purpose), so the case that matters is checked: a
  minimised box takes its main window along, and both come back together;
- a click on the main window while a box is up leaves the box on top and
  with the focus;
- "查看运算公式" brings the open formula window forward from behind the main
  window and activates it.

Each case starts from a fresh program."""

import re
import shutil
import subprocess
import sys

from desktop_session import Session, expect, main, run_table, wait_until
import main_window as mw

SCREEN = (1024, 768)
MESSAGE_CAPTION = "信息："
FORMULA_TITLE, ABOUT_TITLE = "运算公式", "关于"
OUTER_SIZES = {mw.TITLE: (721, 590), FORMULA_TITLE: (414, 440), ABOUT_TITLE: (210, 180)}

# _MOTIF_WM_HINTS: flags, functions, decorations, ...
MWM_HINTS_FUNCTIONS = 0x1
MWM_FUNC_ALL, MWM_FUNC_MINIMIZE, MWM_FUNC_MAXIMIZE = 0x1, 0x8, 0x10


def centred(size):
    return ((SCREEN[0] - size[0]) // 2, (SCREEN[1] - size[1]) // 2)


def window_ids(text):
    """The window ids in a property value as xprop prints it."""
    return [int(h, 16) for h in re.findall(r"0x[0-9a-fA-F]+", text or "")]


def body(program):
    with Session(program, window_manager=["openbox", "--sm-disable"]) as s:

        def xwininfo(window):
            out = subprocess.run(["xwininfo", "-id", str(window)], env=s.env,
                                 capture_output=True, text=True).stdout

            def field(name):
                m = re.search(rf"{name}:\s+(-?\d+)", out)
                return int(m.group(1)) if m else None
            state = re.search(r"Map State:\s+(\w+)", out)
            return {"x": field("Absolute upper-left X"), "y": field("Absolute upper-left Y"),
                    "width": field("Width"), "height": field("Height"),
                    "map_state": state.group(1) if state else None}

        def outer_frame(window):
            """Left, top, width, height of the window with the frame openbox
            puts around it."""
            extents = s.xprop(window, "_NET_FRAME_EXTENTS")
            if extents is None:
                return None
            left, right, top, bottom = (int(v) for v in extents.split(","))
            g = xwininfo(window)
            return (g["x"] - left, g["y"] - top, g["width"] + left + right,
                    g["height"] + top + bottom)

        def stacking():
            """The managed windows from bottom to top."""
            return window_ids(subprocess.run(
                ["xprop", "-root", "_NET_CLIENT_LIST_STACKING"], env=s.env,
                capture_output=True, text=True).stdout.split("=", 1)[-1])

        def active():
            ids = window_ids(subprocess.run(["xprop", "-root", "_NET_ACTIVE_WINDOW"], env=s.env,
                                            capture_output=True, text=True).stdout)
            return ids[0] if ids else None

        def wm_state(window):
            m = re.search(r"window state:\s+(\w+)", s.xprop(window, "WM_STATE") or "")
            return m.group(1) if m else None

        def main_window():
            return s.wait_window(mw.TITLE)

        def open_from_menu(item):
            s.click_control(s.control("帮助", role="menu item"))
            s.click_control(wait_until(lambda: (s.controls(item, role="menu item") or [None])[0],
                                       5, what=f"menu item {item}"))

        def open_about():
            open_from_menu("关于")
            return s.wait_window(ABOUT_TITLE)

        def open_message():
            s.click_control(mw.find(s, "圆计算"))
            return s.wait_window(MESSAGE_CAPTION)

        def frames_and_centring():
            main = main_window()
            open_from_menu("查看运算公式")
            formula = s.wait_window(FORMULA_TITLE)
            about = open_about()
            for title, window in ((mw.TITLE, main), (FORMULA_TITLE, formula),
                                  (ABOUT_TITLE, about)):
                size = OUTER_SIZES[title]
                expect(lambda: outer_frame(window), (*centred(size), *size),
                       f'outer frame of "{title}"', timeout=5)

        def held_above_main(open_box):
            def run():
                main = main_window()
                box = open_box()
                parents = window_ids(s.xprop(box, "WM_TRANSIENT_FOR"))
                assert parents == [main], \
                    f"WM_TRANSIENT_FOR {[hex(p) for p in parents]}, main window {hex(main)}"
                assert xwininfo(main)["map_state"] == "IsViewable", "its parent is not shown"
                types = s.xprop(box, "_NET_WM_WINDOW_TYPE") or ""
                assert "_NET_WM_WINDOW_TYPE_DIALOG" in types, f"_NET_WM_WINDOW_TYPE {types}"
                states = s.xprop(box, "_NET_WM_STATE") or ""
                assert "_NET_WM_STATE_MODAL" in states, f"_NET_WM_STATE {states}"
            return run

        def neither_minimise_nor_maximise(open_box, title):
            def run():
                main = main_window()
                box = open_box()
                actions = wait_until(lambda: s.xprop(box, "_NET_WM_ALLOWED_ACTIONS"), 5,
                                     what="_NET_WM_ALLOWED_ACTIONS")
                assert "MAXIMIZE" not in actions, f"_NET_WM_ALLOWED_ACTIONS {actions}"
                hints = [int(v, 16) for v in (s.xprop(box, "_MOTIF_WM_HINTS") or "").split(",")]
                assert hints and hints[0] & MWM_HINTS_FUNCTIONS, f"_MOTIF_WM_HINTS {hints}"
                functions = hints[1]
                assert not functions & MWM_FUNC_ALL, f"Motif functions {functions:#x}: all"
                assert not functions & (MWM_FUNC_MINIMIZE | MWM_FUNC_MAXIMIZE), \
                    f"Motif functions {functions:#x}"
                # Minimised anyway (openbox lets the user), it takes the main
                # window along: nothing is left disabled on the screen without
                # its box, and the main window brings both back.
                s.xdotool("windowminimize", str(box))
                expect(lambda: (wm_state(box), wm_state(main)), ("Iconic", "Iconic"),
                       "box and main window after minimising the box", timeout=5)
                s.xdotool("windowactivate", str(main))
                expect(lambda: (wm_state(box), wm_state(main)), ("Normal", "Normal"),
                       "box and main window after activating the main window", timeout=5)
                expect(lambda: stacking()[-1:], [box], "the top window", timeout=5)
                expect(active, box, "the active window", timeout=5)
                s.key("Escape")
                s.window_gone(title, 5)
            return run

        def click_leaves_box_on_top(open_box, title):
            def run():
                main = main_window()
                box = open_box()
                expect(active, box, "the active window before the click", timeout=5)
                g = xwininfo(main)
                # The main window's empty lower right corner, well away from
                # the box in the middle of the screen.
                s.click(g["x"] + g["width"] - 20, g["y"] + g["height"] - 20, settle=0.5)
                order = stacking()
                assert main in order and box in order, f"stacking {order}"
                assert order.index(box) > order.index(main), \
                    f"the box went below the main window: {[hex(w) for w in order]}"
                expect(active, box, "the active window after the click", timeout=5)
                # The box still has the keyboard focus: Esc closes it.
                s.key("Escape")
                s.window_gone(title, 5)
                assert s.windows(mw.TITLE), "the main window closed too"
            return run

        def formula_brought_forward():
            main = main_window()
            open_from_menu("查看运算公式")
            formula = s.wait_window(FORMULA_TITLE)
            expect(active, formula, "the active window once the formula window opened",
                   timeout=5)
            g = xwininfo(main)
            # The main window's empty lower right corner, beside the formula
            # window in the middle of the screen.
            s.click(g["x"] + g["width"] - 20, g["y"] + g["height"] - 20, settle=0.5)
            expect(lambda: stacking().index(main) > stacking().index(formula), True,
                   "the main window above the formula window after a click on it", timeout=5)
            open_from_menu("查看运算公式")
            expect(lambda: stacking().index(formula) > stacking().index(main), True,
                   "the formula window brought above the main window", timeout=5)
            expect(active, formula, "the active window", timeout=5)
            assert len(s.windows(FORMULA_TITLE)) == 1, "a second formula window"

        cases = [
            ("outer frames of the three windows, centred", frames_and_centring),
            ("About: transient for the main window, a modal dialog", held_above_main(open_about)),
            ("message box: transient for the main window, a modal dialog",
             held_above_main(open_message)),
            ("About: neither maximise nor Motif minimise; minimised with its main window",
             neither_minimise_nor_maximise(open_about, ABOUT_TITLE)),
            ("message box: neither maximise nor Motif minimise; minimised with its main window",
             neither_minimise_nor_maximise(open_message, MESSAGE_CAPTION)),
            ("About stays on top and focused after a click on the main window",
             click_leaves_box_on_top(open_about, ABOUT_TITLE)),
            ("message box stays on top and focused after a click on the main window",
             click_leaves_box_on_top(open_message, MESSAGE_CAPTION)),
            ("查看运算公式 brings the formula window forward from behind the main window",
             formula_brought_forward),
        ]

        return run_table("openbox", cases, lambda case: case[1](), s.restart_program)


if __name__ == "__main__":
    for tool in ("openbox", "xwininfo"):
        if shutil.which(tool) is None:
            print(f"skipped: not installed: {tool}")
            sys.exit(77)
    main(body)
