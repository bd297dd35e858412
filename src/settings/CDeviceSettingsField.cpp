#include "CDeviceSettingsField.h"

#include "Diagnostics.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>

CDeviceSettingsField::CDeviceSettingsField(QWidget* parent)
    : CAbstatractSettingsField(parent)
{
    setGrName(QCoreApplication::translate("CAbstatractSettingsField", "Устройство"));

    nameEdit = new QLineEdit(QStringLiteral("%deveui"), this);
    nameEdit->setObjectName(QStringLiteral("nameEdit"));
    nameEdit->setPlaceholderText(QStringLiteral("%deveui") + QStringLiteral(" = deveui ,")
                                 + QStringLiteral("%date") + QStringLiteral(" = date"));
    appendRow(QCoreApplication::translate("CAbstatractSettingsField", "Имя устройства"),
              nameEdit, 0, 0);

    classList = new QComboBox(this);
    classList->setObjectName(QStringLiteral("classList"));
    classList->addItem(QStringLiteral("Class A"), QStringLiteral("CLASS_A"));
    classList->addItem(QStringLiteral("Class C"), QStringLiteral("CLASS_C"));
    classList->setCurrentIndex(0);
    appendRow(QCoreApplication::translate("CAbstatractSettingsField", "Класс устройства"),
              classList, 0, 1);

    connect(nameEdit, &QLineEdit::textEdited, this, &CAbstatractSettingsField::edited);
    connect(classList, QOverload<int>::of(&QComboBox::activated),
            this, &CAbstatractSettingsField::edited);
    // The class C group follows every change of the class, whoever makes it.
    connect(classList, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        DIAG() << "1";
        emit showSetDeviceClassC(text);
    });
}

DeviceSettings CDeviceSettingsField::getSettings() const
{
    DeviceSettings settings;
    settings.name = nameEdit->text();
    settings.deviceClass = classList->currentData().toString();
    settings.enabled = isExpanded();
    return settings;
}

void CDeviceSettingsField::setSettings(const DeviceSettings& settings)
{
    nameEdit->setText(settings.name);
    classList->setCurrentIndex(classList->findData(settings.deviceClass));
}
