#pragma once

#include "CAbstatractSettingsField.h"

class QLineEdit;

struct LocationSettings
{
    bool enabled = false;    // group expanded
    int altitude = 0;
    double longitude = 0.0;  // degrees
    double latitude = 0.0;   // degrees
};

// Where the device is installed. Coordinates are read in single precision
// and widened, so a stored value compares equal to what the field shows.
// Controls (by object name): "latitudeEdit", "longitudeEdit", "altitudeEdit".
class CLocationSettingsField : public CAbstatractSettingsField
{
public:
    explicit CLocationSettingsField(QWidget* parent);

    LocationSettings getSettings() const;
    void setSettings(const LocationSettings& settings);

private:
    QLineEdit* latitudeEdit = nullptr;
    QLineEdit* longitudeEdit = nullptr;
    QLineEdit* altitudeEdit = nullptr;
};
