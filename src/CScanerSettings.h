#pragma once

#include "LoraRecords.h"

#include <QByteArray>
#include <QList>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

// The scanner panel: the operator picks the serial port the barcode scanner
// sits on; the text of each scan becomes one device record. A scan ends when
// the line has been quiet for scanQuietGapMs, however many reads it took.
// The chosen port is not remembered between runs.
class CScanerSettings : public QWidget
{
    Q_OBJECT

public:
    explicit CScanerSettings(QWidget* parent = nullptr);

    // USB-serial bridges pass a code on in packets of at most 64 bytes, and
    // slow ones flush their buffer every 16 ms: one code of 90 to 150 bytes
    // comes in two or three reads up to about 16 ms apart. Twice that, and
    // still far below the second or so between two scans by hand.
    static constexpr int scanQuietGapMs = 30;

    // One scan: key=value lines separated by line feeds.
    static CLoraDeviceInfo parseCode(const QByteArray& data);

    // Opens a port that the port list does not show (a pseudo-terminal, say),
    // exactly as choosing it in the box would.
    void openPortByName(const QString& portName);

    QString statusIconPath() const { return m_iconPath; }
    const QSerialPort* currentPort() const { return port; }

signals:
    void newDeviceInfo(CLoraDeviceInfo);

public slots:
    void refreshPorts();
    void initPort();
    // Parses what was gathered (and what the port still holds) as one scan;
    // runs when the line has been quiet long enough.
    void readCode();

private:
    void closePort();
    void openCurrentPort();
    void gatherBytes();
    void dropGathered();
    void onPortError(QSerialPort::SerialPortError error);
    void setStatusIcon(const QString& path);

    QList<QSerialPortInfo> ports;
    QSerialPort* port = nullptr;
    // The scan read so far, parsed once the line has been quiet.
    QByteArray m_gathered;
    QTimer* m_quietGap = nullptr;
    QComboBox* m_portBox = nullptr;
    QPushButton* m_refreshButton = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_statusIcon = nullptr;
    QString m_iconPath;
};
