#include "ProgramSettingsWidget.h"

#include "CSettings.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

// These texts stay Russian in both interface languages.
ProgramSettingsWidget::ProgramSettingsWidget(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Настройки программы"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    resize(400, 100);

    auto* layout = new QGridLayout(this);
    const auto addRow = [this, layout](int row, const QString& caption, const QString& value,
                                       const QString& name) {
        layout->addWidget(new QLabel(caption, this), row, 0);
        auto* edit = new QLineEdit(value, this);
        edit->setObjectName(name);
        layout->addWidget(edit, row, 1);
        return edit;
    };
    // The names in use, not the stored ones: the file may have been edited since.
    m_devicesEdit = addRow(0, QStringLiteral("Имя файла с устройствами:"), currentDevicesFileName,
                           QStringLiteral("devicesEdit"));
    m_requestsEdit = addRow(1, QStringLiteral("Имя файла с запросами:"), currentRequestsFileName,
                            QStringLiteral("requestsEdit"));
    m_responsesEdit = addRow(2, QStringLiteral("Имя файла с ответами:"), currentResponsesFileName,
                             QStringLiteral("responsesEdit"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setCenterButtons(true);
    layout->addWidget(buttons, 3, 0, 3, 2);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void ProgramSettingsWidget::writeSettings()
{
    CSettings::writeValue(CSettings::devicesFileName, m_devicesEdit->text());
    CSettings::writeValue(CSettings::requestsFileName, m_requestsEdit->text());
    CSettings::writeValue(CSettings::responsesFileName, m_responsesEdit->text());

    currentDevicesFileName = CSettings::readValue(CSettings::devicesFileName, QVariant()).toString();
    currentRequestsFileName = CSettings::readValue(CSettings::requestsFileName, QVariant()).toString();
    currentResponsesFileName = CSettings::readValue(CSettings::responsesFileName, QVariant()).toString();
}
