#include "addressfiles.h"

#include "controls/addressbox.h"
#include "controls/form1controls.h"
#include "platform/commondialog.h"
#include "settings/linereader.h"
#include "settings/safefile.h"
#include "settings/settingsstore.h"
#include "settings/textcodec.h"

#include <QFileInfo>
#include <QPushButton>
#include <QSaveFile>

Q_LOGGING_CATEGORY(lcAddressFiles, "quillmark.addressfiles")

namespace {

void logFailure(const char *what, const QString &path, const QString &why)
{
    qCWarning(lcAddressFiles).nospace() << what << ' ' << path << ": " << qUtf8Printable(why);
}

// Only an ordinary file is replaced, and only when the user may write it.
bool mayReplace(const QString &path)
{
    const QFileInfo target(path);
    if (!target.exists())
        return true;
    if (!target.isFile()) {
        logFailure("Address file not saved", path, QStringLiteral("not an ordinary file"));
        return false;
    }
    if (!target.isWritable()) {
        logFailure("Address file not saved", path, QStringLiteral("the file is read-only"));
        return false;
    }
    return true;
}

// The new content goes to a temporary file beside the target, which replaces
// the target only once it is complete: a failed save leaves the old file whole.
bool writeAddressFile(const QString &path, const QByteArray &bytes)
{
    if (!mayReplace(path))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        logFailure("Cannot create address file", path, file.errorString());
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        logFailure("Cannot write address file", path, file.errorString());
        return false; // the temporary file is discarded
    }
    if (!file.commit()) {
        logFailure("Cannot finish address file", path, file.errorString());
        return false;
    }
    return true;
}

// The file's text; empty when it cannot be read. A link chosen in the dialog
// is read through to its file, but nothing that could make the read wait
// (a FIFO, a device) is opened.
QString readAddressFile(const QString &path)
{
    const QString resolved = QFileInfo(path).canonicalFilePath();
    if (resolved.isEmpty()) {
        logFailure("Cannot open address file", path, QStringLiteral("no such file"));
        return {};
    }
    const std::optional<QByteArray> bytes = SafeFile::read(resolved, AddressFiles::MaxFileBytes);
    if (!bytes) {
        logFailure("Cannot open address file", path, QStringLiteral("not an ordinary file"));
        return {};
    }
    if (bytes->size() == AddressFiles::MaxFileBytes)
        qCWarning(lcAddressFiles) << "Address file" << path << "read only up to"
                                  << AddressFiles::MaxFileBytes << "bytes";
    return TextCodec::decode(*bytes);
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
