// Qt's own words, the message box's button and the edit boxes' context menu,
// read in Simplified Chinese from Qt's catalogue, as the program starts.
#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>

#include <memory>

#include "app/application.h"
#include "app/edit_box.h"
#include "app/messages.h"
#include "tests/app/ui_test_support.h"

namespace {

// "撤消(&U)\tCtrl+Z" -> "撤消": the words alone, without mnemonic and shortcut.
QString Words(QString text) {
  text = text.section(QLatin1Char('\t'), 0, 0);
  text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
  text.remove(QLatin1Char('&'));
  return text;
}

}  // namespace

class QtWordsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    const QString catalogue =
        QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_zh_CN.qm");
    if (!QFileInfo::exists(catalogue)) {
      QSKIP(qPrintable(QStringLiteral("Qt's Chinese catalogue is not installed (%1; Debian: "
                                      "qt6-translations-l10n)")
                           .arg(catalogue)));
    }
    velquist::InstallQtChineseTranslation();
    velquist::InstallQtChineseTranslation();  // a second call changes nothing
  }

  void messageBoxButtonReadsQueDing() {
    QString seen;
    velquist::testing::WhenModalShown([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      QVERIFY(box != nullptr && box->button(QMessageBox::Ok) != nullptr);
      seen = box->button(QMessageBox::Ok)->text();
      QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    velquist::ShowMessage(QStringLiteral("请输入圆的直径"), velquist::kStyleOk, std::nullopt);
    QCOMPARE(Words(seen), QStringLiteral("确定"));
  }

  void editBoxContextMenuInChinese() {
    velquist::EditBox box(velquist::EditInputMode::DoubleNumber);
    std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    QStringList words;
    for (const QAction* action : menu->actions()) {
      if (!action->isSeparator()) words << Words(action->text());
    }
    QCOMPARE(words,
             QStringList({QStringLiteral("撤消"), QStringLiteral("重做"), QStringLiteral("剪切"),
                          QStringLiteral("复制"), QStringLiteral("粘贴"), QStringLiteral("删除"),
                          QStringLiteral("全选")}));
  }

  void cleanup() { QVERIFY(QApplication::activeModalWidget() == nullptr); }
};

QTEST_MAIN(QtWordsTest)
#include "qt_words_test.moc"
