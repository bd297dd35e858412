#include "CLocationSettingsField.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QRegularExpressionValidator>

CLocationSettingsField::CLocationSettingsField(QWidget* parent)
    : CAbstatractSettingsField(parent)
{
    setGrName(QCoreApplication::translate("CAbstatractSettingsField", "Расположение"));

    // Degrees with an optional minus sign and up to two decimals, within the
    // globe; prefixes such as "-" or "55" pass as intermediate input.
    auto* latitudeValidator = new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("-?(90([.]0{0,2})?|[0-8]?[0-9]([.][0-9]{0,2})?)")), this);
    auto* longitudeValidator = new QRegularExpressionValidator(
        QRegularExpression(
            QStringLiteral("-?(180([.]0{0,2})?|(1[0-7][0-9]|[0-9]?[0-9])([.][0-9]{0,2})?)")),
        this);

    latitudeEdit = new QLineEdit(this);
    latitudeEdit->setObjectName(QStringLiteral("latitudeEdit"));
    latitudeEdit->setValidator(latitudeValidator);
    latitudeEdit->setPlaceholderText(
        QCoreApplication::translate("CAbstatractSettingsField", "От -90.00 до 90.00"));
    appendRow(QCoreApplication::translate("CAbstatractSettingsField", "Широта"), latitudeEdit, 0, 0);

    longitudeEdit = new QLineEdit(this);
    longitudeEdit->setObjectName(QStringLiteral("longitudeEdit"));
    longitudeEdit->setValidator(longitudeValidator);
    longitudeEdit->setPlaceholderText(
        QCoreApplication::translate("CAbstatractSettingsField", "От -180.00 до 180.00"));
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
