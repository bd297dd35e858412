#include "CExpertSettingsField.h"

#include <QCoreApplication>

CExpertSettingsField::CExpertSettingsField(QWidget* parent)
    : CAbstatractSettingsField(parent)
{
    setGrName(QCoreApplication::translate("CAbstatractSettingsField", "Экспертные настройки"));

    adr = new CAdaptiveDrSettingsField(this);
    rx = new CRxSettingsField(this);
    location = new CLocationSettingsField(this);

    for (CAbstatractSettingsField* group : {static_cast<CAbstatractSettingsField*>(adr),
                                            static_cast<CAbstatractSettingsField*>(rx),
                                            static_cast<CAbstatractSettingsField*>(location)}) {
        appendWidget(group);
        connect(group, &CAbstatractSettingsField::edited, this, &CAbstatractSettingsField::edited);
    }
}

ExpertSettings CExpertSettingsField::getSettings() const
{
    ExpertSettings settings;
    settings.adr = adr->getSettings();
    settings.rx = rx->getSettings();
    settings.location = location->getSettings();
    settings.anyEnabled = settings.adr.enabled || settings.rx.enabled || settings.location.enabled;
    return settings;
}

void CExpertSettingsField::setSettings(const ExpertSettings& settings)
{
    adr->setSettings(settings.adr);
    rx->setSettings(settings.rx);
    location->setSettings(settings.location);
}
