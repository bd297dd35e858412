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

// The scanner panel: the operator picks the serial port the barcode scanner
// sits on; every block of text read from it becomes one device record.
// The chosen port is not remembered between runs.
class CScanerSettings : public QWidget
{
    Q_OBJECT

public:
    explicit CScanerSettings(QWidget* parent = nullptr);

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
    void readCode();

private:
    void closePort();
    void openCurrentPort();
    void onPortError(QSerialPort::SerialPortError error);
    void setStatusIcon(const QString& path);

    QList<QSerialPortInfo> ports;
    QSerialPort* port = nullptr;
    QComboBox* m_portBox = nullptr;
    QPushButton* m_refreshButton = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_statusIcon = nullptr;
    QString m_iconPath;
};
