#include "line/pppd/PasswordPipe.h"

#include <QProcess>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

PasswordPipe::PasswordPipe(QByteArrayView password)
{
    int fds[2] = {-1, -1};
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return;
    qsizetype written = 0;
    while (written < password.size()) {
        const ssize_t n = ::write(fds[1], password.data() + written, static_cast<size_t>(password.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += n;
    }
    ::close(fds[1]);
    if (written == password.size())
        m_readFd = fds[0];
    else
        ::close(fds[0]);
}

PasswordPipe::~PasswordPipe()
{
    if (m_readFd >= 0)
        ::close(m_readFd);
}

void PasswordPipe::passTo(QProcess &process) const
{
    // Runs in the child between fork and exec: only the child's copy loses close-on-exec.
    process.setChildProcessModifier([fd = m_readFd] { ::fcntl(fd, F_SETFD, 0); });
}
