"""Editing keys in the edit boxes, pressed on a real keyboard (XTEST).

X11 gives Delete and Shift+Delete the text U+007F and BackSpace U+0008, which
no offscreen key event carries; each row here is one key that way."""

from desktop_session import Session, expect, main, run_table
import main_window as mw

NUMBER_BOX = "圆直径编辑框"
OTHER_BOX = "矩形长"
INTEGER_BOX = "圆周率小数点编辑框"

# name, box, starting text, caret, keys, expected text, expected selection,
# and what pasting into the other box must give afterwards (None: not tried)
CASES = [
    ("Delete", NUMBER_BOX, "12345", 2, ["Delete"], "1245", "", None),
    ("Delete over a selection", NUMBER_BOX, "12345", 1,
     ["shift+Right", "shift+Right", "Delete"], "145", "", None),
    ("Delete in a decimal-places box", INTEGER_BOX, "25", 0, ["Delete"], "5", "", None),
    ("BackSpace", NUMBER_BOX, "12345", 2, ["BackSpace"], "1345", "", None),
    ("Home", NUMBER_BOX, "12345", 3, ["Home", "9"], "912345", "", None),
    ("End", NUMBER_BOX, "12345", 1, ["End", "9"], "123459", "", None),
    ("Shift+Left", NUMBER_BOX, "12345", 5, ["shift+Left", "shift+Left"], "12345", "45", None),
    ("Shift+Right", NUMBER_BOX, "12345", 0, ["shift+Right"], "12345", "1", None),
    ("Ctrl+A", NUMBER_BOX, "12345", 2, ["ctrl+a", "7"], "7", "", None),
    ("Ctrl+C then Ctrl+V into another box", NUMBER_BOX, "12345", 0,
     ["shift+End", "ctrl+c"], "12345", "12345", "12345"),
    ("Ctrl+X", NUMBER_BOX, "12345", 1, ["shift+Right", "shift+Right", "ctrl+x"], "145", "", "23"),
    ("Ctrl+Z", NUMBER_BOX, "12345", 5, ["9", "ctrl+z"], "12345", None, None),
    ("Shift+Delete", NUMBER_BOX, "12345", 0, ["shift+End", "shift+Delete"], "", "", "12345"),
    ("Shift+Insert", NUMBER_BOX, "12345", 0,
     ["shift+Right", "ctrl+c", "End", "shift+Insert"], "123451", "", None),
]


def put(s, identifier, text, caret):
    """Gives the box the focus, the text and the caret, and checks them."""
    box = mw.find(s, identifier)
    s.click_control(box)
    s.key("ctrl+a")
    if text:
        s.type_text(text)
    else:
        s.key("BackSpace")
    s.key("Home", *["Right"] * caret)
    expect(lambda: (s.text(box), s.caret(box)), (text, caret), f"setting up {identifier}")
    return box


def body(program):
    with Session(program) as s:
        def reset():
            put(s, OTHER_BOX, "", 0)

        def run(case):
            _, identifier, text, caret, keys, after, selected, pasted = case
            box = put(s, identifier, text, caret)
            s.key(*keys)
            expect(lambda: s.text(box), after, "text")
            if selected is not None:
                expect(lambda: s.selection(box), selected, "selection")
            if pasted is not None:
                other = mw.find(s, OTHER_BOX)
                s.click_control(other)
                s.key("ctrl+v")
                expect(lambda: s.text(other), pasted, "pasted into the other box")

        return run_table("editing keys", CASES, run, reset)


if __name__ == "__main__":
    main(body)
