#include "app/main_window.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/edit_box.h"
#include "app/gbk_codec.h"
#include "app/keyboard_navigation.h"
#include "app/messages.h"
#include "app/skin.h"
#include "app/window_opening.h"
#include "core/calculators.h"
#include "core/global_state.h"
#include "core/numeric_text.h"
#include "core/pi_text.h"

namespace velquist {
namespace {

// The window definition: group boxes and their controls, each control at
// client coordinates of its group box.
enum class Kind { Label, Edit, Radio, Button };

struct ControlDefinition {
  Kind kind;
  std::string_view name;
  QPoint place;
  QSize size;
  const char16_t* text;
  EditInputMode mode = EditInputMode::DoubleNumber;
  bool selected = false;
};

struct GroupDefinition {
  std::string_view name;
  const char16_t* title;
  QRect place;
  std::vector<ControlDefinition> controls;
};

constexpr EditInputMode kNumber = EditInputMode::DoubleNumber;
constexpr EditInputMode kInteger = EditInputMode::IntegerText;
constexpr EditInputMode kResult = EditInputMode::ReadOnly;

constexpr QSize kLabelSize(72, 20);
constexpr QSize kEditSize(104, 20);
constexpr QSize kRadioSize(48, 24);
constexpr QSize kWideRadioSize(60, 24);
constexpr QSize kButtonSize(64, 24);
constexpr QSize kWideButtonSize(124, 24);

ControlDefinition Radio(std::string_view name, int x, int y, const char16_t* text,
                        bool selected = false, QSize size = kRadioSize) {
  return {Kind::Radio, name, {x, y}, size, text, kNumber, selected};
}
ControlDefinition WideRadio(std::string_view name, int x, int y, bool selected = false) {
  return Radio(name, x, y, u"表面积", selected, kWideRadioSize);
}
ControlDefinition Button(std::string_view name, int x, int y, QSize size = kButtonSize) {
  return {Kind::Button, name, {x, y}, size, u"计算"};
}
ControlDefinition Label(std::string_view name, int x, int y, const char16_t* text) {
  return {Kind::Label, name, {x, y}, kLabelSize, text};
}
ControlDefinition Edit(std::string_view name, int x, int y, EditInputMode mode,
                       const char16_t* text = u"") {
  return {Kind::Edit, name, {x, y}, kEditSize, text, mode};
}

// clang-format off
const GroupDefinition kGroups[] = {
    {control::分组框1, u"圆的周长面积", QRect(24, 16, 208, 144),
     {Radio(control::圆周长, 8, 24, u"周长", true), Radio(control::圆面积, 72, 24, u"面积"),
      Button(control::圆计算, 128, 24), Label("圆周率小数点", 8, 56, u"小数点后位数"),
      Edit(control::圆周率小数点编辑框, 88, 56, kInteger, u"2"), Label("圆直径", 8, 80, u"圆 的 直 径"),
      Edit(control::圆直径编辑框, 88, 80, kNumber), Label("圆计算结果", 8, 104, u"计 算 结 果"),
      Edit(control::圆计算结果编辑框, 88, 104, kResult)}},
    {control::分组框2, u"矩形的**、长方体、正方体的**", QRect(24, 170, 208, 192),
     {Radio(control::矩形周长, 12, 22, u"周长", true), Radio(control::矩形面积, 76, 24, u"面积"),
      WideRadio(control::矩形表面积, 140, 24), Radio(control::矩形体积, 12, 46, u"体积"),
      Button(control::矩形计算, 76, 48, kWideButtonSize), Label("圆周率小数点10", 12, 78, u"矩 形 长"),
      Edit(control::矩形长, 92, 80, kNumber), Label("圆周率小数点1", 12, 102, u"矩 形 宽"),
      Edit(control::矩形宽, 92, 104, kNumber), Label("圆直径1", 12, 126, u"矩 形 高"),
      Edit(control::矩形高, 92, 126, kNumber, u"1"), Label("圆计算结果1", 12, 150, u"计算结果"),
      Edit(control::矩形计算结果, 92, 150, kResult)}},
    {control::分组框3, u"三角形的周长面积", QRect(24, 376, 208, 144),
     {Radio(control::三角形周长, 12, 24, u"周长", true), Radio(control::三角形面积, 76, 24, u"面积"),
      Button(control::三角型计算, 132, 24), Label("圆周率小数点2", 12, 56, u"三角形底"),
      Edit(control::三角形底, 92, 56, kNumber), Label("圆直径2", 12, 80, u"三角形高"),
      Edit(control::三角形高, 92, 80, kNumber), Label("圆计算结果2", 12, 104, u"计算结果"),
      Edit(control::三角形计算结果, 92, 104, kResult)}},
    {control::分组框4, u"平行四边形的周长面积", QRect(248, 16, 208, 144),
     {Radio(control::平行四边形周长, 12, 24, u"周长", true), Radio(control::平行四边形面积, 76, 24, u"面积"),
      Button(control::三角型计算1, 132, 24), Label("圆周率小数点3", 12, 56, u"平行四边形底"),
      Edit(control::平行四边形底, 92, 56, kNumber), Label("圆直径3", 12, 80, u"平行四边形高"),
      Edit(control::平行四边形高, 92, 80, kNumber), Label("圆计算结果3", 12, 104, u"计 算 结 果"),
      Edit(control::平行四边形计算结果, 92, 104, kResult)}},
    {control::分组框5, u"梯形的周长面积", QRect(248, 172, 208, 168),
     {Radio(control::梯形周长, 12, 24, u"周长", true), Radio(control::梯形面积, 76, 24, u"面积"),
      Button(control::三角型计算2, 132, 24), Label("圆周率小数点4", 12, 56, u"梯形上底"),
      Edit(control::梯形上底, 92, 56, kNumber), Label("圆直径4", 12, 80, u"梯形下底"),
      Edit(control::梯形下底, 92, 80, kNumber), Label("圆直径5", 12, 104, u"梯 形 高"),
      Edit(control::梯形高, 92, 104, kNumber), Label("圆计算结果4", 12, 128, u"计算结果"),
      Edit(control::梯形计算结果, 92, 128, kResult)}},
    {control::分组框6, u"圆柱的表面积体积", QRect(248, 352, 208, 168),
     {WideRadio(control::圆柱表面积, 12, 24, true), Radio(control::圆柱体积, 76, 24, u"体积"),
      Button(control::三角型计算3, 132, 24), Label("圆周率小数点8", 12, 56, u"小数点后位数"),
      Edit(control::圆周率小数点编辑框2, 92, 56, kInteger, u"2"),
      Label("圆周率小数点5", 12, 80, u"圆柱底面半径"), Edit(control::圆柱底面半径, 92, 80, kNumber),
      Label("圆直径7", 12, 104, u"圆   柱   高"), Edit(control::圆柱高, 92, 104, kNumber),
      Label("圆计算结果5", 12, 128, u"计 算 结 果"), Edit(control::圆柱计算结果, 92, 128, kResult)}},
    {control::分组框7, u"圆锥的表面积体积", QRect(464, 16, 208, 168),
     {WideRadio(control::圆锥表面积, 12, 24, true), Radio(control::圆锥体积, 76, 24, u"体积"),
      Button(control::三角型计算4, 132, 24), Label("圆周率小数点9", 12, 56, u"小数点后位数"),
      Edit(control::圆周率小数点编辑框3, 92, 56, kInteger, u"2"),
      Label("圆周率小数点6", 12, 80, u"圆锥底面半径"), Edit(control::圆锥底, 92, 80, kNumber),
      Label("圆直径9", 12, 104, u"圆   锥   高"), Edit(control::圆锥高, 92, 104, kNumber),
      Label("圆计算结果6", 12, 128, u"计 算 结 果"), Edit(control::圆锥计算结果, 92, 128, kResult)}},
    {control::分组框8, u"球的表面积体积", QRect(464, 194, 208, 144),
     {WideRadio(control::三角形周长5, 12, 24, true), Radio(control::三角形面积5, 76, 24, u"体积"),
      Button(control::三角型计算5, 132, 24), Label("圆周率小数点7", 12, 56, u"小数点后位数"),
      Edit(control::圆周率小数点编辑框1, 92, 56, kInteger, u"2"), Label("圆直径6", 12, 80, u"球 的 直 径"),
      Edit(control::圆直径编辑框1, 92, 80, kNumber), Label("圆计算结果7", 12, 104, u"计 算 结 果"),
      Edit(control::三角形计算结果5, 92, 104, kResult)}},
};
// clang-format on

// The fixed order of Tab; every radio button is a stop of its own.
// clang-format off
constexpr std::string_view kTabSequence[] = {
    control::圆计算结果编辑框, control::圆直径编辑框, control::圆周率小数点编辑框, control::圆计算, control::圆面积, control::圆周长,
    control::矩形计算结果, control::矩形高, control::矩形宽, control::矩形计算, control::矩形面积, control::矩形周长,
    control::三角形计算结果, control::三角形高, control::三角形底, control::三角型计算, control::三角形面积, control::三角形周长,
    control::平行四边形计算结果, control::平行四边形高, control::平行四边形底, control::三角型计算1, control::平行四边形面积,
    control::平行四边形周长, control::梯形计算结果, control::梯形下底, control::梯形上底, control::三角型计算2, control::梯形面积,
    control::梯形周长, control::梯形高, control::圆柱计算结果, control::圆柱高, control::圆柱底面半径, control::三角型计算3, control::圆柱体积,
    control::圆柱表面积, control::圆锥计算结果, control::圆锥高, control::圆锥底, control::三角型计算4, control::圆锥体积, control::圆锥表面积,
    control::三角形计算结果5, control::三角型计算5, control::三角形面积5, control::三角形周长5, control::圆直径编辑框1,
    control::圆周率小数点编辑框1, control::圆周率小数点编辑框2, control::圆周率小数点编辑框3, control::矩形体积, control::矩形长,
    control::矩形表面积,
};
// clang-format on

const QString kDiameterTooltip =
    QStringLiteral("圆周长公式=直径*π\r\n圆面积公式=π*(半径的平方)\r\n圆的半径=直径/2");
// The height stays 1 for a perimeter or an area; a volume needs the real one.
const QString kHeightTooltip = QStringLiteral("计算周长和面积时此项直接填1就可以了");

// FormAccess on the window: names are the identifiers (UTF-8), texts GBK.
class WindowForm final : public FormAccess {
 public:
  explicit WindowForm(const MainWindow& window) : window_(window) {}

