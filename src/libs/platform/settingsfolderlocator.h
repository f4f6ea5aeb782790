#pragma once

#include <QString>

// Finds the settings folder, creating it when missing. The shared folder is
// the one every user of the machine reads and writes; when it can neither be
// found nor made, the user's own fallback folder stands in for it.
class SettingsFolderLocator
{
public:
    explicit SettingsFolderLocator(QString sharedFolder, QString fallbackFolder);

    // "/var/lib/Quillmark", falling back to "Quillmark" in the user's Documents.
    [[nodiscard]] static SettingsFolderLocator forThisMachine();

    // The folder to use, or an empty text when neither folder can be used.
    [[nodiscard]] QString locate() const;
    // The folder locate() would give, where it already exists; nothing is made.
    [[nodiscard]] QString existing() const;

    [[nodiscard]] QString sharedFolder() const { return m_sharedFolder; }
    [[nodiscard]] QString fallbackFolder() const { return m_fallbackFolder; }

private:
    [[nodiscard]] bool prepareShared() const;
    [[nodiscard]] bool createShared() const;
    [[nodiscard]] bool prepareFallback() const;

    QString m_sharedFolder;
    QString m_fallbackFolder;
};
