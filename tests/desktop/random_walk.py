"""A seeded random walk of real key presses and clicks, checked after every
action with the window tests' monkey invariants:

- a message box appears only after a "计算" button, with one of the program's
  own texts and captions ("信息：", or "计算结果" for the notes), and Enter
  dismisses it;
- a result box changes only when its own button is pressed, and then to a
  text in the number text style, or is emptied by the circle's radio buttons;
- a typed character goes in at the caret (over the selection) exactly when
  the box's rule accepts it; Delete and BackSpace remove exactly the selection
  or the character beside the caret;
- a dimension box that loses the focus holds its rewriting; the radio buttons'
  side effects write what they write; every other box keeps its text.

VELQUIST_WALK_SEED and VELQUIST_WALK_ACTIONS choose another walk."""

import math
import os
import random
import re
import time

from desktop_session import Session, main, wait_until
import main_window as mw

SEED = int(os.environ.get("VELQUIST_WALK_SEED", "10"))
ACTIONS = int(os.environ.get("VELQUIST_WALK_ACTIONS", "300"))
HERE = os.path.dirname(os.path.abspath(__file__))

TYPED = {"0": "0", "1": "1", "2": "2", "5": "5", "9": "9", "minus": "-", "period": ".",
         "a": "a", "e": "e", "plus": "+", "space": " "}
# The caret moves back often, so that Delete has something to delete.
EDITING = ["Delete", "Delete", "BackSpace", "Home", "Home", "End", "Left", "Left", "Right",
           "shift+Left", "shift+Right", "ctrl+a", "ctrl+c", "ctrl+v", "ctrl+x", "ctrl+z",
           "shift+Delete", "shift+Insert"]
# Keys that change a box's text in ways this walk does not model (the
# clipboard and the undo history): the box may then hold anything.
UNMODELLED = {"ctrl+v", "ctrl+x", "ctrl+z", "shift+Delete", "shift+Insert"}
CAPTIONS = ("信息：", "计算结果")
RESULT_OF = {"圆计算": "圆计算结果编辑框", "矩形计算": "矩形计算结果", "三角型计算": "三角形计算结果",
             "三角型计算1": "平行四边形计算结果", "三角型计算2": "梯形计算结果",
             "三角型计算3": "圆柱计算结果", "三角型计算4": "圆锥计算结果",
             "三角型计算5": "三角形计算结果5"}
RADIO_WRITES = {"圆周长": {"圆直径编辑框": "", "圆计算结果编辑框": ""},
                "圆面积": {"圆直径编辑框": "", "圆计算结果编辑框": ""},
                "矩形周长": {"矩形高": "1"}, "矩形面积": {"矩形高": "1"}, "矩形体积": {"矩形高": ""}}


def program_messages():
    """The calculators' texts, decoded from the core's table of GBK bytes."""
    source = open(os.path.join(HERE, "..", "..", "core", "message_texts.h"), encoding="utf-8").read()
    texts = set()
    for body in re.findall(r"std::string_view k\w+ =\s*((?:\"[^\"]*\"\s*)+);", source):
        raw = "".join(re.findall(r"\"([^\"]*)\"", body))
        data = re.sub(r"\\x([0-9A-Fa-f]{2})", lambda m: chr(int(m.group(1), 16)), raw)
        texts.add(data.encode("latin-1").decode("gbk"))
    return texts


# --- the number texts, as the program reads and writes them ---------------

NUMBER_RE = re.compile(r"[ \t\n\v\f\r]*([+-]?)(\d+\.?\d*|\.\d+)(?:[eEdD]([+-]?\d+))?")


def parse_number(text):
    m = NUMBER_RE.match(text)
    if not m:
        return 0.0
    sign, mantissa, exponent = m.groups()
    if mantissa == "1." and text[m.end(2):m.end(2) + 4] == "#INF" and exponent is None:
        return -math.inf if sign == "-" else math.inf
    e = int(exponent) if exponent else 0
    e = max(-5201, min(5201, e))
    try:
        value = float(f"{mantissa}e{e}")
    except OverflowError:
        value = math.inf
    return -value if sign == "-" else value


