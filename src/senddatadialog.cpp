#include "senddatadialog.h"

#include "CSettings.h"
#include "DataSender.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

SendDataDialog::SendDataDialog(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Отправка данных на устройство"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    resize(400, 100);

    auto* layout = new QGridLayout(this);
    m_devEuiEdit = new QLineEdit(currentLastSendEui, this);
    m_devEuiEdit->setObjectName(QStringLiteral("devEuiEdit"));
    m_portEdit = new QLineEdit(QStringLiteral("02"), this);
    m_portEdit->setObjectName(QStringLiteral("portEdit"));
    m_dataEdit = new QLineEdit(this);
    m_dataEdit->setObjectName(QStringLiteral("dataEdit"));
    m_ackCheck = new QCheckBox(QStringLiteral("ACK"), this);
    m_ackCheck->setObjectName(QStringLiteral("ackCheck"));

    layout->addWidget(new QLabel(QStringLiteral("DevEui:"), this), 0, 0);
    layout->addWidget(m_devEuiEdit, 0, 1);
    layout->addWidget(new QLabel(tr("Порт:"), this), 1, 0);
    layout->addWidget(m_portEdit, 1, 1);
    layout->addWidget(new QLabel(tr("Данные:"), this), 2, 0);
    layout->addWidget(m_dataEdit, 2, 1);
    layout->addWidget(m_ackCheck, 3, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setCenterButtons(true);
    layout->addWidget(buttons, 4, 0, 1, 2);
    connect(buttons, &QDialogButtonBox::accepted, this, &SendDataDialog::sendData);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void SendDataDialog::sendData()
{
    // Passed as typed: the data sender and the server judge the values.
    DataSender::sendDataRequest(m_devEuiEdit->text(), m_dataEdit->text(), m_portEdit->text(),
                                m_ackCheck->isChecked());
    CSettings::writeValue(CSettings::lastSendEui, m_devEuiEdit->text());
    currentLastSendEui = CSettings::readValue(CSettings::lastSendEui, QVariant()).toString();
    accept();
}
