#include "CPresetBar.h"

#include "CExpertSettingsField.h"
#include "COptionalSettingsField.h"
#include "CPresetFormat.h"
#include "Diagnostics.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSet>

namespace {
const QString customEntry = QStringLiteral("custom");
} // namespace

// The row belongs to the workspace and translates in its context.
CPresetBar::CPresetBar(QWidget* parent)
    : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(1, 1, 1, 1);
    row->setSpacing(2);

    presetCombo = new QComboBox(this);
    presetCombo->setObjectName(QStringLiteral("presetCombo"));
    presetCombo->addItem(QCoreApplication::translate("CIAboutDevice", "Список готовых настроек"));
    presetCombo->addItem(customEntry);
    presetNameEdit = new QLineEdit(this);
    presetNameEdit->setObjectName(QStringLiteral("presetNameEdit"));
    presetNameEdit->setPlaceholderText(QCoreApplication::translate("CIAboutDevice", "Имя пресета"));
    presetNameEdit->hide();
    savePresetButton = new QPushButton(QCoreApplication::translate("CIAboutDevice", "Сохранить"), this);
    savePresetButton->setObjectName(QStringLiteral("savePresetButton"));
    savePresetButton->hide();
    row->addWidget(presetCombo);
    row->addWidget(presetNameEdit);
    row->addWidget(savePresetButton);
}

void CPresetBar::setForm(CExpertSettingsField* expert, COptionalSettingsField* optional)
{
    m_expert = expert;
    m_optional = optional;
    // Any choice opens every group, so all the form's values are sent.
    connect(presetCombo, &QComboBox::currentTextChanged, m_expert, &CAbstatractSettingsField::expandAll);
    connect(presetCombo, &QComboBox::currentTextChanged, m_optional, &CAbstatractSettingsField::expandAll);
    connect(presetCombo, &QComboBox::currentTextChanged, this, &CPresetBar::onPresetTextChanged);
    connect(presetCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &CPresetBar::changePresets);
    connect(savePresetButton, &QPushButton::clicked, this, &CPresetBar::createPreset);
    connect(m_expert, &CAbstatractSettingsField::edited, this, &CPresetBar::onExpertEdited);
    connect(m_optional, &CAbstatractSettingsField::edited, this, &CPresetBar::onOptionalEdited);
    iniPresets(CPresetFormat::storedText());
}

void CPresetBar::onPresetTextChanged(const QString& text)
{
    const bool custom = text == customEntry;
    presetNameEdit->setVisible(custom);
    savePresetButton->setVisible(custom);
}

void CPresetBar::selectCustomEntry()
{
    presetCombo->setCurrentIndex(presetCombo->findText(customEntry));
}

void CPresetBar::iniPresets(const QString& presets)
{
    const bool customShown = presetCombo->currentText() == customEntry;
    const QJsonDocument doc = QJsonDocument::fromJson(presets.toUtf8());
    if (doc.isNull())
        return;
    DIAG() << (doc.isArray() ? "jsonDoc.isArray()" : "jsonDoc.isObject()");
    DIAG() << customShown;

    // Rebuilding only adds entries: no selection change may reach
    // changePresets and overwrite the form with some other preset.
    const QSignalBlocker blocker(presetCombo);
    presetCombo->removeItem(presetCombo->findText(customEntry));
    // The box's own search is linear: asked once per stored preset, a large
    // stored list would take minutes to load.
    QSet<QString> listed;
    for (int i = 0; i < presetCombo->count(); ++i)
        listed.insert(presetCombo->itemText(i));
    QStringList names;
    for (const QJsonValue& element : doc.array()) {
        const QString name = CPresetFormat::name(element.toObject());
        if (!name.isEmpty() && name != customEntry && !listed.contains(name)) {
            listed.insert(name);
            names.append(name);
        }
    }
    presetCombo->addItems(names);
    presetCombo->addItem(customEntry);
    if (customShown)
        presetCombo->setCurrentIndex(presetCombo->count() - 1);
}

void CPresetBar::changePresets()
{
    const QString text = presetCombo->currentText();
    DIAG() << text;
    if (presetCombo->currentIndex() <= 0 || text == customEntry
        || text == QLatin1String("Список готовых настроек")
        || text == QLatin1String("List of presets")) {
        savePresetButton->show();
        presetNameEdit->show();
        return;
    }

    currentPresetName = text;
    currentPresetIndex = presetCombo->currentIndex();
    if (!presetNameEdit->isHidden() && !savePresetButton->isHidden()) {
        presetNameEdit->hide();
        savePresetButton->hide();
    }
    findPreset(text);
}

void CPresetBar::findPreset(const QString& presetName)
{
    DIAG() << "IN";
    const QJsonDocument doc = QJsonDocument::fromJson(CPresetFormat::storedText().toUtf8());
    if (!doc.isNull()) {
        DIAG() << (doc.isArray() ? "jsonDoc.isArray()" : "jsonDoc.isObject()");
        // The groups signal edits while being filled; the form only matches
        // the preset once all of it is applied.
        const QScopedValueRollback<bool> applying(m_applyingPreset, true);
        for (const QJsonValue& element : doc.array()) {
            const QJsonObject preset = element.toObject();
            const QString storedName = CPresetFormat::name(preset);
            if (storedName != presetName)
                continue;
            DIAG() << presetName + QStringLiteral(" - ") + storedName;
            m_expert->setSettings(CPresetFormat::expertSettings(preset));
            m_optional->setSettings(CPresetFormat::optionalSettings(preset));
        }
    }
    DIAG() << "OUT";
}

