#pragma once

#include "CMainWindow.h"
#include "PseudoTerminal.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTranslator>

#include <memory>

class CMessageParser;
class CServerClient;

// The whole program as its start-up brings it up, with its main window shown
// and a pseudo-terminal as the scanner, driven as an operator would: typing
// into the login fields, scanning, clicking. The single objects belong to the
// rig and die with it, so the next rig starts afresh; one rig at a time.
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
    PseudoTerminal& scanner() { return m_scanner; }

    CMainWindow* window() const { return m_window.get(); }
    CServerClient* client() const;
    CMessageParser* parser() const;
    // A widget of the window by its object name.
    template <typename T>
    T* child(const char* objectName) const { return m_window->findChild<T*>(QLatin1String(objectName)); }

    // Fills the login fields ("127.0.0.1:PORT", user, password) and presses Connect.
    void connectTo(const QString& address, const QString& user, const QString& password);
    // The same, then waits until the client is ready.
    bool logIn(const QString& address, const QString& user, const QString& password, int timeoutMs = 5000);
    bool isOnline() const;          // the login widget says so
    QString loginError() const;     // the login widget's error line, empty while hidden

    void setAutoMode(bool on);
    void clickAdd();
    void clickDeleteAddedDevices();

    // What a scanner sends for one OTAA device.
    static QByteArray scanCode(const QString& devEui, const QString& appEui, const QString& appKey);
    // Writes one scan to the scanner's line in one write; write the next only
    // once this one has been handled.
    bool scan(const QByteArray& code);
    // Scans in auto mode and waits for the verdict on it: the status word,
    // empty when none came in time.
    QString scanAndWaitForVerdict(const QByteArray& code, int timeoutMs = 5000);

    QString scannedDevEui() const;       // the workspace's DevEUI field
    QString verdictText() const;         // the workspace's message line
    QString addedCounterText() const;    // top panel: added in this run
    QString totalCounterText() const;    // top panel: devices on the server

private:
    QObject m_owner;   // of the single objects, in the application's place
    QTranslator m_translator;
    PseudoTerminal m_scanner;
    std::unique_ptr<CMainWindow> m_window;
};
