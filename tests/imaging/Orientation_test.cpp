// Photos whose Exif orientation says "turn a quarter clockwise" are read
// turned, with the header size to match.
#include "imaging/ImageIO.h"

#include "common/TestUtil.h"

#include <QPainter>
#include <gtest/gtest.h>

TEST(ImageOrientation, ExifOrientationSixTurnsThePictureAndItsSize)
{
    // 40 x 20, red left half, as a JPEG with an APP1 Exif segment (a
    // little-endian TIFF block whose one entry is orientation 6) first.
    QImage picture = mctest::solidImage(40, 20, Qt::blue);
    QPainter(&picture).fillRect(0, 0, 20, 20, Qt::red);
    const QString path = mctest::writeImage(mctest::freshDir(), "photo.jpg", picture);
    QByteArray jpeg = mctest::readFile(path);
    jpeg.insert(2, QByteArray::fromHex("ffe10022" "457869660000" "49492a0008000000" "0100" "120103000100000006000000" "00000000"));
    mctest::writeFile(path, jpeg);
    const QImage turned = mc::imaging::decodeImage(path);
    EXPECT_TRUE(turned.size() == QSize(20, 40) && mc::imaging::imageSize(path) == QSize(20, 40));
    EXPECT_TRUE(qRed(turned.pixel(10, 5)) > 200 && qBlue(turned.pixel(10, 35)) > 200); // the left half on top
}
