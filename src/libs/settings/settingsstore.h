#pragma once

#include <QAnyStringView>
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// What a settings file holds at the moment it is read: nothing when the file
// is absent (or is not an ordinary file), else its bytes. A present file that
// cannot be opened reads as empty bytes.
using SettingsFileState = std::optional<QByteArray>;

// The one-value text files of the settings folder. The folder is shared by
// every user of the machine, so nothing found in it is trusted: only ordinary
// files are read or written, links are never followed, reads are bounded.
class SettingsStore
{
public:
    // No settings value is longer than this; a larger file is read up to it.
    static constexpr qint64 MaxFileSize = 1024 * 1024;

    explicit SettingsStore(QString folder = {});

    void setFolder(const QString &folder);
    [[nodiscard]] QString folder() const { return m_folder; }
    // File names are those of SettingsFiles; a name that is not a plain file
    // name, or an empty folder, gives no path and every operation refuses it.
    [[nodiscard]] QString filePath(QAnyStringView fileName) const;

    [[nodiscard]] bool isPresent(QAnyStringView fileName) const;

    // Replaces the whole file with the text and CR LF. Returns false (and logs)
    // when the file cannot be written.
    bool writeText(QAnyStringView fileName, const QString &text) const;
    // The same with the value in number form (" 1 ").
    bool writeInteger(QAnyStringView fileName, qint64 value) const;

    [[nodiscard]] SettingsFileState readState(QAnyStringView fileName) const;
    [[nodiscard]] std::optional<QString> readFirstLine(QAnyStringView fileName) const;
    [[nodiscard]] QStringList readLines(QAnyStringView fileName) const;
    [[nodiscard]] std::optional<QString> readFirstField(QAnyStringView fileName) const;

private:
    QString m_folder;
};
