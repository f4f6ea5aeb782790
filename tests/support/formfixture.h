#pragma once

#include "window/form1.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A settings folder of its own and the real window started on it.
class FormFixture
{
public:
    FormFixture();
    ~FormFixture();

    [[nodiscard]] QString folder() const { return m_dir.path(); }
    [[nodiscard]] QString path(QStringView fileName) const;

    // Prepares a settings file before start().
    void put(QStringView fileName, const QByteArray &bytes) const;
    // A settings file's bytes, or a null array when it does not exist.
    [[nodiscard]] QByteArray bytes(QStringView fileName) const;
    [[nodiscard]] bool exists(QStringView fileName) const;

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