  std::string ReadText(std::string_view control) override {
    return ToGbk(window_.Control<EditBox>(control)->text());
  }

  void WriteText(std::string_view control, std::string_view text) override {
    window_.Control<EditBox>(control)->ReplaceText(FromGbk(text));
  }

  bool IsSelected(std::string_view control) override {
    // Any other control is never the selected radio button.
    auto* radio = qobject_cast<QRadioButton*>(window_.Control(control));
    return radio != nullptr && radio->isChecked();
  }

  ButtonCode ShowMessage(std::string_view text, std::int32_t style,
                         std::optional<std::string_view> title) override {
    std::optional<QString> caption;
    if (title) caption = FromGbk(*title);
    return velquist::ShowMessage(FromGbk(text), style, caption);
  }

 private:
  const MainWindow& window_;
};

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), form_(std::make_unique<WindowForm>(*this)) {
  setObjectName(QStringLiteral("MainWindow"));
  BuildMenu();
  client_ = new QWidget(this);
  setCentralWidget(client_);
  BuildGroups();
  WireEvents();

  QList<QWidget*> sequence;
  for (std::string_view name : kTabSequence) sequence.append(Control(name));
  new KeyboardNavigation(this, sequence);
}

MainWindow::~MainWindow() = default;

QString ObjectNameOf(std::string_view name) {
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

FormAccess& MainWindow::Form() { return *form_; }

QWidget* MainWindow::FindControl(std::string_view name) const {
  return controls_.value(ObjectNameOf(name));
}

void MainWindow::FailLookup(std::string_view name, const char* wanted) const {
  const QWidget* found = FindControl(name);
  qFatal("main window: no %s named \"%s\"%s%s", wanted, qPrintable(ObjectNameOf(name)),
         found != nullptr ? ", it is a " : "",
         found != nullptr ? found->metaObject()->className() : "");
}

void MainWindow::BuildMenu() {
  // No shortcut keys, hence no "&" in the texts.
  QMenu* help = menuBar()->addMenu(QStringLiteral("帮助"));
  help->setObjectName(QStringLiteral("帮助"));
  QAction* formulas = help->addAction(QStringLiteral("查看运算公式"));
  QAction* about = help->addAction(QStringLiteral("关于"));
  formulas->setObjectName(QStringLiteral("查看运算公式"));
  about->setObjectName(QStringLiteral("关于"));
  connect(formulas, &QAction::triggered, this,
          [] { OpenWindow(WindowDefinition::FormulaWindow, false); });
  connect(about, &QAction::triggered, this,
          [] { OpenWindow(WindowDefinition::AboutWindow, true); });
}

void MainWindow::BuildGroups() {
  for (const GroupDefinition& group : kGroups) {
    auto* box = new QGroupBox(QString::fromUtf16(group.title), client_);
    box->setObjectName(ObjectNameOf(group.name));
    box->setGeometry(group.place);
    box->setAlignment(Qt::AlignLeft);
    controls_.insert(box->objectName(), box);
    QString lastLabel;
    for (const ControlDefinition& c : group.controls) {
      const QString name = ObjectNameOf(c.name);
      const QString text = QString::fromUtf16(c.text);
      QWidget* control = nullptr;
      switch (c.kind) {
        case Kind::Label: {
          auto* label = new QLabel(text, box);
          label->setTextFormat(Qt::PlainText);
          label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
          lastLabel = text;
          control = label;
          break;
        }
        case Kind::Edit: {
          auto* edit = new EditBox(c.mode, box);
          // A new box is empty; each change of its text is also an event for
          // screen readers, whose interface Qt builds for it even when none
          // is listening.
          if (!text.isEmpty()) edit->ReplaceText(text);
          // A screen reader announces the box by the label beside it.
          edit->setAccessibleName(lastLabel);
          QSize size = c.size;
          const int edge = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
          size.setHeight(std::max(size.height(), edit->fontMetrics().height() + 2 * edge));
          edit->resize(size);
          control = edit;
          break;
        }
        case Kind::Radio: {
          auto* radio = new QRadioButton(text, box);
          radio->setChecked(c.selected);
          control = radio;
          break;
        }
        case Kind::Button: {
          auto* button = new QPushButton(text, box);
          button->setAutoDefault(false);
          button->setDefault(false);
          control = button;
          break;
        }
      }
      control->setObjectName(name);
      if (c.kind != Kind::Edit) control->resize(c.size);
      control->move(c.place);
      controls_.insert(name, control);
    }
  }
}

void MainWindow::WireCalculator(std::string_view button, void (*calculate)(FormAccess&)) {
  connect(Control<QPushButton>(button), &QPushButton::clicked, this,
          [this, calculate] { calculate(*form_); });
}

void MainWindow::WireRadio(std::string_view radio, void (MainWindow::*effect)()) {
  connect(Control<QRadioButton>(radio), &QRadioButton::clicked, this,
          [this, effect] { (this->*effect)(); });
}

void MainWindow::WireEvents() {
  WireCalculator(control::圆计算, [](FormAccess& f) { CalculateCircle(f); });
  WireCalculator(control::矩形计算, [](FormAccess& f) { CalculateRectangle(f); });
  WireCalculator(control::三角型计算, [](FormAccess& f) { CalculateTriangle(f); });
  WireCalculator(control::三角型计算1, [](FormAccess& f) { CalculateParallelogram(f); });
  WireCalculator(control::三角型计算2, [](FormAccess& f) { CalculateTrapezoid(f); });
  WireCalculator(control::三角型计算3, [](FormAccess& f) { CalculateCylinder(f); });
  WireCalculator(control::三角型计算4, [](FormAccess& f) { CalculateCone(f); });
  WireCalculator(control::三角型计算5, [](FormAccess& f) { CalculateSphere(f); });

  WireRadio(control::圆周长, &MainWindow::ClearCircleBoxes);
  WireRadio(control::圆面积, &MainWindow::ClearCircleBoxes);
  WireRadio(control::矩形周长, &MainWindow::ResetRectangleHeight);
  WireRadio(control::矩形面积, &MainWindow::ResetRectangleHeight);
  WireRadio(control::矩形体积, &MainWindow::ClearRectangleHeight);
}

void MainWindow::ClearCircleBoxes() {
  form_->WriteText(control::圆直径编辑框, "");
  form_->WriteText(control::圆计算结果编辑框, "");
}

void MainWindow::ResetRectangleHeight() { form_->WriteText(control::矩形高, IntToText(1)); }

void MainWindow::ClearRectangleHeight() { form_->WriteText(control::矩形高, ""); }

void OnMainWindowCreated(MainWindow& window) {
  SetVisualStyle(kProgramSkinScheme);
  TheGlobalState().PiText = kPiText;
  AttachTooltip(window.Control<EditBox>(control::圆直径编辑框), kDiameterTooltip,
                TooltipShape::Balloon, TooltipPlacement::AtPointer);
  AttachTooltip(window.Control<EditBox>(control::矩形高), kHeightTooltip, TooltipShape::Balloon,
                TooltipPlacement::AtPointer);
}

}  // namespace velquist
