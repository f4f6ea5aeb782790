// Arbitrary bytes, and arbitrary things, where a settings file is expected.
// An ordinary file reads back exactly (up to the size bound) through the file
// layer and the settings store; a link, a second name of a file, a FIFO or a
// folder is read as missing and never written through, and nothing waits.
#include "fuzzsupport.h"

#include "settings/linereader.h"
#include "settings/safefile.h"
#include "settings/settingsstore.h"
#include "settings/textcodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString FileName = QStringLiteral("from.txt");
const QString Elsewhere = QStringLiteral("elsewhere.txt");

enum class Standing
{
    File,
    SymbolicLink,
    HardLink,
    Fifo,
    Folder,
    Nothing,
    LongerFile,
    Count
};

QTemporaryDir *folder = nullptr;

QString pathOf(const QString &name)
{
    return folder->filePath(name);
}

QByteArray nativeOf(const QString &name)
{
    return QFile::encodeName(pathOf(name));
}

void removeAll()
{
    for (const QString &name : {FileName, Elsewhere}) {
        const QByteArray native = nativeOf(name);
        if (::unlink(native.constData()) != 0)
            ::rmdir(native.constData());
    }
}

void writePlain(const QString &name, const QByteArray &bytes)
{
    QFile file(pathOf(name));
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

QByteArray contentOf(const QString &name)
{
    QFile file(pathOf(name));
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void place(Standing standing, const QByteArray &bytes)
{
    switch (standing) {
    case Standing::File:
        writePlain(FileName, bytes);
        break;
    case Standing::SymbolicLink:
        writePlain(Elsewhere, bytes);
        FUZZ_CHECK(::symlink(nativeOf(Elsewhere).constData(), nativeOf(FileName).constData()) == 0);
        break;
    case Standing::HardLink:
        writePlain(Elsewhere, bytes);
        FUZZ_CHECK(::link(nativeOf(Elsewhere).constData(), nativeOf(FileName).constData()) == 0);
        break;
    case Standing::Fifo:
        FUZZ_CHECK(::mkfifo(nativeOf(FileName).constData(), 0600) == 0);
        break;
    case Standing::Folder:
        FUZZ_CHECK(::mkdir(nativeOf(FileName).constData(), 0700) == 0);
        break;
    case Standing::LongerFile:
        writePlain(FileName, bytes + bytes + QByteArray("longer than what replaces it"));
        break;
    case Standing::Nothing:
    case Standing::Count:
        break;
    }
}

void checkOrdinaryFile(const QByteArray &bytes, qint64 maxSize)
{
    const std::optional<QByteArray> read = SafeFile::read(pathOf(FileName), maxSize);
    FUZZ_CHECK(read && *read == bytes.left(maxSize));

    const SettingsStore store(folder->path());
    FUZZ_CHECK(store.isPresent(FileName));
    const SettingsFileState state = store.readState(FileName);
    FUZZ_CHECK(state && *state == bytes.left(SettingsStore::MaxFileSize));
    const QString text = TextCodec::decode(*state);
    FUZZ_CHECK(store.readFirstLine(FileName) == LineReader::firstLine(text));
    FUZZ_CHECK(store.readFirstField(FileName) == LineReader::firstField(text));
    FUZZ_CHECK(store.readLines(FileName) == LineReader::lines(text));
}

// Whatever stands there is refused, and whatever it leads to stays as it was.
void checkRefused(Standing standing, const QByteArray &bytes, qint64 maxSize)
{
    FUZZ_CHECK(!SafeFile::isSettingsFile(pathOf(FileName)));
    FUZZ_CHECK(!SafeFile::read(pathOf(FileName), maxSize));
    const SettingsStore store(folder->path());
    FUZZ_CHECK(!store.isPresent(FileName));
    FUZZ_CHECK(!store.readState(FileName));
    FUZZ_CHECK(!store.writeText(FileName, QStringLiteral("written")));
    if (standing == Standing::SymbolicLink || standing == Standing::HardLink)
        FUZZ_CHECK(contentOf(Elsewhere) == bytes);
}

void checkReplaced(const QByteArray &bytes, qint64 maxSize)
{
    FUZZ_CHECK(SafeFile::replace(pathOf(FileName), bytes));
    FUZZ_CHECK(contentOf(FileName) == bytes);
    const std::optional<QByteArray> read = SafeFile::read(pathOf(FileName), maxSize);
    FUZZ_CHECK(read && *read == bytes.left(maxSize));
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
    Fuzz::InputReader reader(data, size);
    const auto standing = static_cast<Standing>(reader.take<quint8>() % int(Standing::Count));
    const qint64 maxSize = reader.take<quint16>();
    const QByteArray bytes = reader.rest();

    removeAll();
    place(standing, bytes);
    switch (standing) {
    case Standing::File:
        checkOrdinaryFile(bytes, maxSize);
        break;
    case Standing::Nothing:
    case Standing::LongerFile:
        checkReplaced(bytes, maxSize);
        break;
    default:
        checkRefused(standing, bytes, maxSize);
        break;
    }
    removeAll();
    return 0;
}
