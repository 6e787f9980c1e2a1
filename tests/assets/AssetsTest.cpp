#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sndfile.h>
#include <sys/stat.h>

#include <vector>

namespace {

const QString programDir = QStringLiteral(TINTARO_PROGRAM_DIR);
const QString generatedDir = QStringLiteral(TINTARO_GENERATED_DIR);

const QStringList programFiles = {"dibujos/1.gif", "dibujos/2.gif", "dibujos/3.gif",
                                  "dibujos/4.gif", "dibujos/5.gif", "dibujos/6.gif",
                                  "fondo.gif",     "ani.gif",       "monstruito.gif",
                                  "sonido1.wav",   "sonido2.wav"};
const QStringList generatedFiles = {"forward.gif",   "backward.gif", "eraser.bmp", "door.bmp",
                                    "colourbar.bmp", "monster.png",  "duck.png",   "raygun.png"};

const QRgb black = qRgb(0, 0, 0);
const QRgb white = qRgb(255, 255, 255);

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 le(const QByteArray& bytes, int at, int size)
{
    quint32 v = 0;
    for (int i = size - 1; i >= 0; --i) {
        v = (v << 8) | quint8(bytes.at(at + i));
    }
    return v;
}

} // namespace

class AssetsTest : public QObject {
    Q_OBJECT

private slots:
    void bmpHeader_data();
    void bmpHeader();
    void animation_data();
    void animation();
    void icon_data();
    void icon();
    void drawing_data();
    void drawing();
    void sound_data();
    void sound();
    void windowsIcon();
    void permissions();
    void generatorIsDeterministic();
};

void AssetsTest::bmpHeader_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("tableEntries");
    QTest::newRow("colour bar") << "colourbar.bmp" << 360 << 33 << 8 << 256;
    QTest::newRow("eraser") << "eraser.bmp" << 59 << 80 << 8 << 256;
    QTest::newRow("door") << "door.bmp" << 55 << 66 << 24 << 0;
}

void AssetsTest::bmpHeader()
{
    QFETCH(QString, name);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, bits);
    QFETCH(int, tableEntries);
    const QByteArray bmp = readAll(generatedDir + "/" + name);
    QVERIFY(bmp.startsWith("BM"));
    const quint32 stride = ((quint32(width * bits) + 31) / 32) * 4;
    const quint32 offset = 54 + 4 * quint32(tableEntries);
    QCOMPARE(le(bmp, 10, 4), offset);
    QCOMPARE(le(bmp, 18, 4), quint32(width));
    QCOMPARE(le(bmp, 22, 4), quint32(height));
    QCOMPARE(le(bmp, 28, 2), quint32(bits));
    QCOMPARE(le(bmp, 30, 4), 0u); // uncompressed
    QCOMPARE(le(bmp, 46, 4), quint32(tableEntries));
    QCOMPARE(quint32(bmp.size()), offset + stride * quint32(height));
    QCOMPARE(QImage(generatedDir + "/" + name).size(), QSize(width, height));
}

void AssetsTest::animation_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("firstDelay");
    QTest::addColumn<int>("tableSize");
    QTest::newRow("forward") << generatedDir + "/forward.gif" << QSize(74, 67) << 9 << 3000 << 64;
    QTest::newRow("backward") << generatedDir + "/backward.gif" << QSize(74, 67) << 9 << 3000 << 64;
    QTest::newRow("intro") << programDir + "/ani.gif" << QSize(185, 135) << 10 << 100 << 0;
    QTest::newRow("monster") << programDir + "/monstruito.gif" << QSize(90, 91) << 10 << 100 << 0;
}

void AssetsTest::animation()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QFETCH(int, frames);
    QFETCH(int, firstDelay);
    QFETCH(int, tableSize);
    const QByteArray gif = readAll(path);
    QVERIFY(gif.startsWith("GIF89a"));
    QVERIFY(gif.contains(QByteArray("NETSCAPE2.0\x03\x01\x00\x00", 16)));
    if (tableSize > 0) {
        QVERIFY(quint8(gif.at(10)) & 0x80);
        QCOMPARE(2 << (quint8(gif.at(10)) & 7), tableSize);
    }
    QImageReader reader(path);
    QCOMPARE(reader.size(), size);
    QCOMPARE(reader.imageCount(), frames);
    QCOMPARE(reader.loopCount(), -1); // endless
    for (int i = 0; i < frames; ++i) {
        const QImage frame = reader.read();
        QVERIFY2(!frame.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(frame.size(), size);
        QCOMPARE(frame.hasAlphaChannel(), false);
        QCOMPARE(reader.nextImageDelay(), i == 0 ? firstDelay : 100);
    }
}

void AssetsTest::icon_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : {"monster", "duck", "raygun"}) {
        QTest::newRow(name) << QString::fromLatin1(name);
    }
}

void AssetsTest::icon()
{
    QFETCH(QString, name);
    // See-through corners, a solid middle.
    const QImage png(generatedDir + "/" + name + ".png");
    QCOMPARE(png.size(), QSize(32, 32));
    QCOMPARE(qAlpha(png.pixel(0, 31)), 0);
    QCOMPARE(qAlpha(png.pixel(16, 16)), 255);
}

