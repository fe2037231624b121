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

QString NameOf(std::string_view identifier) {
  return QString::fromUtf8(identifier.data(), static_cast<qsizetype>(identifier.size()));
}

// The window definition: group boxes and their controls, each control at
// client coordinates of its group box.
enum class Kind { Label, Edit, Radio, Button };

struct ControlDefinition {
  Kind kind;
  const char* name;
  QPoint place;
  QSize size;
  const char16_t* text;
  EditInputMode mode = EditInputMode::DoubleNumber;
  bool selected = false;
};

struct GroupDefinition {
  const char* name;
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

ControlDefinition Radio(const char* name, int x, int y, const char16_t* text, bool selected = false,
                        QSize size = kRadioSize) {
  return {Kind::Radio, name, {x, y}, size, text, kNumber, selected};
}
ControlDefinition WideRadio(const char* name, int x, int y, bool selected = false) {
  return Radio(name, x, y, u"表面积", selected, kWideRadioSize);
}
ControlDefinition Button(const char* name, int x, int y, QSize size = kButtonSize) {
  return {Kind::Button, name, {x, y}, size, u"计算"};
}
ControlDefinition Label(const char* name, int x, int y, const char16_t* text) {
  return {Kind::Label, name, {x, y}, kLabelSize, text};
}
ControlDefinition Edit(const char* name, int x, int y, EditInputMode mode, const char16_t* text = u"") {
  return {Kind::Edit, name, {x, y}, kEditSize, text, mode};
}

const GroupDefinition kGroups[] = {
    {"分组框1", u"圆的周长面积", QRect(24, 16, 208, 144),
     {Radio("圆周长", 8, 24, u"周长", true), Radio("圆面积", 72, 24, u"面积"),
      Button("圆计算", 128, 24), Label("圆周率小数点", 8, 56, u"小数点后位数"),
      Edit("圆周率小数点编辑框", 88, 56, kInteger, u"2"), Label("圆直径", 8, 80, u"圆 的 直 径"),
      Edit("圆直径编辑框", 88, 80, kNumber), Label("圆计算结果", 8, 104, u"计 算 结 果"),
      Edit("圆计算结果编辑框", 88, 104, kResult)}},
    {"分组框2", u"矩形的**、长方体、正方体的**", QRect(24, 170, 208, 192),
     {Radio("矩形周长", 12, 22, u"周长", true), Radio("矩形面积", 76, 24, u"面积"),
      WideRadio("矩形表面积", 140, 24), Radio("矩形体积", 12, 46, u"体积"),
      Button("矩形计算", 76, 48, kWideButtonSize), Label("圆周率小数点10", 12, 78, u"矩 形 长"),
      Edit("矩形长", 92, 80, kNumber), Label("圆周率小数点1", 12, 102, u"矩 形 宽"),
      Edit("矩形宽", 92, 104, kNumber), Label("圆直径1", 12, 126, u"矩 形 高"),
      Edit("矩形高", 92, 126, kNumber, u"1"), Label("圆计算结果1", 12, 150, u"计算结果"),
      Edit("矩形计算结果", 92, 150, kResult)}},
    {"分组框3", u"三角形的周长面积", QRect(24, 376, 208, 144),
     {Radio("三角形周长", 12, 24, u"周长", true), Radio("三角形面积", 76, 24, u"面积"),
      Button("三角型计算", 132, 24), Label("圆周率小数点2", 12, 56, u"三角形底"),
      Edit("三角形底", 92, 56, kNumber), Label("圆直径2", 12, 80, u"三角形高"),
      Edit("三角形高", 92, 80, kNumber), Label("圆计算结果2", 12, 104, u"计算结果"),
      Edit("三角形计算结果", 92, 104, kResult)}},
    {"分组框4", u"平行四边形的周长面积", QRect(248, 16, 208, 144),
     {Radio("平行四边形周长", 12, 24, u"周长", true), Radio("平行四边形面积", 76, 24, u"面积"),
      Button("三角型计算1", 132, 24), Label("圆周率小数点3", 12, 56, u"平行四边形底"),
      Edit("平行四边形底", 92, 56, kNumber), Label("圆直径3", 12, 80, u"平行四边形高"),
      Edit("平行四边形高", 92, 80, kNumber), Label("圆计算结果3", 12, 104, u"计 算 结 果"),
      Edit("平行四边形计算结果", 92, 104, kResult)}},
    {"分组框5", u"梯形的周长面积", QRect(248, 172, 208, 168),
     {Radio("梯形周长", 12, 24, u"周长", true), Radio("梯形面积", 76, 24, u"面积"),
      Button("三角型计算2", 132, 24), Label("圆周率小数点4", 12, 56, u"梯形上底"),
      Edit("梯形上底", 92, 56, kNumber), Label("圆直径4", 12, 80, u"梯形下底"),
      Edit("梯形下底", 92, 80, kNumber), Label("圆直径5", 12, 104, u"梯 形 高"),
      Edit("梯形高", 92, 104, kNumber), Label("圆计算结果4", 12, 128, u"计算结果"),
      Edit("梯形计算结果", 92, 128, kResult)}},
    {"分组框6", u"圆柱的表面积体积", QRect(248, 352, 208, 168),
     {WideRadio("圆柱表面积", 12, 24, true), Radio("圆柱体积", 76, 24, u"体积"),
      Button("三角型计算3", 132, 24), Label("圆周率小数点8", 12, 56, u"小数点后位数"),
      Edit("圆周率小数点编辑框2", 92, 56, kInteger, u"2"),
      Label("圆周率小数点5", 12, 80, u"圆柱底面半径"), Edit("圆柱底面半径", 92, 80, kNumber),
      Label("圆直径7", 12, 104, u"圆   柱   高"), Edit("圆柱高", 92, 104, kNumber),
      Label("圆计算结果5", 12, 128, u"计 算 结 果"), Edit("圆柱计算结果", 92, 128, kResult)}},
    {"分组框7", u"圆锥的表面积体积", QRect(464, 16, 208, 168),
     {WideRadio("圆锥表面积", 12, 24, true), Radio("圆锥体积", 76, 24, u"体积"),
      Button("三角型计算4", 132, 24), Label("圆周率小数点9", 12, 56, u"小数点后位数"),
      Edit("圆周率小数点编辑框3", 92, 56, kInteger, u"2"),
      Label("圆周率小数点6", 12, 80, u"圆锥底面半径"), Edit("圆锥底", 92, 80, kNumber),
      Label("圆直径9", 12, 104, u"圆   锥   高"), Edit("圆锥高", 92, 104, kNumber),
      Label("圆计算结果6", 12, 128, u"计 算 结 果"), Edit("圆锥计算结果", 92, 128, kResult)}},
    {"分组框8", u"球的表面积体积", QRect(464, 194, 208, 144),
     {WideRadio("三角形周长5", 12, 24, true), Radio("三角形面积5", 76, 24, u"体积"),
      Button("三角型计算5", 132, 24), Label("圆周率小数点7", 12, 56, u"小数点后位数"),
      Edit("圆周率小数点编辑框1", 92, 56, kInteger, u"2"), Label("圆直径6", 12, 80, u"球 的 直 径"),
      Edit("圆直径编辑框1", 92, 80, kNumber), Label("圆计算结果7", 12, 104, u"计 算 结 果"),
      Edit("三角形计算结果5", 92, 104, kResult)}},
};

// The fixed order of Tab; every radio button is a stop of its own.
constexpr const char* kTabSequence[] = {
    "圆计算结果编辑框", "圆直径编辑框", "圆周率小数点编辑框", "圆计算", "圆面积", "圆周长",
    "矩形计算结果", "矩形高", "矩形宽", "矩形计算", "矩形面积", "矩形周长",
    "三角形计算结果", "三角形高", "三角形底", "三角型计算", "三角形面积", "三角形周长",
    "平行四边形计算结果", "平行四边形高", "平行四边形底", "三角型计算1", "平行四边形面积",
    "平行四边形周长", "梯形计算结果", "梯形下底", "梯形上底", "三角型计算2", "梯形面积",
    "梯形周长", "梯形高", "圆柱计算结果", "圆柱高", "圆柱底面半径", "三角型计算3", "圆柱体积",
    "圆柱表面积", "圆锥计算结果", "圆锥高", "圆锥底", "三角型计算4", "圆锥体积", "圆锥表面积",
    "三角形计算结果5", "三角型计算5", "三角形面积5", "三角形周长5", "圆直径编辑框1",
    "圆周率小数点编辑框1", "圆周率小数点编辑框2", "圆周率小数点编辑框3", "矩形体积", "矩形长",
    "矩形表面积",
};

const QString kDiameterTooltip =
    QStringLiteral("圆周长公式=直径*π\r\n圆面积公式=π*(半径的平方)\r\n圆的半径=直径/2");
// The height stays 1 for a perimeter or an area; a volume needs the real one.
const QString kHeightTooltip = QStringLiteral("计算周长和面积时此项直接填1就可以了");

// FormAccess on the window: names are the identifiers (UTF-8), texts GBK.
class WindowForm final : public FormAccess {
 public:
  explicit WindowForm(const MainWindow& window) : window_(window) {}

