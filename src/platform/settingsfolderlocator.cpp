#include "settingsfolderlocator.h"
#include <QDir>
SettingsFolderLocator SettingsFolderLocator::forThisMachine() { return {QDir::homePath() + QStringLiteral("/Documents/Quillmark"), {}}; }
QString SettingsFolderLocator::locate() const { QDir().mkpath(m_a); return m_a; }
