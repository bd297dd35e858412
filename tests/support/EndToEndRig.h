#pragma once

#include "PseudoTerminal.h"

#include <QByteArray>
#include <QString>

#include <memory>

class CMainWindow;
class CMessageParser;
class CServerClient;

// The whole program as its start-up wires it: settings store, added-devices
// record, server client, message parser fed through the queued connection,
// default file names, and the main window, shown. The scanner is a
// pseudo-terminal opened through the left panel's scanner panel. Tests and
// benchmarks drive it as an operator would: typing into the login fields,
// scanning, clicking.
//
// One rig per process, created after the QApplication: the single objects
// belong to the application object, as in the program.
class EndToEndRig
{
public:
    EndToEndRig();
    ~EndToEndRig();
    EndToEndRig(const EndToEndRig&) = delete;
    EndToEndRig& operator=(const EndToEndRig&) = delete;

    // The pseudo-terminal exists and the scanner panel holds its other end open.
    bool isScannerOpen() const;
    QString errorText() const { return m_scanner.errorString(); }

    CMainWindow* window() const { return m_window.get(); }
    CServerClient* client() const;
    CMessageParser* parser() const;

    // Types the address ("127.0.0.1:PORT"), user and password into the login
    // fields, presses Connect and waits until the client is ready.
    bool logIn(const QString& address, const QString& user, const QString& password,
               int timeoutMs = 5000);

    void setAutoMode(bool on);
    void clickAdd();
    void clickDeleteAddedDevices();

    // What a scanner sends for one OTAA device.
    static QByteArray scanCode(const QString& devEui, const QString& appEui, const QString& appKey);
    // Writes one scan to the scanner's line in one write. Write the next one
    // only once this one has been handled (its verdict arrived): the scanner
    // panel takes each read as one whole code.
    bool scan(const QByteArray& code);
    // Scans in auto mode and waits for the verdict on it: the status word,
    // empty when none came in time.
    QString scanAndWaitForVerdict(const QByteArray& code, int timeoutMs = 5000);

    QString verdictText() const;         // the workspace's message line
    QString addedCounterText() const;    // top panel: added in this run
    QString totalCounterText() const;    // top panel: devices on the server

private:
    template<typename T>
    T* widget(const char* objectName) const;

    PseudoTerminal m_scanner;
    std::unique_ptr<CMainWindow> m_window;
};
