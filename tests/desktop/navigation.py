"""Tab, Shift+Tab, the arrows on radio buttons, Space and Enter, on a real
keyboard: what moves the focus, what selects and what clicks.

Each case starts from a fresh program, so that no selection or focus is left
from another."""

from desktop_session import Session, expect, main, run_table
import main_window as mw

# name, control clicked first, what is typed into it first (None: nothing),
# keys, the control focused afterwards, {edit box: text} and radio buttons
# selected afterwards
CASES = [
    ("Tab to the next control", "圆计算结果编辑框", None, ["Tab"], "圆直径编辑框", {}, []),
    ("Shift+Tab wraps to the last", "圆计算结果编辑框", None, ["shift+Tab"], "矩形表面积", {}, []),
    ("Tab rewrites the box it leaves and wraps", "矩形长", "007.50", ["Tab", "Tab"],
     "圆计算结果编辑框", {"矩形长": "7.5"}, []),
    ("Right selects the next radio button", "圆周长", None, ["Right"], "圆面积", {}, ["圆面积"]),
    ("Left selects the previous one", "圆面积", None, ["Left"], "圆周长", {}, ["圆周长"]),
    ("Down runs the reached button's click", "矩形周长", None, ["Down"], "矩形体积",
     {"矩形高": ""}, ["矩形体积"]),
    ("Up wraps within the group", "矩形面积", None, ["Up"], "矩形表面积", {"矩形高": "1"},
     ["矩形表面积"]),
    ("Space on a button clicks it", "圆直径编辑框", "10", ["Tab", "Tab", "space"], "圆计算",
     {"圆计算结果编辑框": "31.4"}, []),
    ("Enter on a button does nothing", "圆直径编辑框", "10", ["Tab", "Tab", "Return"], "圆计算",
     {"圆计算结果编辑框": ""}, []),
    ("Space on a radio button selects it", "圆直径编辑框", "10",
     ["Tab", "Tab", "Tab", "space"], "圆面积", {"圆直径编辑框": ""}, ["圆面积"]),
]


def body(program):
    with Session(program) as s:
        def run(case):
            _, start, typed, keys, focused, texts, selected = case
            s.click_control(mw.find(s, start))
            if typed is not None:
                s.type_text(typed)
            s.key(*keys, settle=0.3)
            target = mw.find(s, focused)
            expect(lambda: s.is_focused(target), True, f"focus on {focused}")
            for identifier, text in texts.items():
                box = mw.find(s, identifier)
                expect(lambda: s.text(box), text, identifier)
            for identifier in selected:
                group = mw.CONTROLS[identifier][0]
                chosen = [r for r in mw.RADIOS if mw.CONTROLS[r][0] == group
                          and s.is_checked(mw.find(s, r))]
                expect(lambda: chosen, [identifier], f"selected in {group}")

        return run_table("navigation", CASES, run, reset=s.restart_program)


if __name__ == "__main__":
    main(body)
