#pragma once
#include <QString>
class SettingsFolderLocator { public: SettingsFolderLocator(QString a, QString b) : m_a(a), m_b(b) {} static SettingsFolderLocator forThisMachine(); [[nodiscard]] QString locate() const; private: QString m_a, m_b; };