  std::string ReadText(std::string_view control) override {
    auto* box = qobject_cast<EditBox*>(window_.Control(control));
    return box != nullptr ? ToGbk(box->text()) : std::string();
  }

  void WriteText(std::string_view control, std::string_view text) override {
    if (auto* box = qobject_cast<EditBox*>(window_.Control(control))) box->ReplaceText(FromGbk(text));
  }

  bool IsSelected(std::string_view control) override {
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

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), form_(std::make_unique<WindowForm>(*this)) {
  setObjectName(QStringLiteral("MainWindow"));
  BuildMenu();
  client_ = new QWidget(this);
  setCentralWidget(client_);
  BuildGroups();
  WireEvents();

  QList<QWidget*> sequence;
  for (const char* name : kTabSequence) sequence.append(Control(name));
  new KeyboardNavigation(this, sequence);
}

MainWindow::~MainWindow() = default;

FormAccess& MainWindow::Form() { return *form_; }

QWidget* MainWindow::Control(std::string_view name) const { return controls_.value(NameOf(name)); }

void MainWindow::BuildMenu() {
  // No shortcut keys, hence no "&" in the texts.
  QMenu* help = menuBar()->addMenu(QStringLiteral("帮助"));
  help->setObjectName(QStringLiteral("帮助"));
  QAction* formulas = help->addAction(QStringLiteral("查看运算公式"));
  QAction* about = help->addAction(QStringLiteral("关于"));
  formulas->setObjectName(QStringLiteral("查看运算公式"));
  about->setObjectName(QStringLiteral("关于"));
  connect(formulas, &QAction::triggered, this, [] { OpenWindow(WindowDefinition::FormulaWindow, false); });
  connect(about, &QAction::triggered, this, [] { OpenWindow(WindowDefinition::AboutWindow, true); });
}

void MainWindow::BuildGroups() {
  for (const GroupDefinition& group : kGroups) {
    auto* box = new QGroupBox(QString::fromUtf16(group.title), client_);
    box->setObjectName(QString::fromUtf8(group.name));
    box->setGeometry(group.place);
    box->setAlignment(Qt::AlignLeft);
    controls_.insert(box->objectName(), box);
    QString lastLabel;
    for (const ControlDefinition& c : group.controls) {
      const QString name = QString::fromUtf8(c.name);
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
          edit->ReplaceText(text);
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
  connect(static_cast<QPushButton*>(Control(button)), &QPushButton::clicked, this,
          [this, calculate] { calculate(*form_); });
}

void MainWindow::WireRadio(std::string_view radio, void (MainWindow::*effect)()) {
  connect(static_cast<QRadioButton*>(Control(radio)), &QRadioButton::clicked, this,
          [this, effect] { (this->*effect)(); });
}

void MainWindow::WireEvents() {
  WireCalculator("圆计算", [](FormAccess& f) { CalculateCircle(f); });
  WireCalculator("矩形计算", [](FormAccess& f) { CalculateRectangle(f); });
  WireCalculator("三角型计算", [](FormAccess& f) { CalculateTriangle(f); });
  WireCalculator("三角型计算1", [](FormAccess& f) { CalculateParallelogram(f); });
  WireCalculator("三角型计算2", [](FormAccess& f) { CalculateTrapezoid(f); });
  WireCalculator("三角型计算3", [](FormAccess& f) { CalculateCylinder(f); });
  WireCalculator("三角型计算4", [](FormAccess& f) { CalculateCone(f); });
  WireCalculator("三角型计算5", [](FormAccess& f) { CalculateSphere(f); });

  WireRadio("圆周长", &MainWindow::ClearCircleBoxes);
  WireRadio("圆面积", &MainWindow::ClearCircleBoxes);
  WireRadio("矩形周长", &MainWindow::ResetRectangleHeight);
  WireRadio("矩形面积", &MainWindow::ResetRectangleHeight);
  WireRadio("矩形体积", &MainWindow::ClearRectangleHeight);
}

void MainWindow::ClearCircleBoxes() {
  form_->WriteText("圆直径编辑框", "");
  form_->WriteText("圆计算结果编辑框", "");
}

void MainWindow::ResetRectangleHeight() { form_->WriteText("矩形高", IntToText(1)); }

void MainWindow::ClearRectangleHeight() { form_->WriteText("矩形高", ""); }

void OnMainWindowCreated(MainWindow& window) {
  SetVisualStyle(kProgramSkinScheme);
  TheGlobalState().PiText = kPiText;
  AttachTooltip(window.Control("圆直径编辑框"), kDiameterTooltip, TooltipShape::Balloon,
                TooltipPlacement::AtPointer);
  AttachTooltip(window.Control("矩形高"), kHeightTooltip, TooltipShape::Balloon,
                TooltipPlacement::AtPointer);
}

}  // namespace velquist
