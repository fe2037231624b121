"""The main window's controls as the desktop tests address them.

The program's own identifiers (圆直径编辑框) are not visible from outside; an
edit box is announced by the label beside it and a button or radio button by
its text, inside its group box. This table maps each identifier to that
(group box, accessible name, role) and to the edit box's input rule.
"""

TITLE = "Velquist（双击窗口空白处查看运算公式）"

CIRCLE = "圆的周长面积"
RECTANGLE = "矩形的**、长方体、正方体的**"
TRIANGLE = "三角形的周长面积"
PARALLELOGRAM = "平行四边形的周长面积"
TRAPEZOID = "梯形的周长面积"
CYLINDER = "圆柱的表面积体积"
CONE = "圆锥的表面积体积"
SPHERE = "球的表面积体积"

EDIT, RADIO, BUTTON = "text", "radio button", "push button"
NUMBER, INTEGER, RESULT = "number", "integer", "result"

# identifier: (group box, accessible name, role, rule of an edit box)
CONTROLS = {
    "圆周长": (CIRCLE, "周长", RADIO, None),
    "圆面积": (CIRCLE, "面积", RADIO, None),
    "圆计算": (CIRCLE, "计算", BUTTON, None),
    "圆周率小数点编辑框": (CIRCLE, "小数点后位数", EDIT, INTEGER),
    "圆直径编辑框": (CIRCLE, "圆 的 直 径", EDIT, NUMBER),
    "圆计算结果编辑框": (CIRCLE, "计 算 结 果", EDIT, RESULT),
    "矩形周长": (RECTANGLE, "周长", RADIO, None),
    "矩形面积": (RECTANGLE, "面积", RADIO, None),
    "矩形表面积": (RECTANGLE, "表面积", RADIO, None),
    "矩形体积": (RECTANGLE, "体积", RADIO, None),
    "矩形计算": (RECTANGLE, "计算", BUTTON, None),
    "矩形长": (RECTANGLE, "矩 形 长", EDIT, NUMBER),
    "矩形宽": (RECTANGLE, "矩 形 宽", EDIT, NUMBER),
    "矩形高": (RECTANGLE, "矩 形 高", EDIT, NUMBER),
    "矩形计算结果": (RECTANGLE, "计算结果", EDIT, RESULT),
    "三角形周长": (TRIANGLE, "周长", RADIO, None),
    "三角形面积": (TRIANGLE, "面积", RADIO, None),
    "三角型计算": (TRIANGLE, "计算", BUTTON, None),
    "三角形底": (TRIANGLE, "三角形底", EDIT, NUMBER),
    "三角形高": (TRIANGLE, "三角形高", EDIT, NUMBER),
    "三角形计算结果": (TRIANGLE, "计算结果", EDIT, RESULT),
    "平行四边形周长": (PARALLELOGRAM, "周长", RADIO, None),
    "平行四边形面积": (PARALLELOGRAM, "面积", RADIO, None),
    "三角型计算1": (PARALLELOGRAM, "计算", BUTTON, None),
    "平行四边形底": (PARALLELOGRAM, "平行四边形底", EDIT, NUMBER),
    "平行四边形高": (PARALLELOGRAM, "平行四边形高", EDIT, NUMBER),
    "平行四边形计算结果": (PARALLELOGRAM, "计 算 结 果", EDIT, RESULT),
    "梯形周长": (TRAPEZOID, "周长", RADIO, None),
    "梯形面积": (TRAPEZOID, "面积", RADIO, None),
    "三角型计算2": (TRAPEZOID, "计算", BUTTON, None),
    "梯形上底": (TRAPEZOID, "梯形上底", EDIT, NUMBER),
    "梯形下底": (TRAPEZOID, "梯形下底", EDIT, NUMBER),
    "梯形高": (TRAPEZOID, "梯 形 高", EDIT, NUMBER),
    "梯形计算结果": (TRAPEZOID, "计算结果", EDIT, RESULT),
    "圆柱表面积": (CYLINDER, "表面积", RADIO, None),
    "圆柱体积": (CYLINDER, "体积", RADIO, None),
    "三角型计算3": (CYLINDER, "计算", BUTTON, None),
    "圆周率小数点编辑框2": (CYLINDER, "小数点后位数", EDIT, INTEGER),
    "圆柱底面半径": (CYLINDER, "圆柱底面半径", EDIT, NUMBER),
    "圆柱高": (CYLINDER, "圆   柱   高", EDIT, NUMBER),
    "圆柱计算结果": (CYLINDER, "计 算 结 果", EDIT, RESULT),
    "圆锥表面积": (CONE, "表面积", RADIO, None),
    "圆锥体积": (CONE, "体积", RADIO, None),
    "三角型计算4": (CONE, "计算", BUTTON, None),
    "圆周率小数点编辑框3": (CONE, "小数点后位数", EDIT, INTEGER),
    "圆锥底": (CONE, "圆锥底面半径", EDIT, NUMBER),
    "圆锥高": (CONE, "圆   锥   高", EDIT, NUMBER),
    "圆锥计算结果": (CONE, "计 算 结 果", EDIT, RESULT),
    "三角形周长5": (SPHERE, "表面积", RADIO, None),
    "三角形面积5": (SPHERE, "体积", RADIO, None),
    "三角型计算5": (SPHERE, "计算", BUTTON, None),
    "圆周率小数点编辑框1": (SPHERE, "小数点后位数", EDIT, INTEGER),
    "圆直径编辑框1": (SPHERE, "球 的 直 径", EDIT, NUMBER),
    "三角形计算结果5": (SPHERE, "计 算 结 果", EDIT, RESULT),
}

EDIT_BOXES = [k for k, v in CONTROLS.items() if v[2] == EDIT]
RADIOS = [k for k, v in CONTROLS.items() if v[2] == RADIO]
BUTTONS = [k for k, v in CONTROLS.items() if v[2] == BUTTON]

# What the boxes and radio buttons hold when the window opens.
INITIAL_TEXTS = {k: "" for k in EDIT_BOXES}
INITIAL_TEXTS.update({"矩形高": "1", "圆周率小数点编辑框": "2", "圆周率小数点编辑框1": "2",
                      "圆周率小数点编辑框2": "2", "圆周率小数点编辑框3": "2"})
INITIALLY_SELECTED = {"圆周长", "矩形周长", "三角形周长", "平行四边形周长", "梯形周长",
                      "圆柱表面积", "圆锥表面积", "三角形周长5"}


def rule(identifier):
    return CONTROLS[identifier][3]


def find(session, identifier):
    """The control with that identifier in the running program."""
    group, name, role, _ = CONTROLS[identifier]
    return session.control(name, within=group, role=role)
