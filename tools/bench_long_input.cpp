// How long the main window takes with a very long input: pasting megabytes of
// digits into a box, leaving the box (its rewriting as a number), and pressing
// "计算" while such a text is in it. Each operation is timed alone, from the
// user's action until Qt has painted what the action left to paint, as the
// event loop would next, and the box must be among what was painted; texts
// of 1 and 10 million digits show whether the cost grows with the length
// alone.
//
//   bench_long_input [Google Benchmark options]
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
// Message boxes are answered at once through the message seam.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QTest>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <utility>

#include "app/edit_box.h"
#include "app/main_window.h"
#include "app/messages.h"
#include "app/messages_testing.h"
#include "app/window_opening.h"
#include "app/window_opening_testing.h"
#include "core/global_state.h"

namespace control = velquist::control;

namespace {

velquist::MainWindow* g_window = nullptr;
int g_messages = 0;

// Random digits, `length` characters in all, every one of which is read:
// after "1." for a dimension (an ordinary value), bare for a count of
// decimal places (which TextToInt reads to the end).
QString Digits(qsizetype length, bool fraction) {
  std::mt19937_64 rng(static_cast<std::uint64_t>(length));
  QString text = fraction ? QStringLiteral("1.") : QStringLiteral("1");
  text.reserve(length);
  while (text.size() < length) text += QChar(u'0' + static_cast<int>(rng() % 10));
  return text;
}

const QString& DigitsOnClipboard(qsizetype length, bool fraction = true) {
  static std::map<std::pair<qsizetype, bool>, QString> texts;
  auto it = texts.find({length, fraction});
  if (it == texts.end())
    it = texts.emplace(std::pair{length, fraction}, Digits(length, fraction)).first;
  if (QApplication::clipboard()->text() != it->second)
    QApplication::clipboard()->setText(it->second);
  return it->second;
}

velquist::EditBox* Box(std::string_view name) { return g_window->Control<velquist::EditBox>(name); }

// Counts the paint events of one widget.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) : widget_(widget) { widget_->installEventFilter(this); }
  ~PaintCounter() override { widget_->removeEventFilter(this); }
  int paints() const { return paints_; }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints_;
    return false;
  }

 private:
  QWidget* widget_;
  int paints_ = 0;
};

// Paints what is waiting to be painted, and nothing more: a forced repaint
// would paint a box twice that the program paints once.
void PaintPending() { QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest); }

// Empties the box, gives it the focus and pastes the clipboard into it.
void PasteInto(velquist::EditBox* box) {
  box->ReplaceText(QString());
  box->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
  PaintPending();
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void CheckHolds(benchmark::State& state, velquist::EditBox* box, qsizetype length) {
  if (box->text().size() != length) {
    state.SkipWithError("the box does not hold the whole pasted text");
  }
}

void CheckPainted(benchmark::State& state, const PaintCounter& counter) {
  if (counter.paints() == 0) state.SkipWithError("the box was not painted again");
}

// Paste into the circle's diameter box, which is rewritten on leaving.
void Paste(benchmark::State& state) {
  const auto length = static_cast<qsizetype>(state.range(0));
  DigitsOnClipboard(length);
  velquist::EditBox* box = Box(control::圆直径编辑框);
  for (auto _ : state) {
    box->ReplaceText(QString());
    box->setFocus(Qt::MouseFocusReason);
    PaintPending();
    const PaintCounter painted(box);
    const auto start = std::chrono::steady_clock::now();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    PaintPending();
    state.SetIterationTime(Seconds(start));
    CheckHolds(state, box, length);
    CheckPainted(state, painted);
  }
  state.SetBytesProcessed(state.iterations() * length);
}

// Tab out of the box that holds the pasted digits: the rewriting.
void Leave(benchmark::State& state) {
  const auto length = static_cast<qsizetype>(state.range(0));
  DigitsOnClipboard(length);
  velquist::EditBox* box = Box(control::圆直径编辑框);
  for (auto _ : state) {
    PasteInto(box);
    CheckHolds(state, box, length);
    const PaintCounter painted(box);
    const auto start = std::chrono::steady_clock::now();
    QTest::keyClick(box, Qt::Key_Tab);
    PaintPending();
    state.SetIterationTime(Seconds(start));
    CheckPainted(state, painted);
    if (box->hasFocus() || box->text().size() >= length)
      state.SkipWithError("the box was not left");
  }
  state.SetBytesProcessed(state.iterations() * length);
}

// Click "计算" of the circle while `box` holds the pasted digits: for the
// diameter box that includes its rewriting, for the decimal-places box (never
// rewritten) the calculator reads all of it.
void PressCalculate(benchmark::State& state, std::string_view box_name) {
  const auto length = static_cast<qsizetype>(state.range(0));
  velquist::EditBox* box = Box(box_name);
  const bool places = box == Box(control::圆周率小数点编辑框);
  DigitsOnClipboard(length, !places);
  auto* button = g_window->Control<QPushButton>(control::圆计算);
  Box(control::圆直径编辑框)->ReplaceText(QStringLiteral("10"));
  Box(control::圆周率小数点编辑框)->ReplaceText(QStringLiteral("2"));
  for (auto _ : state) {
    PasteInto(box);
    CheckHolds(state, box, length);
    const PaintCounter painted(box);
    const auto start = std::chrono::steady_clock::now();
    QTest::mouseClick(button, Qt::LeftButton);
    PaintPending();
    state.SetIterationTime(Seconds(start));
    CheckPainted(state, painted);
  }
  state.SetBytesProcessed(state.iterations() * length);
  // Leave the form as the other benchmarks expect it.
  box->ReplaceText(places ? QStringLiteral("2") : QStringLiteral("10"));
}

void Lengths(benchmark::internal::Benchmark* b) {
  b->Arg(1'000'000)->Arg(10'000'000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  velquist::InitGlobalState();
  velquist::testing::SetMessageResponder([](const velquist::testing::ShownMessage&) {
    ++g_messages;
    return velquist::ButtonCode::Ok;
  });
  if (!velquist::OpenWindow(velquist::WindowDefinition::MainWindow, false)) {
    std::fprintf(stderr, "bench_long_input: the main window did not open\n");
    return 1;
  }
  g_window = qobject_cast<velquist::MainWindow*>(
      velquist::testing::OpenedWindow(velquist::WindowDefinition::MainWindow));
  if (g_window == nullptr || !QTest::qWaitForWindowActive(g_window)) {
    std::fprintf(stderr, "bench_long_input: the main window is not active\n");
    return 1;
  }

  Lengths(benchmark::RegisterBenchmark("paste_into_diameter", Paste));
  Lengths(benchmark::RegisterBenchmark("leave_diameter", Leave));
  Lengths(benchmark::RegisterBenchmark("calculate_with_long_diameter", PressCalculate,
                                       control::圆直径编辑框));
  Lengths(benchmark::RegisterBenchmark("calculate_with_long_decimal_places", PressCalculate,
                                       control::圆周率小数点编辑框));
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("%d message boxes answered\n", g_messages);

  velquist::testing::SetMessageResponder(nullptr);
  g_window->close();
  return 0;
}
