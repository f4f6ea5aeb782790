#include "addressfiles.h"

#include "controls/addressbox.h"
#include "controls/form1controls.h"
#include "platform/commondialog.h"
#include "settings/linereader.h"
#include "settings/settingsstore.h"
#include "settings/textcodec.h"

#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QSaveFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcAddressFiles, "quillmark.addressfiles")

namespace {

void logFailure(const char *what, const QString &path, const QString &why)
{
    qCWarning(lcAddressFiles).nospace() << what << ' ' << path << ": " << qUtf8Printable(why);
}

// Only an ordinary file is replaced, and only when the user may write it.
bool mayReplace(const QString &path)
{
    struct stat seen = {};
    if (::stat(QFile::encodeName(path).constData(), &seen) != 0) {
        if (errno == ENOENT)
            return true;
        logFailure("Address file not saved", path, qt_error_string(errno));
        return false;
    }
    if (!S_ISREG(seen.st_mode)) {
        logFailure("Address file not saved", path, QStringLiteral("not an ordinary file"));
        return false;
    }
    if (!QFileInfo(path).isWritable()) {
        logFailure("Address file not saved", path, QStringLiteral("the file is read-only"));
        return false;
    }
    return true;
}

bool hasOtherNames(const QString &path)
{
    struct stat seen = {};
    return ::stat(QFile::encodeName(path).constData(), &seen) == 0 && seen.st_nlink > 1;
}

// Replaces the file's content where it stands. A failure part-way leaves a
// cut file, which is logged.
bool writeInPlace(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        logFailure("Cannot open address file for writing", path, file.errorString());
        return false;
    }
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    if (written && file.error() == QFileDevice::NoError)
        return true;
    logFailure("Address file only partly written", path, file.errorString());
    return false;
}

// The new content goes to a temporary file beside the target, which replaces
// the target only once it is complete: a failed write leaves the old file
// whole. Where no file can be made or renamed beside it (a folder of another
// user, a shared folder with the sticky bit) and where the file has other
// names that a rename would part from it, it is written in place instead.
bool writeAddressFile(const QString &path, const QByteArray &bytes)
{
    if (!mayReplace(path))
        return false;
    if (hasOtherNames(path))
        return writeInPlace(path, bytes);
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) {
        logFailure("Cannot create address file", path, file.errorString());
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        logFailure("Cannot write address file", path, file.errorString());
        return false; // a temporary file is discarded; one written in place stays cut
    }
    if (file.commit())
        return true;
    if (file.error() == QFileDevice::RenameError && QFileInfo::exists(path))
        return writeInPlace(path, bytes);
    logFailure("Cannot finish address file", path, file.errorString());
    return false;
}

// The file's text; empty when it cannot be read. Links are read through to
// their file, but nothing that could make the read wait (a FIFO, a device) or
// is no file at all is opened; what was opened is checked again.
QString readAddressFile(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat seen = {};
    if (::stat(native.constData(), &seen) != 0) {
        logFailure("Cannot open address file", path, qt_error_string(errno));
        return {};
    }
    const int fd = S_ISREG(seen.st_mode)
        ? ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)
        : -1;
    QFile file;
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)
        || ::fstat(fd, &seen) != 0 || !S_ISREG(seen.st_mode)) {
        if (fd >= 0 && !file.isOpen())
            ::close(fd);
        logFailure("Cannot open address file", path, QStringLiteral("not an ordinary file"));
        return {};
    }
    QByteArray bytes = file.read(AddressFiles::MaxFileBytes + 1);
    if (bytes.size() > AddressFiles::MaxFileBytes) {
        qCWarning(lcAddressFiles) << "Address file" << path << "read only up to"
                                  << AddressFiles::MaxFileBytes << "bytes";
        bytes.truncate(AddressFiles::MaxFileBytes);
    }
    return TextCodec::decode(bytes);
}

} // namespace

AddressFiles::AddressFiles(
    const Form1Controls &controls, const SettingsStore &store, CommonDialog &dialog)
    : m_controls(controls)
    , m_store(store)
    , m_dialog(dialog)
{ }

void AddressFiles::connectControls()
{
    connect(m_controls.Save, &QPushButton::clicked, this, &AddressFiles::Save_Click);
    connect(m_controls.Open, &QPushButton::clicked, this, &AddressFiles::Open_Click);
}

// The path is used exactly as the dialog returns it: no extension is added.
void AddressFiles::Save_Click()
{
    m_dialog.CancelError = true;
    m_dialog.Filter = Filter.toString();
    if (!m_dialog.ShowSave())
        return;
    writeAddressFile(m_dialog.FileName, TextCodec::encode(m_controls.ToAddr->text()) + "\r\n");
}

// The box takes the file's lines joined by CR LF, in one update, so its change
// handling (the bar-code preview) runs once for the final text. Neither the
// focus nor the recipient settings file is touched.
void AddressFiles::Open_Click()
{
    m_dialog.CancelError = true;
    m_dialog.Filter = Filter.toString();
    m_dialog.InitDir = m_store.folder();
    if (!m_dialog.ShowOpen() || m_dialog.FileName.isEmpty())
        return;
    const QStringList lines = LineReader::lines(readAddressFile(m_dialog.FileName));
    m_controls.ToAddr->setText(lines.join(QLatin1StringView("\r\n")));
}
