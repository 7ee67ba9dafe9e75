// Photos whose Exif orientation says "turn a quarter clockwise" are read
// turned, with the header size to match.
#include "imaging/ImageIO.h"

#include "common/TestUtil.h"

#include <QBuffer>
#include <QPainter>
#include <gtest/gtest.h>

TEST(ImageOrientation, ExifOrientationSixTurnsThePictureAndItsSize)
{
    // 40 x 20: red left half, blue right half, stored as a JPEG with an
    // APP1 Exif segment holding orientation 6 inserted after its start.
    QImage picture = mctest::solidImage(40, 20, Qt::blue);
    QPainter(&picture).fillRect(0, 0, 20, 20, Qt::red);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&buffer, "jpeg", 95));
    const QByteArray tiff = QByteArray::fromHex("49492a0008000000" // little-endian, first IFD at 8
                                                "0100" "12010300" "01000000" "06000000" // orientation = 6
                                                "00000000");
    const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray app1 = QByteArray::fromHex("ffe1");
    app1 += char((exif.size() + 2) >> 8);
    app1 += char((exif.size() + 2) & 0xff);
    jpeg.insert(2, app1 + exif);
    const QString dir = mctest::freshDir();
    const QString path = dir + "/photo.jpg";
    mctest::writeFile(path, jpeg);

    EXPECT_EQ(mc::imaging::imageSize(path), QSize(20, 40));
    const QImage turned = mc::imaging::decodeImage(path);
    ASSERT_EQ(turned.size(), QSize(20, 40));
    // A quarter turn clockwise: the left half is on top.
    EXPECT_GT(qRed(turned.pixel(10, 5)), 200);
    EXPECT_GT(qBlue(turned.pixel(10, 35)), 200);
}
