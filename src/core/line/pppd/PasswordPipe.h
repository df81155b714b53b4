#pragma once

#include <QByteArrayView>

class QProcess;

// Hands a password to a child process through a pipe it inherits (pppd's passwordfd): never
// on a command line, in the environment or in a file. The password fits the pipe's buffer, so
// it is written whole and the write end closed at once; the child reads to the end. The read
// end stays open until the pipe is destroyed, which must not happen before the child started.
class PasswordPipe
{
public:
    explicit PasswordPipe(QByteArrayView password);
    ~PasswordPipe();
    PasswordPipe(const PasswordPipe &) = delete;
    PasswordPipe &operator=(const PasswordPipe &) = delete;

    // The whole password is in the pipe: a cut one would only look like a wrong one.
    bool isValid() const { return m_readFd >= 0; }
    // The descriptor number the child reads from.
    int readFd() const { return m_readFd; }
    // The child of process inherits the read end; in this process it stays close-on-exec,
    // so no other child gets it.
    void passTo(QProcess &process) const;

private:
    int m_readFd = -1;
};
