#include "testsupport.h"

#include <QFile>
#include <QProcess>

#include <sys/stat.h>

namespace TestSupport {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QByteArray("") + file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size();
}

int permissionsOf(const QString &path)
{
    struct stat seen = {};
    return ::stat(QFile::encodeName(path).constData(), &seen) == 0 ? int(seen.st_mode & 07777) : 0;
}

QString dataPath(const QString &name)
{
    return qEnvironmentVariable("QUILLMARK_TEST_DATA") + QLatin1Char('/') + name;
}

QRect darkBounds(const QImage &image, int below)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            bounds |= qGray(image.pixel(x, y)) < below ? QRect(x, y, 1, 1) : QRect();
    return bounds;
}

QList<int> darkColumnRuns(const QImage &image)
{
    QList<int> runs;
    for (int x = 0, before = 0; x < image.width(); ++x) {
        int dark = 0;
        for (int y = 0; y < image.height() && !dark; ++y)
            dark = qGray(image.pixel(x, y)) < 128;
        if (dark && before)
            ++runs.last();
        else if (dark)
            runs.append(1);
        before = dark;
    }
    return runs;
}

QByteArray runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    const bool ran = process.waitForFinished(30000) && process.exitCode() == 0;
    return ran ? process.readAllStandardOutput() : QByteArray();
}

} // namespace TestSupport
