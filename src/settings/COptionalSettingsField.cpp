#include "COptionalSettingsField.h"

#include <QCoreApplication>

COptionalSettingsField::COptionalSettingsField(QWidget* parent)
    : CAbstatractSettingsField(parent)
{
    setGrName(QCoreApplication::translate("CAbstatractSettingsField", "Опциональные настройки"));

    device = new CDeviceSettingsField(this);
    classC = new CSettingsClassCDeviceField(this);
    freqPlan = new CFreqPlanSettingsField(this);

    for (CAbstatractSettingsField* group : {static_cast<CAbstatractSettingsField*>(device),
                                            static_cast<CAbstatractSettingsField*>(classC),
                                            static_cast<CAbstatractSettingsField*>(freqPlan)}) {
        appendWidget(group);
        connect(group, &CAbstatractSettingsField::edited, this, &CAbstatractSettingsField::edited);
    }
    connect(device, &CAbstatractSettingsField::showSetDeviceClassC,
            classC, &CSettingsClassCDeviceField::onDeviceClassChanged);
}

OptionalSettings COptionalSettingsField::getSettings() const
{
    OptionalSettings settings;
    settings.device = device->getSettings();
    settings.classC = classC->getSettings();
    settings.freqPlan = freqPlan->getSettings();
    return settings;
}

void COptionalSettingsField::setSettings(const OptionalSettings& settings)
{
    device->setSettings(settings.device);
    freqPlan->setSettings(settings.freqPlan);
}
