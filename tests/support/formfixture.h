#pragma once

#include "testsupport.h"
#include "window/form1.h"

#include <QTemporaryDir>

#include <memory>

// A settings folder of its own and the real window started on it.
class FormFixture
{
public:
    [[nodiscard]] QString folder() const { return m_dir.path(); }
    [[nodiscard]] QString path(QStringView name) const { return m_dir.filePath(name.toString()); }
    void put(QStringView fileName, const QByteArray &bytes) const
    {
        TestSupport::writeFile(path(fileName), bytes);
    }
    // A settings file's bytes, or a null array when it does not exist.
    [[nodiscard]] QByteArray bytes(QStringView fileName) const
    {
        return TestSupport::readFile(path(fileName));
    }
    [[nodiscard]] bool exists(QStringView fileName) const { return !bytes(fileName).isNull(); }

    // Runs the window's start-up, shows it and returns whether it became active.
    [[nodiscard]] bool start();

    [[nodiscard]] Form1 &form() { return *m_form; }
    [[nodiscard]] const Form1Controls &controls() const { return m_form->controls(); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Form1> m_form;
};
