#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal pair standing in for a serial device: the program opens
// the slave by its path as it would a scanner's port, the test writes what the
// scanner would send on the master. Linux only; elsewhere isOpen() is false.
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

    // Writes all of data to the master side; false if the master is closed or the write fails.
    bool write(const QByteArray& data);

    // Hangs up the line, as unplugging the scanner would.
    void closeMaster();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QString m_error;
};
