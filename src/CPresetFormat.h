#pragma once

#include "CExpertSettingsField.h"
#include "COptionalSettingsField.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

// The stored form of a preset (one element of the "loraPresets" array) and
// its conversion to and from the settings records. Missing or mistyped
// members read as 0, 0.0, false or empty text.
class CPresetFormat
{
public:
    static QJsonObject toJson(const QString& presetName, const ExpertSettings& expert,
                              const OptionalSettings& optional);

    static QString name(const QJsonObject& preset);
    // Everything else zero or false; the groups' `enabled` stays false.
    static ExpertSettings expertSettings(const QJsonObject& preset);
    // The class C part is left empty: presets do not carry it.
    static OptionalSettings optionalSettings(const QJsonObject& preset);

    // The last element named exactly so, or an empty object.
    static QJsonObject lastNamed(const QJsonArray& presets, const QString& presetName);
    // The position of that element, or -1.
    static int lastIndexOf(const QJsonArray& presets, const QString& presetName);
    // The presets with this one saved last, in place of the last of its name.
    static QJsonArray withSaved(QJsonArray presets, const QJsonObject& preset);

    // The stored text as an array; an object or text that is not JSON holds no presets.
    static QJsonArray parse(const QString& stored);
    // The "loraPresets" text of the settings file; empty when there is none.
    static QString storedText();
    static bool store(const QJsonArray& presets);

    // The diagnostic label of the first form value that differs from the
    // preset's, in a fixed order, or null when none does.
    static const char* expertDifference(const ExpertSettings& form, const ExpertSettings& saved);
    static const char* optionalDifference(const OptionalSettings& form, const OptionalSettings& saved);
};