QJsonObject CPresetBar::prepareJsonObjPreset() const
{
    return CPresetFormat::toJson(presetNameEdit->text(), m_expert->getSettings(), m_optional->getSettings());
}

void CPresetBar::createPreset()
{
    const QString name = presetNameEdit->text();
    if (name.isEmpty()) {
        QMessageBox box;
        box.setText(QStringLiteral("Empty preset name"));
        box.exec();
        return;
    }
    // The list's own "custom" entry hides a preset of that name: it could never be chosen.
    if (name == customEntry) {
        QMessageBox box;
        box.setText(QCoreApplication::translate("CIAboutDevice", "Имя \"%1\" занято списком, выберите другое")
                        .arg(customEntry));
        box.exec();
        return;
    }

    const QString stored = CPresetFormat::storedText();
    const bool presetsExisted = !stored.isEmpty();
    DIAG() << (presetsExisted ? "Пресеты есть" : "Пресетов нет");
    const QJsonArray presets = CPresetFormat::parse(stored);
    const bool rewrite = CPresetFormat::lastIndexOf(presets, name) >= 0;
    if (rewrite && !askToRewrite(name)) {
        DIAG() << "false";
        return;
    }
    const QJsonArray saved = CPresetFormat::withSaved(presets, prepareJsonObjPreset());
    if (!CPresetFormat::store(saved)) {
        reportNotStored();
        return;
    }
    iniPresets(CPresetFormat::storedText());
    if (rewrite) {
        DIAG() << QJsonDocument(saved).toJson(QJsonDocument::Compact);
        DIAG() << "false";
        return;
    }

    QMessageBox success(QMessageBox::Information, QCoreApplication::translate("CIAboutDevice", "Success created!"),
                        QStringLiteral("Do you want to change this preset?"), QMessageBox::Yes | QMessageBox::No);
    if (success.exec() == QMessageBox::Yes)
        presetCombo->setCurrentIndex(presetCombo->findText(name));
    if (presetsExisted)
        DIAG() << "true";
}

bool CPresetBar::askToRewrite(const QString& name)
{
    const auto answer = QMessageBox::warning(
        nullptr, QCoreApplication::translate("CIAboutDevice", "Repetition preset name"),
        name + QStringLiteral(" already exist!\nDo you want to rewrite your changes for preset ") + name
            + QStringLiteral(" ?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

void CPresetBar::reportNotStored()
{
    QMessageBox box(QMessageBox::Warning, QCoreApplication::translate("CIAboutDevice", "Предупреждение"),
                    QCoreApplication::translate("CIAboutDevice",
                                                "Пресет не сохранён: файл настроек недоступен для записи"),
                    QMessageBox::Ok);
    box.exec();
}

bool CPresetBar::isFollowing() const
{
    return !m_applyingPreset && !currentPresetName.isEmpty() && presetCombo->currentIndex() != 0;
}

void CPresetBar::onExpertEdited()
{
    if (!isFollowing())
        return;
    DIAG() << "что-то изменилось в экспертных настрйоках";
    DIAG() << currentPresetName;
    followPreset(ExpertFirst);
}

void CPresetBar::onOptionalEdited()
{
    if (!isFollowing())
        return;
    DIAG() << "что-то изменилось в опциональных настройках";
    DIAG() << currentPresetName;
    followPreset(OptionalFirst);
}

void CPresetBar::followPreset(ComparisonOrder order)
{
    const QJsonObject preset =
        CPresetFormat::lastNamed(CPresetFormat::parse(CPresetFormat::storedText()), currentPresetName);
    const ExpertSettings expert = m_expert->getSettings();
    const ExpertSettings savedExpert = CPresetFormat::expertSettings(preset);
    const char* expertLabel = CPresetFormat::expertDifference(expert, savedExpert);
    const char* optionalLabel =
        CPresetFormat::optionalDifference(m_optional->getSettings(), CPresetFormat::optionalSettings(preset));

    // Both containers count: choosing the preset again sets both, and would
    // silently undo an edit of the one that was not touched now.
    const char* difference = order == ExpertFirst ? (expertLabel ? expertLabel : optionalLabel)
                                                  : (optionalLabel ? optionalLabel : expertLabel);
    if (difference) {
        DIAG() << difference;
        if (difference == expertLabel && qstrcmp(difference, "preferPower") == 0) {
            DIAG() << "current:" << expert.adr.preferPower;
            DIAG() << "saved:" << savedExpert.adr.preferPower;
        }
        selectCustomEntry();
        return;
    }
    DIAG() << "все ок, вернул пресет";
    presetCombo->setCurrentIndex(currentPresetIndex);
}
