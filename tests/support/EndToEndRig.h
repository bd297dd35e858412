#pragma once

#include "CMainWindow.h"
#include "CMessageParser.h"
#include "CServerClient.h"
#include "PseudoTerminal.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTranslator>

#include <memory>

// The whole program as its start-up brings it up, with its main window shown
// and a pseudo-terminal as the scanner, driven as an operator would: typing
// into the login fields, scanning, clicking. The single objects belong to the
// rig and die with it, so the next rig starts afresh; one rig at a time.
class EndToEndRig
{
public:
    EndToEndRig();

    // The pseudo-terminal exists and the scanner panel holds its other end open.
    bool isScannerOpen() const;
    PseudoTerminal& scanner() { return m_scanner; }

    CMainWindow* window() const { return m_window.get(); }
    CServerClient* client() const { return CServerClient::instance(); }
    CMessageParser* parser() const { return CMessageParser::instance(); }
    template <typename T>
    T* child(const char* objectName) const { return m_window->findChild<T*>(QLatin1String(objectName)); }

    // Fills the login fields ("127.0.0.1:PORT", user, password) and presses Connect.
    void connectTo(const QString& address, const QString& user, const QString& password);
    bool logIn(const QString& address, const QString& user, const QString& password, int timeoutMs = 5000);
    QString loginError() const;   // the login widget's error line, empty while hidden

    void setAutoMode(bool on) { child<QCheckBox>("autoModeCheck")->setChecked(on); }

    // What a scanner sends for one OTAA device.
    static QByteArray scanCode(const QString& devEui, const QString& appEui, const QString& appKey);
    // Writes one scan to the scanner's line in one write; write the next only
    // once this one has been handled.
    bool scan(const QByteArray& code) { return m_scanner.write(code); }
    // Scans in auto mode and waits for the verdict on it: the status word,
    // empty when none came in time.
    QString scanAndWaitForVerdict(const QByteArray& code, int timeoutMs = 5000);

    QString scannedDevEui() const { return child<QLineEdit>("devEuiEdit")->text(); }
    QString addedCounterText() const { return child<QLabel>("addedValue")->text(); }   // added in this run

private:
    QObject m_owner;   // of the single objects, in the application's place
    QTranslator m_translator;
    PseudoTerminal m_scanner;
    std::unique_ptr<CMainWindow> m_window;
};
