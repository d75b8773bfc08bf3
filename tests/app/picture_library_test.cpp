// The picture library on pictures that are broken, hostile or huge: each is
// refused with a reason, nothing is allocated beyond the cap, nothing crashes.
#include "app/background/picture_library.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <zlib.h>

using namespace fudeline;

namespace {

void Chunk(QByteArray& png, const char* type, const QByteArray& data) {
    QByteArray body(type, 4);
    body += data;
    const quint32 length = qToBigEndian<quint32>(static_cast<quint32>(data.size()));
    png.append(reinterpret_cast<const char*>(&length), 4);
    png += body;
    const quint32 crc = qToBigEndian<quint32>(static_cast<quint32>(crc32(
        0, reinterpret_cast<const Bytef*>(body.constData()), static_cast<uInt>(body.size()))));
    png.append(reinterpret_cast<const char*>(&crc), 4);
}

// A 1-bit greyscale PNG of the given size whose rows are all zero; `rows`
// limits how many rows the data really holds (a truncated stream when fewer).
QByteArray ZeroPng(quint32 width, quint32 height, quint32 rows) {
    QByteArray png("\x89PNG\r\n\x1A\n", 8);
    QByteArray header(13, '\0');
    const quint32 w = qToBigEndian(width), h = qToBigEndian(height);
    memcpy(header.data(), &w, 4);
    memcpy(header.data() + 4, &h, 4);
    header[8] = 1;  // bit depth
    header[9] = 0;  // greyscale
    Chunk(png, "IHDR", header);
    const QByteArray raw(static_cast<qsizetype>((width + 7) / 8 + 1) * rows, '\0');
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    QByteArray packed(static_cast<qsizetype>(size), '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
              reinterpret_cast<const Bytef*>(raw.constData()), static_cast<uLong>(raw.size()), 9);
    packed.resize(static_cast<qsizetype>(size));
    Chunk(png, "IDAT", packed);
    Chunk(png, "IEND", {});
    return png;
}

}  // namespace

class PictureLibraryTest : public QObject {
    Q_OBJECT

  private slots:
    void refusesWhatCannotBeRead_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QBuffer jpeg;
        jpeg.open(QIODevice::WriteOnly);
        QImage photo(64, 64, QImage::Format_RGB32);
        photo.fill(Qt::darkGreen);
        photo.save(&jpeg, "JPG");
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        photo.save(&png, "PNG");
        QTest::newRow("empty file") << QByteArray() << "empty.png";
        QTest::newRow("text file") << QByteArray("just some words\n") << "words.png";
        QTest::newRow("truncated PNG") << png.data().left(60) << "cut.png";
        QTest::newRow("truncated JPEG") << jpeg.data().left(100) << "cut.jpg";
        QTest::newRow("30000 x 30000") << ZeroPng(30000, 30000, 4) << "huge.png";
        // A decompression bomb: a few hundred kilobytes that would unpack to
        // 20000 x 20000 pixels, far past what the reader may allocate.
        QTest::newRow("bomb") << ZeroPng(20000, 20000, 20000) << "bomb.png";
    }
    void refusesWhatCannotBeRead() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        PictureLibrary library;
        QString why;
        QCOMPARE(library.LoadPicture(path, &why), 0u);
        QVERIFY(!why.isEmpty());
        // The reason is the window's own Japanese, never Qt's English.
        QVERIFY2(!why.contains(QRegularExpression("[A-Za-wyz]")), qPrintable(why));
        QCOMPARE(library.PictureCount(), 0u);
    }

    void refusesFoldersAndMissingFiles() {
        QTemporaryDir dir;
        PictureLibrary library;
        QString why;
        QCOMPARE(library.LoadPicture(dir.path(), &why), 0u);
        QCOMPARE(why, QStringLiteral("画像ではなくフォルダです"));
        QCOMPARE(library.LoadPicture(dir.filePath("none.png"), &why), 0u);
        QCOMPARE(why, QStringLiteral("ファイルがありません"));
    }

    void zeroHandlesAreQuiet() {
        PictureLibrary library;
        QCOMPARE(library.CopyPicture(0), 0u);
        library.FadePicture(0);
        library.FreePicture(0);
        int w = 0, h = 0;
        QVERIFY(!library.GetPictureInfo(0, w, h));
        Image view(800, 522);
        library.DrawPicture(view, 0, 0, 100, 100, 0, 0, 0, 10, 10);
        QCOMPARE(view.Pixel(0, 0), 0xFFFFFFu);
    }

    void copyIsIndependentAndFadeLightens() {
        QTemporaryDir dir;
        const QString path = dir.filePath("p.png");
        QImage picture(10, 10, QImage::Format_RGB32);
        picture.fill(qRgb(0, 40, 200));
        QVERIFY(picture.save(path));
        PictureLibrary library;
        const PictureHandle plain = library.LoadPicture(path);
        const PictureHandle faint = library.CopyPicture(plain);
        QVERIFY(plain != 0 && faint != 0 && plain != faint);
        library.FadePicture(faint);
        Image a(10, 10), b(10, 10);
        library.DrawPicture(a, 0, 0, 10, 10, plain, 0, 0, 10, 10);
        library.DrawPicture(b, 0, 0, 10, 10, faint, 0, 0, 10, 10);
        QCOMPARE(a.Pixel(5, 5), 0x0028C8u);
        QCOMPARE(b.Pixel(5, 5), (191u << 16) | (201u << 8) | 241u);
        library.FreePicture(plain);
        QCOMPARE(library.PictureCount(), 1u);
    }

    void drawsOnlyTheVisiblePartOfAHugeScale() {
        QTemporaryDir dir;
        const QString path = dir.filePath("p.png");
        QImage picture(640, 480, QImage::Format_RGB32);
        picture.fill(qRgb(255, 0, 0));
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                if (x >= 400 || y >= 261) picture.setPixel(x, y, qRgb(0, 0, 255));
            }
        }
        QVERIFY(picture.save(path));
        PictureLibrary library;
        const PictureHandle h = library.LoadPicture(path);
        Image view(800, 522);
        // 200 %: 1280 x 960, of which only the top-left 400 x 261 picture pixels show.
        library.DrawPicture(view, 0, 0, 1280, 960, h, 0, 0, 640, 480);
        QCOMPARE(view.Pixel(0, 0), 0xFF0000u);
        QCOMPARE(view.Pixel(795, 515), 0xFF0000u);
    }
};

QTEST_MAIN(PictureLibraryTest)
#include "picture_library_test.moc"
