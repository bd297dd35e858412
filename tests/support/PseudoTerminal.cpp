#include "PseudoTerminal.h"

#ifdef Q_OS_LINUX
#include <cerrno>
#include <cstring>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PseudoTerminal::PseudoTerminal()
{
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        m_master = m_slave = -1;
        return;
    }
    // Raw from the start: nothing echoed or translated before the program sets the line up.
    termios mode {};
    if (::tcgetattr(m_slave, &mode) == 0) {
        ::cfmakeraw(&mode);
        ::tcsetattr(m_slave, TCSANOW, &mode);
    }
    m_slavePath = QString::fromLocal8Bit(name);
}

PseudoTerminal::~PseudoTerminal()
{
    closeMaster();
    if (m_slave >= 0)
        ::close(m_slave);
}

bool PseudoTerminal::write(const QByteArray& data)
{
    qint64 done = 0;
    while (m_master >= 0 && done < data.size()) {
        const ssize_t n = ::write(m_master, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_error = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        done += n;
    }
    return m_master >= 0;
}

void PseudoTerminal::closeMaster()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

#else
PseudoTerminal::PseudoTerminal()
    : m_error(QStringLiteral("pseudo-terminals are only supported on Linux here"))
{
}
PseudoTerminal::~PseudoTerminal() = default;
bool PseudoTerminal::write(const QByteArray&) { return false; }
void PseudoTerminal::closeMaster() {}
#endif
