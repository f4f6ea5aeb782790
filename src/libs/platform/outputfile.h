#pragma once

#include <QString>

// A file made beside its target under a hidden temporary name and renamed into
// place only when it is complete: a failure, an interrupt or a kill leaves no
// file and no half file at the target, and a file already there untouched.
class OutputFile
{
public:
    explicit OutputFile(QString target);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    // Makes the temporary file; false when it cannot be made (see errorString).
    [[nodiscard]] bool create();
    // Where the content is to be written until commit().
    [[nodiscard]] QString temporaryPath() const { return m_temporary; }
    // Flushes the written file to the disk and renames it over the target.
    [[nodiscard]] bool commit();
    // Removes the temporary file; the destructor does so unless committed.
    void discard();

    [[nodiscard]] QString errorString() const { return m_error; }

private:
    QString m_target;
    QString m_temporary;
    QString m_error;
};
