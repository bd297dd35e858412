#pragma once

#include "CAbstatractSettingsField.h"
#include "CAdaptiveDrSettingsField.h"
#include "CLocationSettingsField.h"
#include "CRxSettingsField.h"

struct ExpertSettings
{
    bool anyEnabled = false;  // at least one nested group expanded
    AdrSettings adr;
    RxSettings rx;
    LocationSettings location;
};

// Container of the ADR, RX and location groups, in this order.
class CExpertSettingsField : public CAbstatractSettingsField
{
public:
    explicit CExpertSettingsField(QWidget* parent);

    ExpertSettings getSettings() const;
    void setSettings(const ExpertSettings& settings);

    CAdaptiveDrSettingsField* adrGroup() const { return adr; }
    CRxSettingsField* rxGroup() const { return rx; }
    CLocationSettingsField* locationGroup() const { return location; }

private:
    CAdaptiveDrSettingsField* adr = nullptr;
    CRxSettingsField* rx = nullptr;
    CLocationSettingsField* location = nullptr;
};
