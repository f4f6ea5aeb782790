#include "outputfile.h"

#include "userfiles.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The mode a new file of this user's gets, as any program would make it.
mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

OutputFile::OutputFile(QString target)
    : m_target(std::move(target))
{ }

OutputFile::~OutputFile()
{
    discard();
}

bool OutputFile::create()
{
    if (!UserFiles::mayFollowLinks(m_target)) {
        m_error = QStringLiteral("it is another user's link in a folder others can write");
        return false;
    }
    const QFileInfo target(m_target);
    QByteArray name = QFile::encodeName(target.absolutePath() + QStringLiteral("/.")
        + target.fileName() + QStringLiteral(".XXXXXX"));
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        m_error = qt_error_string(errno);
        return false;
    }
    ::fchmod(fd, newFileMode());
    ::close(fd);
    m_temporary = QFile::decodeName(name);
    return true;
}

bool OutputFile::commit()
{
    const QByteArray temporary = QFile::encodeName(m_temporary);
    const int fd = ::open(temporary.constData(), O_RDONLY | O_CLOEXEC);
    const bool flushed = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!flushed || ::rename(temporary.constData(), QFile::encodeName(m_target).constData()) != 0) {
        m_error = qt_error_string(errno);
        discard();
        return false;
    }
    m_temporary.clear();
    return true;
}

void OutputFile::discard()
{
    if (m_temporary.isEmpty())
        return;
    ::unlink(QFile::encodeName(m_temporary).constData());
    m_temporary.clear();
}
