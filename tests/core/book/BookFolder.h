#pragma once

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

// A throw-away program folder with a `dibujos` folder to fill with pages.
class BookFolder {
public:
    BookFolder() { QDir(m_dir.path()).mkdir(QStringLiteral("dibujos")); }

    QString path() const { return m_dir.path(); }
    QString drawing(const QString& name) const { return m_dir.path() + "/dibujos/" + name; }

    // A small picture of one colour; Qt writes no GIF, but the loader decides
    // by content, so a BMP under a .gif name stands in for a drawing.
    void addPicture(const QString& name, QRgb colour, QSize size = {8, 6}) const
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        image.save(drawing(name), "BMP");
    }

    void write(const QString& relative, const QByteArray& content) const
    {
        QFile file(m_dir.path() + '/' + relative);
        file.open(QIODevice::WriteOnly);
        file.write(content);
    }

    bool exists(const QString& name) const { return QFile::exists(drawing(name)); }

    // Whether the folder tells 1.bmp from 1.BMP: Windows' file systems do
    // not, and there the two names are one file.
    static bool namesAreCaseSensitive()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("a")));
        return file.open(QIODevice::WriteOnly) && !QFile::exists(dir.filePath(QStringLiteral("A")));
    }

private:
    QTemporaryDir m_dir;
};
