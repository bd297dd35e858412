#pragma once

#include <QJsonObject>
#include <QString>
#include <QWidget>

class CExpertSettingsField;
class COptionalSettingsField;
class QComboBox;
class QLineEdit;
class QPushButton;

// The row of named presets above the settings form. Choosing a stored preset
// fills the form; while the form differs from the chosen preset the list
// shows "custom", and there the form can be saved under a name.
//
// Children by object name: "presetCombo", "presetNameEdit", "savePresetButton".
class CPresetBar : public QWidget
{
    Q_OBJECT

public:
    explicit CPresetBar(QWidget* parent = nullptr);

    // The form the presets fill and follow; the stored presets are listed then.
    void setForm(CExpertSettingsField* expert, COptionalSettingsField* optional);

    // The form as a preset object under the typed name.
    QJsonObject prepareJsonObjPreset() const;

public slots:
    // Lists the stored presets not listed yet, before "custom".
    void iniPresets(const QString& presets);
    // Fills the form from the stored preset of that name.
    void findPreset(const QString& presetName);
    void changePresets();
    // Saves the form under the typed name; asks before a preset is rewritten.
    void createPreset();
    void onPresetTextChanged(const QString& text);
    void onExpertEdited();
    void onOptionalEdited();

private:
    enum ComparisonOrder { ExpertFirst, OptionalFirst };

    bool isFollowing() const;
    void followPreset(ComparisonOrder order);
    void selectCustomEntry();
    static bool askToRewrite(const QString& name);
    static void reportNotStored();

    CExpertSettingsField* m_expert = nullptr;
    COptionalSettingsField* m_optional = nullptr;
    QComboBox* presetCombo = nullptr;
    QLineEdit* presetNameEdit = nullptr;
    QPushButton* savePresetButton = nullptr;
    QString currentPresetName;
    int currentPresetIndex = 0;
    // Applying a preset fills the form field by field; comparing against a
    // half-filled form would wrongly leave the preset, so detection waits.
    bool m_applyingPreset = false;
};
