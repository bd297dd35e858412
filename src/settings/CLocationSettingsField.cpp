#include "CLocationSettingsField.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QRegularExpressionValidator>

CLocationSettingsField::CLocationSettingsField(QWidget* parent)
    : CAbstatractSettingsField(parent)
{
    setGrName(QCoreApplication::translate("CAbstatractSettingsField", "Расположение"));

    // One or two digits, a point, up to two decimals; prefixes such as "55"
    // pass as intermediate input.
    auto* degreesValidator = new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]([0-9]{0,1}[.])[0-9]{0,2}")), this);
    const QString degreesHint = QCoreApplication::translate("CAbstatractSettingsField",
                                                            "Максимум 90.00");

    latitudeEdit = new QLineEdit(this);
    latitudeEdit->setObjectName(QStringLiteral("latitudeEdit"));
    latitudeEdit->setValidator(degreesValidator);
    latitudeEdit->setPlaceholderText(degreesHint);
    appendRow(QCoreApplication::translate("CAbstatractSettingsField", "Широта"), latitudeEdit, 0, 0);

    longitudeEdit = new QLineEdit(this);
    longitudeEdit->setObjectName(QStringLiteral("longitudeEdit"));
    longitudeEdit->setValidator(degreesValidator);
    longitudeEdit->setPlaceholderText(degreesHint);
    appendRow(QCoreApplication::translate("CAbstatractSettingsField", "Долгота"), longitudeEdit, 0, 0);

    altitudeEdit = new QLineEdit(this);
    altitudeEdit->setObjectName(QStringLiteral("altitudeEdit"));
    altitudeEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9\\d]{0,9}")), this));
    appendRow(QCoreApplication::translate("CAbstatractSettingsField", "Высота над уровнем моря"),
              altitudeEdit, 0, 0);

    for (QLineEdit* edit : {latitudeEdit, longitudeEdit, altitudeEdit})
        connect(edit, &QLineEdit::textEdited, this, &CAbstatractSettingsField::edited);
}

LocationSettings CLocationSettingsField::getSettings() const
{
    LocationSettings settings;
    settings.enabled = isExpanded();
    settings.altitude = altitudeEdit->text().toInt(nullptr, 10);
    settings.longitude = double(longitudeEdit->text().toFloat());
    settings.latitude = double(latitudeEdit->text().toFloat());
    return settings;
}

void CLocationSettingsField::setSettings(const LocationSettings& settings)
{
    altitudeEdit->setText(QString::number(settings.altitude));
    longitudeEdit->setText(QString::number(settings.longitude, 'g', 6));
    latitudeEdit->setText(QString::number(settings.latitude, 'g', 6));
}
