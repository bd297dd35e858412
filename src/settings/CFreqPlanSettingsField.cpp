#include "CFreqPlanSettingsField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {

const QString planEu868 = QStringLiteral("EU868");
const QString planRu868 = QStringLiteral("RU868");
const QString planCustom = QStringLiteral("custom");

constexpr std::array<int, 5> eu868Channels{867100000, 867300000, 867500000, 867700000, 867900000};
constexpr int eu868Rx2 = 869525000;
constexpr std::array<int, 5> ru868Channels{864100000, 864300000, 864500000, 864700000, 864900000};
constexpr int ru868Rx2 = 869100000;

constexpr int firstEditableChannel = 4;

QHBoxLayout* newRow()
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(1, 1, 1, 1);
    row->setSpacing(2);
    return row;
}

} // namespace

CFreqPlanSettingsField::CFreqPlanSettingsField(QWidget* parent)
    : CAbstatractSettingsField(parent)
{
    setGrName(QCoreApplication::translate("CAbstatractSettingsField", "Частотный план"));

    QHBoxLayout* row = newRow();
    appendLayout(row);
    row->addWidget(new QLabel(QCoreApplication::translate("CAbstatractSettingsField",
                                                          "Частотный план"), this));

    planList = new QComboBox(this);
    planList->setObjectName(QStringLiteral("planList"));
    planList->addItems({planEu868, planRu868, planCustom});
    row = newRow();
    appendLayout(row);
    row->addWidget(planList);

    row = newRow();
    appendLayout(row);
    row->addWidget(new QLabel(QStringLiteral("№"), this));
    row->addWidget(new QLabel(QCoreApplication::translate("CAbstatractSettingsField", "Частота"),
                              this), 0, Qt::AlignCenter);
    row->addWidget(new QLabel(QCoreApplication::translate("CAbstatractSettingsField", "Активно"),
                              this), 0, Qt::AlignRight);

    // One validator for all six fields: up to nine decimal digits, nothing else.
    auto* hzValidator = new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9\\d]{0,9}")), this);

    for (int i = 0; i < channelCount; ++i) {
        const int channel = i + 1;
        row = newRow();
        appendLayout(row);
        row->addWidget(new QLabel(QString::number(channel), this));
        if (channel < firstEditableChannel) {
            row->addWidget(new QLabel(QCoreApplication::translate("CAbstatractSettingsField",
                                                                  "FIXED"), this),
                           0, Qt::AlignCenter);
        } else {
            auto* edit = new QLineEdit(this);
            edit->setObjectName(QStringLiteral("freqEdit%1").arg(channel));
            edit->setValidator(hzValidator);
            edit->setFixedWidth(250);
            freqEdits[channel - firstEditableChannel] = edit;
            row->addWidget(edit, 0, Qt::AlignCenter);
        }
        auto* check = new QCheckBox(this);
        check->setObjectName(QStringLiteral("channelCheck%1").arg(channel));
        channelChecks[i] = check;
        row->addWidget(check, 0, Qt::AlignRight);
    }

    row = newRow();
    appendLayout(row);
    row->addWidget(new QLabel(QCoreApplication::translate("CAbstatractSettingsField",
                                                          "RX2 Частота, Hz"), this));
    freqRx2Edit = new QLineEdit(this);
    freqRx2Edit->setObjectName(QStringLiteral("freqRx2Edit"));
    freqRx2Edit->setValidator(hzValidator);
    row = newRow();
    appendLayout(row);
    row->addWidget(freqRx2Edit);

    setDefaults();
    onPlanChanged();

    for (QCheckBox* check : channelChecks)
        connect(check, &QCheckBox::toggled, this, &CAbstatractSettingsField::edited);
    // The RX2 field is left out on purpose: editing it is not a change of the plan.
    for (QLineEdit* edit : freqEdits)
        connect(edit, &QLineEdit::textEdited, this, &CAbstatractSettingsField::edited);
    connect(planList, &QComboBox::currentTextChanged, this, &CFreqPlanSettingsField::onPlanChanged);
    planList->setCurrentIndex(0);
}

FreqPlanSettings CFreqPlanSettingsField::getSettings() const
{
    FreqPlanSettings settings;
    settings.enabled = isExpanded();
    settings.freq4 = freqEdits[0]->text().toInt(nullptr, 10);
    settings.freq5 = freqEdits[1]->text().toInt(nullptr, 10);
    settings.freq6 = freqEdits[2]->text().toInt(nullptr, 10);
    settings.freq7 = freqEdits[3]->text().toInt(nullptr, 10);
    settings.freq8 = freqEdits[4]->text().toInt(nullptr, 10);
    settings.freqRx2 = freqRx2Edit->text().toInt(nullptr, 10);
    settings.plan = planList->currentText();
    for (int i = 0; i < channelCount; ++i)
        settings.channelEnabled[i] = channelChecks[i]->isChecked();
    return settings;
}

void CFreqPlanSettingsField::setSettings(const FreqPlanSettings& settings)
{
    freqRx2Edit->setText(QString::number(settings.freqRx2));
    freqEdits[0]->setText(QString::number(settings.freq4));
    freqEdits[1]->setText(QString::number(settings.freq5));
    freqEdits[2]->setText(QString::number(settings.freq6));
    freqEdits[3]->setText(QString::number(settings.freq7));
    freqEdits[4]->setText(QString::number(settings.freq8));
    for (int i = 0; i < channelCount; ++i)
        channelChecks[i]->setChecked(settings.channelEnabled[i]);
    // A different fixed plan overwrites the frequencies just set (through onPlanChanged).
    planList->setCurrentIndex(planList->findText(settings.plan));
}

void CFreqPlanSettingsField::onPlanChanged()
{
    for (QLineEdit* edit : freqEdits)
        edit->setEnabled(false);

    const QString plan = planList->currentText();
    if (plan == planEu868) {
        showPlanFrequencies(eu868Channels, eu868Rx2);
        setFrequenciesEnabled(false);
    } else if (plan == planRu868) {
        showPlanFrequencies(ru868Channels, ru868Rx2);
        setFrequenciesEnabled(false);
    } else if (plan == planCustom) {
        setFrequenciesEnabled(true);
    }
    emit edited();
}

void CFreqPlanSettingsField::setDefaults()
{
    for (QCheckBox* check : channelChecks)
        check->setChecked(true);
    showPlanFrequencies(eu868Channels, eu868Rx2);
    setFrequenciesEnabled(false);
}

void CFreqPlanSettingsField::showPlanFrequencies(const std::array<int, editableChannelCount>& channels,
                                                 int rx2)
{
    for (int i = 0; i < editableChannelCount; ++i)
        freqEdits[i]->setText(QString::number(channels[i]));
    freqRx2Edit->setText(QString::number(rx2));
}

void CFreqPlanSettingsField::setFrequenciesEnabled(bool enabled)
{
    for (QLineEdit* edit : freqEdits)
        edit->setEnabled(enabled);
    freqRx2Edit->setEnabled(enabled);
}
