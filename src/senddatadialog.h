#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;

// Sends one downlink data packet to one device.
class SendDataDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SendDataDialog(QWidget* parent = nullptr);

public slots:
    void sendData();

private:
    QLineEdit* m_devEuiEdit = nullptr;
    QLineEdit* m_portEdit = nullptr;
    QLineEdit* m_dataEdit = nullptr;
    QCheckBox* m_ackCheck = nullptr;
};
