#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTest>

#include "app/app_icon.h"

// The icon reaches the program only through the embedded renderings: a
// rendering or baking step that went wrong gives an icon that is null or blank
// without any error, so these tests look at the pixels.
class TestAppIcon : public QObject {
  Q_OBJECT

 private slots:
  void offersEveryRenderedSize() {
    const QList<QSize> sizes = velquist::VelquistIcon().availableSizes();
    for (int side : {16, 32, 48, 64, 128, 256})
      QVERIFY2(sizes.contains(QSize(side, side)),
               qPrintable(QStringLiteral("no %1 px rendering").arg(side)));
  }

  void eachSizeShowsTheBlueTileAndTheLightDisc_data() {
    QTest::addColumn<int>("side");
    for (int side : {16, 32, 64, 256})
      QTest::newRow(qPrintable(QStringLiteral("%1 px").arg(side))) << side;
  }

  void eachSizeShowsTheBlueTileAndTheLightDisc() {
    QFETCH(int, side);
    const QImage image = velquist::VelquistIcon().pixmap(side, side).toImage();
    QCOMPARE(image.size(), QSize(side, side));
    // Points in units of a 64 px drawing: the tile's lower left inside the
    // rounded corner, the middle of the disc, and the transparent margin.
    const auto at = [&](int x, int y) { return image.pixelColor(x * side / 64, y * side / 64); };
    const QColor tile = at(8, 50);
    QVERIFY2(tile.alpha() == 255 && tile.blue() > 100 && tile.red() < 40,
             qPrintable(QStringLiteral("tile pixel %1").arg(tile.name(QColor::HexArgb))));
    const QColor disc = at(25, 25);
    QVERIFY2(disc.alpha() == 255 && disc.red() > 190 && disc.blue() > 240,
             qPrintable(QStringLiteral("disc pixel %1").arg(disc.name(QColor::HexArgb))));
    QCOMPARE(at(0, 0).alpha(), 0);
  }
};

QTEST_MAIN(TestAppIcon)
#include "tst_app_icon.moc"