// The Windows program's icon holds the sizes Windows shows, each the
// desktop icon of that size.
void AssetsTest::windowsIcon()
{
    QImageReader reader(generatedDir + "/icon.ico", "ico");
    QList<int> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage picture = reader.read();
        sizes << picture.width();
        const QImage png(generatedDir + QStringLiteral("/icon-%1.png").arg(picture.width()));
        QCOMPARE(picture.convertToFormat(QImage::Format_ARGB32),
                 png.convertToFormat(QImage::Format_ARGB32));
    }
    QCOMPARE(sizes, (QList<int>{16, 24, 32, 48, 256}));
}

void AssetsTest::drawing_data()
{
    QTest::addColumn<QString>("path");
    for (int page = 1; page <= 6; ++page) {
        QTest::addRow("page %d", page) << programDir + "/dibujos/" + QString::number(page) + ".gif";
    }
}

void AssetsTest::drawing()
{
    QFETCH(QString, path);
    const QImage image = QImage(path).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(image.size(), QSize(640, 480));
    const int w = image.width();
    const int h = image.height();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb c = image.pixel(x, y) | 0xff000000u;
            QVERIFY2(c == black || c == white, qPrintable(QString("%1,%2").arg(x).arg(y)));
        }
    }
    // A 4-connected fill must see the same areas as the eye: no white pixels that meet
    // only at a corner.
    for (int y = 0; y + 1 < h; ++y) {
        for (int x = 0; x + 1 < w; ++x) {
            const bool a = image.pixel(x, y) == white, b = image.pixel(x + 1, y) == white;
            const bool c = image.pixel(x, y + 1) == white, d = image.pixel(x + 1, y + 1) == white;
            QVERIFY2(!(a && d && !b && !c) && !(b && c && !a && !d),
                     qPrintable(QString("diagonal at %1,%2").arg(x).arg(y)));
        }
    }
    std::vector<int> label(size_t(w * h), 0);
    int closedAreas = 0;
    int next = 0;
    for (int start = 0; start < w * h; ++start) {
        if (label[size_t(start)] || image.pixel(start % w, start / w) != white) {
            continue;
        }
        ++next;
        bool touchesBorder = false;
        std::vector<int> stack{start};
        label[size_t(start)] = next;
        while (!stack.empty()) {
            const int i = stack.back();
            stack.pop_back();
            const int x = i % w, y = i / w;
            touchesBorder = touchesBorder || x == 0 || y == 0 || x == w - 1 || y == h - 1;
            for (const QPoint& n :
                 {QPoint(x + 1, y), QPoint(x - 1, y), QPoint(x, y + 1), QPoint(x, y - 1)}) {
                const int j = n.y() * w + n.x();
                if (n.x() >= 0 && n.y() >= 0 && n.x() < w && n.y() < h && !label[size_t(j)] &&
                    image.pixel(n) == white) {
                    label[size_t(j)] = next;
                    stack.push_back(j);
                }
            }
        }
        closedAreas += touchesBorder ? 0 : 1;
    }
    QVERIFY2(closedAreas >= 8, qPrintable(QString::number(closedAreas)));
}

void AssetsTest::sound_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("forward") << "sonido1.wav";
    QTest::newRow("backward") << "sonido2.wav";
}

void AssetsTest::sound()
{
    QFETCH(QString, name);
    SF_INFO info{};
    SNDFILE* file =
        sf_open(QFile::encodeName(programDir + "/" + name).constData(), SFM_READ, &info);
    QVERIFY2(file, sf_strerror(nullptr));
    std::vector<short> samples(size_t(info.frames));
    const sf_count_t read = sf_read_short(file, samples.data(), info.frames);
    sf_close(file);
    QCOMPARE(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    QCOMPARE(info.channels, 1);
    QCOMPARE(info.samplerate, 22050);
    QCOMPARE(read, info.frames);
    const double seconds = double(info.frames) / info.samplerate;
    QVERIFY(seconds >= 0.2 && seconds <= 0.4);
    short peak = 0;
    for (short s : samples) {
        peak = std::max<short>(peak, short(std::abs(s)));
    }
    QVERIFY(peak > 8000);
    QVERIFY(std::abs(samples.back()) < 200); // fades out, no click
}

void AssetsTest::permissions()
{
    QStringList paths;
    for (const QString& f : programFiles) {
        paths << programDir + "/" + f;
    }
    for (const QString& f : generatedFiles) {
        paths << generatedDir + "/" + f;
    }
    for (const QString& path : paths) {
        struct stat st {};
        QVERIFY2(::stat(QFile::encodeName(path).constData(), &st) == 0, qPrintable(path));
        QCOMPARE(st.st_mode & 0777, mode_t(0644));
    }
}

void AssetsTest::generatorIsDeterministic()
{
    QTemporaryDir first;
    QTemporaryDir second;
    for (QTemporaryDir* dir : {&first, &second}) {
        QCOMPARE(QProcess::execute(QStringLiteral(TINTARO_ASSETGEN),
                                   {dir->filePath("bin"), dir->filePath("generated")}),
                 0);
    }
    const auto compare = [&](const QStringList& files, const QString& sub, const QString& built) {
        for (const QString& f : files) {
            const QByteArray a = readAll(first.filePath(sub + "/" + f));
            QVERIFY2(!a.isEmpty(), qPrintable(f));
            QVERIFY2(a == readAll(second.filePath(sub + "/" + f)), qPrintable(f));
            QVERIFY2(a == readAll(built + "/" + f), qPrintable(f));
        }
    };
    compare(programFiles, "bin", programDir);
    compare(generatedFiles, "generated", generatedDir);
}

QTEST_GUILESS_MAIN(AssetsTest)
#include "AssetsTest.moc"
