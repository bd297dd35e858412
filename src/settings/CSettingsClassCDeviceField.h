#pragma once

#include "CAbstatractSettingsField.h"

class QCheckBox;
class QLineEdit;

struct ClassCSettings
{
    int reactionTime = 0;           // milliseconds
    bool useDownlinkQueue = false;
    bool enabled = false;           // group expanded
};

// Class C options; shown only while the device class is "Class C".
// Controls (by object name): "reactionTimeEdit", "downlinkQueueCheck".
class CSettingsClassCDeviceField : public CAbstatractSettingsField
{
public:
    explicit CSettingsClassCDeviceField(QWidget* parent);

    ClassCSettings getSettings() const;
    void setSettings(int reactionTime, bool useDownlinkQueue);

    void onDeviceClassChanged(const QString& text);

private:
    QLineEdit* reactionTimeEdit = nullptr;
    QCheckBox* downlinkQueueCheck = nullptr;
};
