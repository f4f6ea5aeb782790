#include "settingsstore.h"

#include "linereader.h"
#include "numberforms.h"
#include "safefile.h"
#include "settingslog.h"
#include "textcodec.h"

#include <utility>

namespace {

bool isPlainFileName(const QString &name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/')
        && !name.contains(QChar(0));
}

QString decoded(const SettingsFileState &state)
{
    return state ? TextCodec::decode(*state) : QString();
}

} // namespace

SettingsStore::SettingsStore(QString folder)
    : m_folder(std::move(folder))
{ }

void SettingsStore::setFolder(const QString &folder)
{
    m_folder = folder;
}

QString SettingsStore::filePath(QAnyStringView fileName) const
{
    const QString name = fileName.toString();
    if (m_folder.isEmpty() || !isPlainFileName(name))
        return {};
    return m_folder + u'/' + name;
}

bool SettingsStore::isPresent(QAnyStringView fileName) const
{
    const QString path = filePath(fileName);
    return !path.isEmpty() && SafeFile::isSettingsFile(path);
}

bool SettingsStore::writeText(QAnyStringView fileName, const QString &text) const
{
    const QString path = filePath(fileName);
    if (path.isEmpty()) {
        qCWarning(lcSettings).nospace()
            << "No settings folder or no valid name for " << fileName.toString() << "; not written";
        return false;
    }
    return SafeFile::replace(path, TextCodec::encode(text) + "\r\n");
}

bool SettingsStore::writeInteger(QAnyStringView fileName, qint64 value) const
{
    return writeText(fileName, NumberForms::numberForm(value));
}

SettingsFileState SettingsStore::readState(QAnyStringView fileName) const
{
    const QString path = filePath(fileName);
    if (path.isEmpty())
        return std::nullopt;
    return SafeFile::read(path, MaxFileSize);
}

std::optional<QString> SettingsStore::readFirstLine(QAnyStringView fileName) const
{
    return LineReader::firstLine(decoded(readState(fileName)));
}

QStringList SettingsStore::readLines(QAnyStringView fileName) const
{
    return LineReader::lines(decoded(readState(fileName)));
}

std::optional<QString> SettingsStore::readFirstField(QAnyStringView fileName) const
{
    return LineReader::firstField(decoded(readState(fileName)));
}
