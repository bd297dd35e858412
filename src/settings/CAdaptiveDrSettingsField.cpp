#include "CAdaptiveDrSettingsField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>

CAdaptiveDrSettingsField::CAdaptiveDrSettingsField(QWidget* parent)
    : CAbstatractSettingsField(parent)
{
    setGrName(QCoreApplication::translate("CAbstatractSettingsField",
                                          "Адаптивная скорость передачи данных"));

    serverAdrCheck = new QCheckBox(QStringLiteral("Enable server ADR"), this);
    serverAdrCheck->setObjectName(QStringLiteral("serverAdrCheck"));
    serverAdrCheck->setChecked(true);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(1, 1, 1, 1);
    row->setSpacing(2);
    appendLayout(row);
    row->addWidget(serverAdrCheck);

    preferDrList = new QComboBox(this);
    preferDrList->setObjectName(QStringLiteral("preferDrList"));
    for (int dr = 0; dr <= 5; ++dr)
        preferDrList->addItem(QStringLiteral("DR%1").arg(dr), dr);
    preferDrList->setCurrentIndex(5);  // DR5
    appendRow(QCoreApplication::translate("CAbstatractSettingsField", "Скорость передачи данных"),
              preferDrList, 0, 0);

    // The item data is the power in dBm itself, not a position in the list.
    preferPowerList = new QComboBox(this);
    preferPowerList->setObjectName(QStringLiteral("preferPowerList"));
    for (int dbm : {14, 11, 8, 5, 2})
        preferPowerList->addItem(QStringLiteral("%1 dBm").arg(dbm), dbm);
    appendRow(QCoreApplication::translate("CAbstatractSettingsField", "Мощность передачи данных"),
              preferPowerList, 0, 0);

    connect(serverAdrCheck, &QCheckBox::toggled, this, &CAbstatractSettingsField::edited);
    connect(preferDrList, QOverload<int>::of(&QComboBox::activated),
            this, &CAbstatractSettingsField::edited);
    connect(preferPowerList, QOverload<int>::of(&QComboBox::activated),
            this, &CAbstatractSettingsField::edited);
}

AdrSettings CAdaptiveDrSettingsField::getSettings() const
{
    AdrSettings settings;
    settings.enabled = isExpanded();
    settings.serverAdr = serverAdrCheck->isChecked();
    settings.preferDr = preferDrList->currentData().toInt();
    settings.preferPower = preferPowerList->currentData().toInt();
    return settings;
}

void CAdaptiveDrSettingsField::setSettings(const AdrSettings& settings)
{
    preferDrList->setCurrentIndex(preferDrList->findData(settings.preferDr));
    preferPowerList->setCurrentIndex(preferPowerList->findData(settings.preferPower));
    serverAdrCheck->setChecked(settings.serverAdr);
}
