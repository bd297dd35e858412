#pragma once

#include "CAbstatractSettingsField.h"

#include <QString>

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;

struct FreqPlanSettings
{
    bool enabled = false;  // group expanded
    int freq4 = 0;         // Hz, channels 4 to 8
    int freq5 = 0;
    int freq6 = 0;
    int freq7 = 0;
    int freq8 = 0;
    int freqRx2 = 0;       // Hz
    QString plan;          // "EU868", "RU868", "custom", or empty when none is selected
    std::array<bool, 8> channelEnabled{};  // channels 1 to 8
};

// Frequency plan: the plan name, the frequencies of channels 4 to 8 and RX2
// (editable only under "custom") and the enable flags of channels 1 to 8.
// Controls (by object name): "planList", "freqEdit4" ... "freqEdit8",
// "freqRx2Edit", "channelCheck1" ... "channelCheck8".
class CFreqPlanSettingsField : public CAbstatractSettingsField
{
public:
    explicit CFreqPlanSettingsField(QWidget* parent);

    FreqPlanSettings getSettings() const;
    void setSettings(const FreqPlanSettings& settings);

    void onPlanChanged();
    void setDefaults();

private:
    static constexpr int channelCount = 8;
    static constexpr int editableChannelCount = 5;  // channels 4 to 8

    void showPlanFrequencies(const std::array<int, editableChannelCount>& channels, int rx2);
    void setFrequenciesEnabled(bool enabled);

    QComboBox* planList = nullptr;
    std::array<QLineEdit*, editableChannelCount> freqEdits{};
    QLineEdit* freqRx2Edit = nullptr;
    std::array<QCheckBox*, channelCount> channelChecks{};
};
