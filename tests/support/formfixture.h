#pragma once

#include "testsupport.h"
#include "window/form1.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

// A settings folder of its own and the real window started on it.
class FormFixture
{
public:
    [[nodiscard]] QString folder() const { return m_dir.path(); }
    [[nodiscard]] QString path(QStringView fileName) const
    {
        return m_dir.filePath(fileName.toString());
    }

    // Prepares a settings file before start().
    void put(QStringView fileName, const QByteArray &bytes) const
    {
        TestSupport::writeFile(path(fileName), bytes);
    }
    // A settings file's bytes, or a null array when it does not exist.
    [[nodiscard]] QByteArray bytes(QStringView fileName) const
    {
        return TestSupport::readFile(path(fileName));
    }
    [[nodiscard]] bool exists(QStringView fileName) const
    {
        return QFileInfo::exists(path(fileName));
    }

    // Creates the window, runs its start-up, shows it and waits until it is
    // active. Returns false when start-up ended the program.
    bool start(bool anotherCopyRunning = false);
    // Closes the window the way the close box does, and forgets it.
    void close();

    [[nodiscard]] Form1 &form() { return *m_form; }
    [[nodiscard]] const Form1Controls &controls() const { return m_form->controls(); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Form1> m_form;
};
