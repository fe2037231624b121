// The crossing between Qt texts and the core's GBK bytes, on the codec that
// this Qt actually provides.
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

#include <bit>
#include <cstdint>
#include <string>

#include "app/gbk_codec.h"
#include "core/numeric_text.h"

using velquist::FromGbk;
using velquist::ToGbk;

namespace {

QByteArray Bytes(const std::string& text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QString LoneHighSurrogateBetween(const char* before, const char* after) {
  return QString::fromLatin1(before) + QChar(0xD83D) + QString::fromLatin1(after);
}

}  // namespace

class GbkCodecTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY2(QStringEncoder("GBK").isValid() && QStringDecoder("GBK").isValid(),
             "this Qt has no GBK codec (it comes from ICU)");
  }

  void encodes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("gbk");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("ascii unchanged") << QStringLiteral(" -1.5e3abc") << QByteArray(" -1.5e3abc");
    QByteArray everyAscii(0x80, '\0');
    for (int code = 0; code < 0x80; ++code) everyAscii[code] = static_cast<char>(code);
    // clang-format off
    QTest::newRow("every ascii code, nul included") << QString::fromLatin1(everyAscii) << everyAscii;
    QTest::newRow("chinese pairs") << QStringLiteral("圆的直径") << QByteArray("\xD4\xB2\xB5\xC4\xD6\xB1\xBE\xB6");
    QTest::newRow("pair with trail byte in ascii range") << QStringLiteral("丂1") << QByteArray("\x81\x40" "1");
    QTest::newRow("full-width digits stay pairs") << QStringLiteral("１２") << QByteArray("\xA3\xB1\xA3\xB2");
    QTest::newRow("euro is one byte") << QStringLiteral("€5") << QByteArray("\x80" "5");
    QTest::newRow("emoji becomes ?") << QStringLiteral("1😀2") << QByteArray("1?2");
    QTest::newRow("superscript is no digit") << QStringLiteral("1²") << QByteArray("1?");
    // The codec itself writes nothing at all for these invisible marks.
    QTest::newRow("soft hyphen leaves ?") << QStringLiteral("1\u00AD2") << QByteArray("1?2");
    QTest::newRow("run of joiners leaves one ?") << QStringLiteral("1\u200B\u200D2") << QByteArray("1?2");
    QTest::newRow("dropped mark inside a run") << QStringLiteral("1中\u00AD2") << QByteArray("1\xD6\xD0" "2");
    QTest::newRow("lone surrogate inside") << LoneHighSurrogateBetween("5", "6") << QByteArray("5?6");
    QTest::newRow("lone surrogate at the end") << LoneHighSurrogateBetween("5", "") << QByteArray("5?");
    QTest::newRow("many short runs") << QStringLiteral("1中2😀3\u00AD4文") << QByteArray("1\xD6\xD0" "2?3?4\xCE\xC4");
    // clang-format on
  }
  void encodes() {
    QFETCH(QString, text);
    QFETCH(QByteArray, gbk);
    QCOMPARE(Bytes(ToGbk(text)), gbk);
  }

  // What the core makes of it: a character GBK cannot hold ends the number.
  void unencodableCharacterEndsTheNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("emoji") << QStringLiteral("1😀2") << 1.0;
    QTest::newRow("soft hyphen") << QStringLiteral("12\u00AD34") << 12.0;
    QTest::newRow("zero width space in fraction") << QStringLiteral("0.5\u200B5") << 0.5;
    QTest::newRow("superscript exponent") << QStringLiteral("3e²") << 3.0;
  }
  void unencodableCharacterEndsTheNumber() {
    QFETCH(QString, text);
    QFETCH(double, value);
    const double parsed = velquist::ParseNumber(ToGbk(text));
    QVERIFY2(std::bit_cast<std::uint64_t>(parsed) == std::bit_cast<std::uint64_t>(value),
             qPrintable(QString::asprintf("read %a, expected %a", parsed, value)));
  }

  void roundTripsWhatGbkHolds() {
    const QString text = QStringLiteral("计 算 结 果 12.5 ｘ＝１ €");
    QCOMPARE(FromGbk(ToGbk(text)), text);
  }

  void decodesInvalidBytesWithoutLosingTheRest_data() {
    QTest::addColumn<QByteArray>("gbk");
    QTest::addColumn<QString>("text");
    // clang-format off
    QTest::newRow("lead before ascii") << QByteArray("1\x81" "2") << QStringLiteral("1\uFFFD2");
    QTest::newRow("lead before space") << QByteArray("\x81 ") << QStringLiteral("\uFFFD ");
    QTest::newRow("lead before DEL") << QByteArray("\x81\x7F" "5") << QStringLiteral("\uFFFD\u007F5");
    QTest::newRow("lone lead at the end") << QByteArray("a\xA1") << QStringLiteral("a\uFFFD");
    QTest::newRow("only a lead") << QByteArray("\x81") << QStringLiteral("\uFFFD");
    // clang-format on
  }
  void decodesInvalidBytesWithoutLosingTheRest() {
    QFETCH(QByteArray, gbk);
    QFETCH(QString, text);
    QCOMPARE(FromGbk(std::string_view(gbk.constData(), static_cast<std::size_t>(gbk.size()))),
             text);
  }
};

QTEST_GUILESS_MAIN(GbkCodecTest)
#include "gbk_codec_test.moc"
