// Arbitrary bytes, and arbitrary things, where a settings file is expected.
// An ordinary file reads back exactly (up to the size bound) through the file
// layer and the settings store, and a write replaces whatever file was there;
// a link, a second name of a file, a FIFO or a folder is read as missing and
// never written through, and nothing waits.
#include "fuzzsupport.h"

#include "settings/linereader.h"
#include "settings/safefile.h"
#include "settings/settingsstore.h"
#include "settings/textcodec.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QTemporaryDir *folder = nullptr;

QString pathOf(const char *name)
{
    return folder->filePath(QString::fromLatin1(name));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzz::silenceLogs();
    folder = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/quillmark-fuzz-XXXXXX"));
    FUZZ_CHECK(folder->isValid());
    std::atexit([] { delete folder; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray input = Fuzz::bytesOf(data, size);
    // 0 file, 1 symbolic link, 2 hard link, 3 FIFO, 4 folder, 5 nothing, 6 longer file.
    const int standing = Fuzz::take<quint8>(input) % 7;
    const qint64 maxSize = Fuzz::take<quint16>(input);
    const QByteArray bytes = input;
    const QString file = pathOf("from.txt");
    const QByteArray native = QFile::encodeName(file);
    const QByteArray elsewhere = QFile::encodeName(pathOf("elsewhere.txt"));

    FUZZ_CHECK(TestSupport::writeFile(pathOf("elsewhere.txt"), bytes));
    const char *const from = native.constData();
    const bool placed = standing == 0 || standing == 6
        ? TestSupport::writeFile(file, standing == 0 ? bytes : bytes + bytes + "longer")
        : standing == 1 ? ::symlink(elsewhere.constData(), from) == 0
        : standing == 2 ? ::link(elsewhere.constData(), from) == 0
        : standing == 3 ? ::mkfifo(from, 0600) == 0
        : standing == 4 ? ::mkdir(from, 0700) == 0
                        : true;
    FUZZ_CHECK(placed);

    const SettingsStore store(folder->path());
    if (standing == 0) {
        FUZZ_CHECK(SafeFile::read(file, maxSize) == bytes.left(maxSize));
        FUZZ_CHECK(store.isPresent(u"from.txt")
            && store.readState(u"from.txt") == bytes.left(SettingsStore::MaxFileSize));
        const QString text = TextCodec::decode(bytes.left(SettingsStore::MaxFileSize));
        FUZZ_CHECK(store.readFirstLine(u"from.txt") == LineReader::firstLine(text));
        FUZZ_CHECK(store.readFirstField(u"from.txt") == LineReader::firstField(text));
        FUZZ_CHECK(store.readLines(u"from.txt") == LineReader::lines(text));
    } else if (standing >= 5) {
        FUZZ_CHECK(SafeFile::replace(file, bytes) && TestSupport::readFile(file) == bytes);
        FUZZ_CHECK(SafeFile::read(file, maxSize) == bytes.left(maxSize));
    } else {
        // Whatever stands there is refused, and whatever it leads to stays as it was.
        FUZZ_CHECK(!SafeFile::isSettingsFile(file) && !SafeFile::read(file, maxSize));
        FUZZ_CHECK(!store.isPresent(u"from.txt") && !store.readState(u"from.txt"));
        FUZZ_CHECK(!store.writeText(u"from.txt", QStringLiteral("written")));
        FUZZ_CHECK(TestSupport::readFile(pathOf("elsewhere.txt")) == bytes);
    }
    for (const QByteArray &name : {native, elsewhere}) {
        if (::unlink(name.constData()) != 0)
            ::rmdir(name.constData());
    }
    return 0;
}
