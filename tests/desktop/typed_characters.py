"""Characters each input rule accepts and refuses, typed on the main keyboard
and on the keypad with Num Lock on and off, as the X server translates them.

Each row types refused keys between accepted ones and ends on an accepted
one, so the final text shows every key was handled, in order."""

from desktop_session import Session, expect, main, run_table
import main_window as mw

NUMBER, INTEGER, RESULT = "圆直径编辑框", "圆周率小数点编辑框", "圆计算结果编辑框"

MAIN_KEYS = ["a", "1", "plus", "2", "e", "3", "minus", "space", "4", "period", "comma", "5",
             "E", "6", "7", "8", "9", "0"]
# The keypad's own keys, named by what they are with Num Lock off; with it on
# the server turns them into 1-9, 0 and the decimal point.
KEYPAD = ["KP_End", "KP_Down", "KP_Next", "KP_Left", "KP_Begin", "KP_Right", "KP_Home", "KP_Up",
          "KP_Prior", "KP_Insert", "KP_Delete", "KP_Subtract", "KP_Add", "KP_Multiply",
          "KP_Divide", "KP_End"]
# With Num Lock off: move right twice, Delete, to the end, "-", to the start,
# keys without a number character, "-".
KEYPAD_OFF = ["KP_Right", "KP_Right", "KP_Delete", "KP_End", "KP_Subtract", "KP_Home", "KP_Begin",
              "KP_Add", "KP_Multiply", "KP_Divide", "KP_Subtract"]

# name, box, Num Lock, starting text, keys, text afterwards
CASES = [
    ("number box, main keyboard", NUMBER, False, "", MAIN_KEYS, "123-4.567890"),
    ("decimal-places box, main keyboard", INTEGER, False, "", MAIN_KEYS, "123-4567890"),
    ("number box, keypad, Num Lock on", NUMBER, True, "", KEYPAD, "1234567890.-1"),
    ("decimal-places box, keypad, Num Lock on", INTEGER, True, "", KEYPAD, "1234567890-1"),
    ("number box, keypad, Num Lock off", NUMBER, False, "12345", KEYPAD_OFF, "-1245-"),
    ("decimal-places box, keypad, Num Lock off", INTEGER, False, "12345", KEYPAD_OFF, "-1245-"),
    # Nothing to end on here: the read-only box must simply stay as it is.
    ("result box, main keyboard and keypad", RESULT, True, "", ["1", "minus", "KP_End", "period"],
     ""),
]


def body(program):
    with Session(program) as s:
        def run(case):
            _, identifier, numlock, text, keys, after = case
            s.numlock(numlock)
            box = mw.find(s, identifier)
            s.click_control(box)
            if identifier != RESULT:
                s.key("ctrl+a", "BackSpace", settle=0)
                if text:
                    s.type_text(text, settle=0)
                s.key("Home", settle=0)
            expect(lambda: (s.text(box), s.caret(box)), (text, 0), "setting up")
            s.key(*keys, settle=0.3)
            expect(lambda: s.text(box), after, "text")

        return run_table("typed characters", CASES, run)


if __name__ == "__main__":
    main(body)