def number_text(v, precision):
    from decimal import Decimal, ROUND_HALF_UP
    if v == 0:
        return "0"
    if math.isinf(v):
        return "-1.#INF" if v < 0 else "1.#INF"
    d = Decimal(abs(v))
    exp = d.adjusted()
    d17 = d.scaleb(-exp).quantize(Decimal("1.0000000000000000"), ROUND_HALF_UP)
    if d17 >= 10:
        exp += 1
        d17 = d17 / 10
    dp = d17.quantize(Decimal(1).scaleb(1 - precision), ROUND_HALF_UP)
    if dp >= 10:
        exp += 1
        dp = dp / 10
    digits = str(dp).replace(".", "")[:precision].ljust(precision, "0")
    if exp < -4 or exp >= precision:
        body = (digits[0] + "." + digits[1:]).rstrip("0").rstrip(".")
        body += "e" + ("+" if exp >= 0 else "-") + f"{abs(exp):03d}"
    elif exp >= 0:
        body = (digits[:exp + 1] + "." + digits[exp + 1:]).rstrip("0").rstrip(".")
    else:
        body = ("0." + "0" * (-exp - 1) + digits).rstrip("0").rstrip(".")
    return ("-" if v < 0 else "") + body


def rewritten(text):
    out = number_text(parse_number(text), 13)
    return "" if out == "0" else out


STYLE_RE = re.compile(r"^-?(?:[1-9]\d{0,5}(?:\.\d*[1-9])?|0\.0{0,3}[1-9]\d*|"
                      r"[1-9](?:\.\d*[1-9])?e[+-]\d{3})$")


def in_number_text_style(text):
    if text in ("1.#INF", "-1.#INF", "1.#QNAN", "0"):
        return True
    digits = re.sub(r"\D", "", text.split("e")[0]).strip("0")
    return bool(STYLE_RE.match(text)) and len(digits) <= 6


def accepts(identifier, ch):
    rule = mw.rule(identifier)
    if rule == mw.NUMBER:
        return ch.isdigit() or ch in "-."
    if rule == mw.INTEGER:
        return ch.isdigit() or ch == "-"
    return False


# --- the walk -----------------------------------------------------------------

