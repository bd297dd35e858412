#include "CSettingsClassCDeviceField.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CSettingsClassCDeviceField::CSettingsClassCDeviceField(QWidget* parent)
    : CAbstatractSettingsField(parent)
{
    setGrName(QCoreApplication::translate("CAbstatractSettingsField",
                                          "Настройки устройства класса C"));

    auto* column = new QVBoxLayout;
    column->setContentsMargins(1, 1, 1, 1);
    column->setSpacing(2);
    appendLayout(column);

    column->addWidget(new QLabel(QCoreApplication::translate(
        "CAbstatractSettingsField", "Время реакции устройства класса С, (мс)"), this));

    reactionTimeEdit = new QLineEdit(QStringLiteral("1000"), this);
    reactionTimeEdit->setObjectName(QStringLiteral("reactionTimeEdit"));
    column->addWidget(reactionTimeEdit);

    downlinkQueueCheck = new QCheckBox(QStringLiteral("Use Downlink queue for Class C"), this);
    downlinkQueueCheck->setObjectName(QStringLiteral("downlinkQueueCheck"));
    column->addWidget(downlinkQueueCheck);

    connect(reactionTimeEdit, &QLineEdit::textEdited, this, &CAbstatractSettingsField::edited);
    connect(downlinkQueueCheck, &QCheckBox::toggled, this, &CAbstatractSettingsField::edited);

    hide();  // until the device class is C
}

ClassCSettings CSettingsClassCDeviceField::getSettings() const
{
    ClassCSettings settings;
    settings.reactionTime = reactionTimeEdit->text().toInt(nullptr, 10);
    settings.useDownlinkQueue = downlinkQueueCheck->isChecked();
    settings.enabled = isExpanded();
    return settings;
}

void CSettingsClassCDeviceField::setSettings(int reactionTime, bool useDownlinkQueue)
{
    reactionTimeEdit->setText(QString::number(reactionTime));
    downlinkQueueCheck->setChecked(useDownlinkQueue);
}

void CSettingsClassCDeviceField::onDeviceClassChanged(const QString& text)
{
    // Hiding keeps the values and the expanded state; they simply are not sent.
    setVisible(text == QLatin1String("Class C"));
}
