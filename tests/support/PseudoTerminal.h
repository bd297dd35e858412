#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal standing in for the scanner's serial port: the program
// opens the slave path, the test writes on the master. Linux only.
class PseudoTerminal
{
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool isOpen() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }
    QString errorString() const { return m_error; }

    bool write(const QByteArray& data);
    void closeMaster();   // hangs up, as unplugging the scanner would

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QString m_error;
};