def body(program):
    messages = program_messages()
    rng = random.Random(SEED)
    print(f"seed {SEED}, {ACTIONS} actions")
    with Session(program) as s:
        controls = {k: mw.find(s, k) for k in mw.CONTROLS}
        places = {}
        for k, acc in controls.items():
            x, y, w, h = s.extents(acc)
            places[k] = (x + w // 2, y + h // 2)

        likely = []  # where the focus probably is: asked first, since one control has it

        def snapshot():
            texts = {k: s.text(controls[k]) for k in mw.EDIT_BOXES}
            order = [k for k in likely if k in controls] + list(controls)
            focused = next((k for k in order if s.is_focused(controls[k])), None)
            return texts, focused

        def message_frames():
            return [f for f in s._frames() if f.name in CAPTIONS]

        def answer_messages(allowed):
            """Dismisses every box that is up; returns a fault or None."""
            for _ in range(5):
                frames = message_frames()
                if not frames:
                    return None
                if not allowed:
                    return f"a message box appeared: {frames[0].name}"
                frame = frames[0]
                texts = [a.name for a in s._walk(frame) if s.has_role(a, "label") and a.name]
                if len(texts) != 1 or texts[0] not in messages:
                    return f"message {texts} under the caption {frame.name}"
                s.key("Return", settle=0.15)
                wait_until(lambda: frame not in message_frames(), 5, what="the box to close")
                # The main window takes the focus back a moment later.
                try:
                    wait_until(lambda: any(s.is_focused(a) for a in controls.values()), 2)
                except Exception:
                    pass
            return "message boxes kept coming"

        history = []
        texts, focused = snapshot()
        for step in range(ACTIONS):
            box_focused = focused in mw.EDIT_BOXES
            roll = rng.random()
            caret = selection = None
            if box_focused and roll < 0.35:
                key = rng.choice(list(TYPED))
                action = ("type", key)
            elif box_focused and roll < 0.55:
                key = rng.choice(EDITING)
                action = ("edit", key)
            elif roll < 0.75 or focused is None:
                # Keys need a control with the focus to go to.
                action = ("click", rng.choice(list(mw.CONTROLS)))
            elif roll < 0.85:
                action = ("key", rng.choice(["Tab", "shift+Tab"]))
            elif roll < 0.93:
                action = ("key", rng.choice(["Up", "Down", "Left", "Right"]))
            else:
                action = ("key", rng.choice(["space", "space", "Return"]))
            if box_focused and action[0] in ("type", "edit"):
                t = controls[focused].queryText()
                caret = t.caretOffset
                selection = t.getSelection(0) if t.getNSelections() else None
            history.append(f"{step}: {action[0]} {action[1]} (focus {focused})")
            likely[:] = [action[1], focused]

            if action[0] == "click":
                s.click(*places[action[1]], settle=0.12)
            else:
                s.key(action[1], settle=0.12)

            pressed = None  # the button whose click ran
            if action[0] == "click" and action[1] in mw.BUTTONS:
                pressed = action[1]
            elif action == ("key", "space") and focused in mw.BUTTONS:
                pressed = focused
            if pressed:
                time.sleep(0.25)
            fault = answer_messages(pressed is not None)

            state = {}

            def check():
                if fault:
                    return fault
                now, now_focused = state["now"] = snapshot()
                clicked_radio = None
                if action[0] == "click" and action[1] in mw.RADIOS:
                    clicked_radio = action[1]
                elif action == ("key", "space") and focused in mw.RADIOS:
                    clicked_radio = focused
                elif action[0] == "key" and action[1] in ("Up", "Down", "Left", "Right") \
                        and focused in mw.RADIOS and now_focused != focused:
                    clicked_radio = now_focused
                expected = {}
                free = set()
                if focused in mw.EDIT_BOXES and now_focused != focused \
                        and mw.rule(focused) == mw.NUMBER:
                    expected[focused] = rewritten(texts[focused])
                if action[0] in ("type", "edit") and mw.rule(focused) != mw.RESULT:
                    old = texts[focused]
                    start, end = selection if selection else (caret, caret)
                    if action[0] == "type":
                        ch = TYPED[action[1]]
                        expected[focused] = old[:start] + ch + old[end:] if accepts(focused, ch) else old
                    elif action[1] == "Delete":
                        expected[focused] = old[:start] + old[end:] if selection else \
                            old[:caret] + old[caret + 1:]
                    elif action[1] == "BackSpace":
                        expected[focused] = old[:start] + old[end:] if selection else \
                            old[:max(caret - 1, 0)] + old[caret:]
                    elif action[1] in UNMODELLED:
                        free.add(focused)
                expected.update(RADIO_WRITES.get(clicked_radio, {}))
                for k in mw.EDIT_BOXES:
                    if k in free:
                        continue
                    if mw.rule(k) == mw.RESULT and k not in expected and now[k] != texts[k]:
                        if pressed and RESULT_OF[pressed] == k and in_number_text_style(now[k]):
                            continue
                        return f"{k} changed from {texts[k]!r} to {now[k]!r}"
                    want = expected.get(k, texts[k])
                    if now[k] != want:
                        return f"{k} holds {now[k]!r}, expected {want!r}"
                return None

            # The program may lag behind the X server: a fault must last.
            deadline = time.monotonic() + 2.0
            problem = check()
            while problem and time.monotonic() < deadline:
                time.sleep(0.2)
                problem = check()
            if problem:
                print("\n".join(history[-12:]))
                return [f"random walk, seed {SEED}, action {step}: {problem}"]
            texts, focused = state["now"] if "now" in state else snapshot()
        print(f"ok   random walk: {ACTIONS} actions")
        return []


if __name__ == "__main__":
    main(body)
